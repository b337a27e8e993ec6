#include "orvane/httpserver/QuoteService.h"

#include "orvane/core/Clock.h"
#include "orvane/core/NumberText.h"
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

std::optional<std::string> QuoteService::storedLine(std::string_view code) const {
    const std::optional<std::string> stored = tree_.read(serverpath::quoteCopyPath(code)).bytes;
    if (!stored) return std::nullopt;
    // The stored copy is one line; whatever follows its first line is not
    // part of the quote.
    std::string line = stored->substr(0, stored->find('\n'));
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) return std::nullopt;
    return line;
}

std::string QuoteService::lineFor(std::string_view symbol,
                                  const std::optional<LiveMoment>& moment) const {
    // The code is checked before it becomes part of a path.
    std::optional<std::string> code = codeOfQuoteSymbol(symbol);
    if (!code) return emptyQuoteLine(symbol);
    std::optional<std::string> line = storedLine(*code);
    if (!line) return emptyQuoteLine(symbol);
    if (moment) *line = movedQuoteLine(*line, *code, *moment);
    line->push_back('\n');
    return *line;
}

namespace {

/// Calls `each` with every non-empty symbol of the list, up to the limit.
template <typename Each>
void forEachSymbol(std::string_view symbolList, Each&& each) {
    std::size_t answered = 0;
    std::size_t pos = 0;
    while (pos <= symbolList.size() && answered < QuoteService::kMaxSymbols) {
        std::size_t end = symbolList.find(',', pos);
        if (end == std::string_view::npos) end = symbolList.size();
        std::string_view symbol = symbolList.substr(pos, end - pos);
        if (!symbol.empty()) {
            each(symbol);
            ++answered;
        }
        pos = end + 1;
    }
}

}  // namespace

std::string QuoteService::answer(std::string_view symbolList) const {
    // One clock reading a request: all its quotes are of the same step.
    const std::optional<LiveMoment> moment = liveMomentAt(live_, toLocal(now()), liveSeed_);
    std::string out;
    forEachSymbol(symbolList, [&](std::string_view symbol) { out += lineFor(symbol, moment); });
    return out;
}

std::string QuoteService::minutesAnswer(std::string_view symbolList) const {
    const std::optional<LiveMoment> moment = liveMomentAt(live_, toLocal(now()), liveSeed_);
    std::string out;
    if (!moment) return out;
    forEachSymbol(symbolList, [&](std::string_view symbol) {
        const std::optional<std::string> code = codeOfQuoteSymbol(symbol);
        if (!code) return;
        const std::optional<std::string> line = storedLine(*code);
        if (!line) return;
        for (const LiveMinute& m : liveMinutes(*line, *code, *moment))
            out += format("%.*s,%s,%.2f,%.3f,%.0f\n", int(symbol.size()), symbol.data(),
                          m.time.c_str(), m.price, m.averagePrice, m.volume);
    });
    return out;
}

}  // namespace orvane::server
