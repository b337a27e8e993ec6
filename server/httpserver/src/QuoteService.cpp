#include "orvane/httpserver/QuoteService.h"

#include "orvane/core/Clock.h"
#include "orvane/httpserver/QuoteSymbol.h"
#include "orvane/market/ServerPaths.h"

namespace orvane::server {

namespace {

constexpr std::size_t kMaxEchoedSymbol = 32;

bool isAsciiAlnum(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

}  // namespace

QuoteService::QuoteService(TreeFiles tree, LiveMarket live, std::uint64_t liveSeed)
    : tree_(std::move(tree)), live_(live), liveSeed_(liveSeed) {}

std::string QuoteService::emptyQuoteLine(std::string_view symbol) {
    std::string line = "var hq_str_";
    for (char c : symbol.substr(0, kMaxEchoedSymbol)) line.push_back(isAsciiAlnum(c) ? c : '_');
    line.append("=\"\";\n");
    return line;
}

std::string QuoteService::lineFor(std::string_view symbol,
                                  const std::optional<LiveMoment>& moment) const {
    // The code is checked before it becomes part of a path.
    std::optional<std::string> code = codeOfQuoteSymbol(symbol);
    if (!code) return emptyQuoteLine(symbol);
    const std::optional<std::string> stored = tree_.read(serverpath::quoteCopyPath(*code)).bytes;
    if (!stored) return emptyQuoteLine(symbol);

    // The stored copy is one line; whatever follows its first line is not
    // part of the quote.
    std::string line = stored->substr(0, stored->find('\n'));
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) return emptyQuoteLine(symbol);
    if (moment) line = movedQuoteLine(line, *code, *moment);
    line.push_back('\n');
    return line;
}

std::string QuoteService::answer(std::string_view symbolList) const {
    // One clock reading a request: all its quotes are of the same step.
    const std::optional<LiveMoment> moment = liveMomentAt(live_, toLocal(now()), liveSeed_);
    std::string out;
    std::size_t answered = 0;
    std::size_t pos = 0;
    while (pos <= symbolList.size() && answered < kMaxSymbols) {
        std::size_t end = symbolList.find(',', pos);
        if (end == std::string_view::npos) end = symbolList.size();
        std::string_view symbol = symbolList.substr(pos, end - pos);
        if (!symbol.empty()) {
            out += lineFor(symbol, moment);
            ++answered;
        }
        pos = end + 1;
    }
    return out;
}

}  // namespace orvane::server
