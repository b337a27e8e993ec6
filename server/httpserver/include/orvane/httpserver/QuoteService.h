#pragma once
// The quote service over a published tree: answers "list=sh600000,sz000001"
// with one quote line a symbol, the stored copy at
// const/hisdata/sinadata/CODE.txt as its bytes are (GB 18030), or the empty
// quote `var hq_str_SYMBOL="";` for an unknown or malformed symbol. When
// the market is live (LiveQuotes.h) the stored copies are moved to the
// present step of the process clock, and the day's minutes so far are told
// for "min=sh600000,sz000001".

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "orvane/httpserver/LiveQuotes.h"
#include "orvane/httpserver/TreeFiles.h"

namespace orvane::server {

class QuoteService {
  public:
    /// Symbols after this many in one request are not answered.
    static constexpr std::size_t kMaxSymbols = 1000;

    explicit QuoteService(TreeFiles tree, LiveMarket live = LiveMarket::Off,
                          std::uint64_t liveSeed = 1);

    /// The answer to the comma-separated symbol list (the value after
    /// "list="): one line a non-empty symbol, each ending in "\n".
    std::string answer(std::string_view symbolList) const;

    /// Does the service move its quotes, and so have minutes to tell?
    bool isLive() const { return live_ != LiveMarket::Off; }

    /// The day's minutes so far of each listed symbol (the value after
    /// "min="), one line a minute: "SYMBOL,HH:mm,price,average price,volume"
    /// (volume in shares). A symbol without a moving quote has no lines.
    std::string minutesAnswer(std::string_view symbolList) const;

    /// `var hq_str_SYMBOL="";` plus newline; characters other than ASCII
    /// letters and digits in the echoed symbol become '_'.
    static std::string emptyQuoteLine(std::string_view symbol);

  private:
    std::optional<std::string> storedLine(std::string_view code) const;
    std::string lineFor(std::string_view symbol, const std::optional<LiveMoment>& moment) const;
    TreeFiles tree_;
    LiveMarket live_;
    std::uint64_t liveSeed_;
};

}  // namespace orvane::server
