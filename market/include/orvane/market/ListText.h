#pragma once
// The server's comma-separated lists (gain lists, score lists): a header
// line, then one line a stock. Whether an answer is such a list at all, so
// an error page or garbage never stands in for one.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace orvane {

/// True when the header has exactly `fields` comma-separated fields, or
/// a later line has and its field `codeField` is a stock code. A list
/// without stocks (its header alone) is a list; an HTML page is not.
bool isServerListText(std::string_view text, std::size_t fields, std::size_t codeField);

/// Why an answer is no usable list: the server's status when it is not
/// 200 ("the data server answered HTTP 404"), else that the text is no
/// `what` ("the answer is not a score list").
std::string unusableListAnswer(long status, std::string_view what);

/// How a server list was taken in: whether the text was such a list, and
/// the file that could not be written with why, when one could not.
struct ListIntake {
    bool isList = false;
    std::optional<std::string> writeFailure;
    /// Taken in whole: a list, and every file of it written.
    explicit operator bool() const { return isList && !writeFailure; }
};

}  // namespace orvane
