// The verdict store's bytes: a header, what the market's reading skipped,
// the stocks, one array a field of their price days and of their verdicts,
// and a checksum of everything before it. Numbers are kept in the machine's
// own byte order; the header's magic tells another order apart.

#include <cstring>
#include <functional>

#include "ContentHash.h"
#include "orvane/backtest/MarketVerdicts.h"

namespace orvane::backtest {

namespace {

constexpr char kMagic[8] = {'O', 'R', 'V', 'V', 'E', 'R', 'D', 'S'};
/// 2: the market kept beside the verdicts (names, prices, what was skipped).
constexpr std::uint32_t kFormat = 2;
/// Raised whenever the engine's verdicts change, so that stores of the old
/// engine are worked out again.
constexpr std::uint32_t kEngineRevision = 1;
constexpr std::uint32_t kByteOrderMark = 0x01020304;

struct Header {
    char magic[8];
    std::uint32_t byteOrder, format, engine;
    std::int32_t minHistory;
    std::uint64_t key;
    std::uint64_t stocks, priceRows, verdictRows, problems;
    std::uint64_t refusedLines, stocksAdjusted, exRightsDays, stocksWithoutSource;
};

// The least bytes a stock takes (its four lengths and two counts), a price
// day and a verdict: what the counts of a damaged header are checked against.
constexpr std::size_t kStockBytes = 3 * 4 + 2 * 4;
constexpr std::size_t kPriceRowBytes = 4 + 1 + 3 * 8;
constexpr std::size_t kVerdictRowBytes = 3 * 4 + 3 + 4 * 4;

template <class T>
void put(std::string& out, const T& value) {
    out.append(reinterpret_cast<const char*>(&value), sizeof value);
}

void putText(std::string& out, std::string_view text) {
    put(out, static_cast<std::uint32_t>(text.size()));
    out.append(text);
}

// One field of every row of every list, as one array.
template <class T, class Lists, class Rows, class Get>
void putColumn(std::string& out, const Lists& lists, Rows rows, Get get) {
    for (const auto& list : lists)
        for (const auto& row : std::invoke(rows, list)) put<T>(out, get(row));
}

// Reads forward through the bytes; any read past the end fails them all.
class Reader {
  public:
    explicit Reader(std::string_view bytes) : bytes_(bytes) {}
    bool ok() const { return ok_; }
    std::size_t left() const { return bytes_.size() - at_; }

    template <class T>
    T get() {
        T value{};
        if (!ok_ || left() < sizeof value) {
            ok_ = false;
            return value;
        }
        std::memcpy(&value, bytes_.data() + at_, sizeof value);
        at_ += sizeof value;
        return value;
    }
    std::string_view take(std::size_t n) {
        if (!ok_ || left() < n) {
            ok_ = false;
            return {};
        }
        at_ += n;
        return bytes_.substr(at_ - n, n);
    }
    std::string text() { return std::string(take(get<std::uint32_t>())); }
    // One field of every row of every list (`rows` rows in all), in order.
    template <class T, class Lists, class Rows, class Set>
    void column(std::size_t rows, Lists& lists, Rows rowsOf, Set set) {
        const std::string_view raw = take(rows * sizeof(T));
        if (!ok_) return;
        const char* p = raw.data();
        for (auto& list : lists)
            for (auto& row : std::invoke(rowsOf, list)) {
                T value;
                std::memcpy(&value, p, sizeof value);
                p += sizeof value;
                set(row, value);
            }
    }

  private:
    std::string_view bytes_;
    std::size_t at_ = 0;
    bool ok_ = true;
};

std::size_t priceRows(const KeptMarket& kept) {
    std::size_t n = 0;
    for (const PriceRead& p : kept.prices) n += p.days.size();
    return n;
}

}  // namespace

std::size_t MarketVerdicts::count() const {
    std::size_t n = 0;
    for (const StockVerdicts& s : stocks) n += s.days.size();
    return n;
}

std::string verdictStoreBytes(const KeptMarket& kept) {
    const Market& m = kept.market;
    const MarketVerdicts& v = kept.verdicts;
    Header h{};
    std::memcpy(h.magic, kMagic, sizeof kMagic);
    h.byteOrder = kByteOrderMark;
    h.format = kFormat;
    h.engine = kEngineRevision;
    h.minHistory = v.minHistory;
    h.key = v.key;
    h.stocks = m.stocks.size();
    h.priceRows = priceRows(kept);
    h.verdictRows = v.count();
    h.problems = m.problems.size();
    h.refusedLines = m.refusedLines;
    h.stocksAdjusted = m.adjustment.stocksAdjusted;
    h.exRightsDays = m.adjustment.exRightsDays;
    h.stocksWithoutSource = m.adjustment.stocksWithoutSource;
    std::string out;
    out.reserve(sizeof h + h.stocks * 40 + h.priceRows * kPriceRowBytes +
                h.verdictRows * kVerdictRowBytes + 8);
    put(out, h);
    for (const std::string& p : m.problems) putText(out, p);
    // Every stock has its prices and verdicts, empty when unread.
    for (std::size_t i = 0; i < m.stocks.size(); ++i) {
        putText(out, m.stocks[i].code);
        putText(out, m.stocks[i].name);
        putText(out, kept.prices[i].error);
        put(out, static_cast<std::uint32_t>(kept.prices[i].days.size()));
        put(out, static_cast<std::uint32_t>(v.stocks[i].days.size()));
    }
    const auto& p = kept.prices;
    constexpr auto priceDays = &PriceRead::days;
    putColumn<std::int32_t>(out, p, priceDays, [](const PriceDay& d) { return d.date; });
    putColumn<std::uint8_t>(out, p, priceDays, [](const PriceDay& d) { return d.traded; });
    putColumn<double>(out, p, priceDays, [](const PriceDay& d) { return d.open; });
    putColumn<double>(out, p, priceDays, [](const PriceDay& d) { return d.low; });
    putColumn<double>(out, p, priceDays, [](const PriceDay& d) { return d.close; });
    const auto& s = v.stocks;
    constexpr auto verdicts = &StockVerdicts::days;
    putColumn<std::int32_t>(out, s, verdicts, [](const DayVerdict& d) { return d.date; });
    putColumn<std::int32_t>(out, s, verdicts, [](const DayVerdict& d) { return d.trend; });
    putColumn<std::int32_t>(out, s, verdicts, [](const DayVerdict& d) { return d.score; });
    putColumn<std::uint8_t>(out, s, verdicts, [](const DayVerdict& d) { return d.modelB; });
    putColumn<std::int8_t>(out, s, verdicts, [](const DayVerdict& d) { return d.buyA; });
    putColumn<std::int8_t>(out, s, verdicts, [](const DayVerdict& d) { return d.buyB; });
    putColumn<float>(out, s, verdicts, [](const DayVerdict& d) { return d.gain5; });
    putColumn<float>(out, s, verdicts, [](const DayVerdict& d) { return d.gain10; });
    putColumn<float>(out, s, verdicts, [](const DayVerdict& d) { return d.change; });
    putColumn<float>(out, s, verdicts, [](const DayVerdict& d) { return d.close; });
    put(out, hashBytes(out));
    return out;
}

std::optional<KeptMarket> keptMarketFromStore(std::string_view bytes, std::uint64_t key,
                                              int minHistory) {
    if (bytes.size() < sizeof(Header) + sizeof(std::uint64_t)) return std::nullopt;
    const std::string_view body = bytes.substr(0, bytes.size() - sizeof(std::uint64_t));
    std::uint64_t checksum;
    std::memcpy(&checksum, bytes.data() + body.size(), sizeof checksum);
    Reader in(body);
    const auto h = in.get<Header>();
    if (std::memcmp(h.magic, kMagic, sizeof kMagic) != 0 || h.byteOrder != kByteOrderMark ||
        h.format != kFormat || h.engine != kEngineRevision || h.key != key ||
        h.minHistory != minHistory || hashBytes(body) != checksum)
        return std::nullopt;
    // Counts a damaged file could not hold stop here, before anything is reserved.
    if (h.problems > in.left() / 4 || h.stocks > in.left() / kStockBytes ||
        h.priceRows > in.left() / kPriceRowBytes || h.verdictRows > in.left() / kVerdictRowBytes)
        return std::nullopt;
    KeptMarket kept;
    Market& m = kept.market;
    MarketVerdicts& v = kept.verdicts;
    v.key = key;
    v.minHistory = minHistory;
    m.problems.resize(h.problems);
    for (std::string& p : m.problems) p = in.text();
    m.refusedLines = h.refusedLines;
    m.adjustment = {h.stocksAdjusted, h.exRightsDays, h.stocksWithoutSource};
    m.sourceKey = key;
    m.stocks.resize(h.stocks);
    kept.prices.resize(h.stocks);
    v.stocks.resize(h.stocks);
    std::uint64_t prices = 0, verdicts = 0;
    for (std::size_t i = 0; i < h.stocks; ++i) {
        m.stocks[i].code = in.text();
        m.stocks[i].name = in.text();
        kept.prices[i].error = in.text();
        const auto days = in.get<std::uint32_t>();
        const auto verdictDays = in.get<std::uint32_t>();
        if (!in.ok() || days > h.priceRows - prices || verdictDays > h.verdictRows - verdicts)
            return std::nullopt;
        kept.prices[i].days.resize(days);
        v.stocks[i].code = m.stocks[i].code;
        v.stocks[i].days.resize(verdictDays);
        prices += days;
        verdicts += verdictDays;
    }
    if (prices != h.priceRows || verdicts != h.verdictRows) return std::nullopt;
    auto& p = kept.prices;
    constexpr auto priceDays = &PriceRead::days;
    in.column<std::int32_t>(prices, p, priceDays, [](PriceDay& d, std::int32_t x) { d.date = x; });
    in.column<std::uint8_t>(prices, p, priceDays,
                            [](PriceDay& d, std::uint8_t x) { d.traded = x != 0; });
    in.column<double>(prices, p, priceDays, [](PriceDay& d, double x) { d.open = x; });
    in.column<double>(prices, p, priceDays, [](PriceDay& d, double x) { d.low = x; });
    in.column<double>(prices, p, priceDays, [](PriceDay& d, double x) { d.close = x; });
    auto& s = v.stocks;
    constexpr auto rows = &StockVerdicts::days;
    in.column<std::int32_t>(verdicts, s, rows, [](DayVerdict& d, std::int32_t x) { d.date = x; });
    in.column<std::int32_t>(verdicts, s, rows, [](DayVerdict& d, std::int32_t x) { d.trend = x; });
    in.column<std::int32_t>(verdicts, s, rows, [](DayVerdict& d, std::int32_t x) { d.score = x; });
    in.column<std::uint8_t>(verdicts, s, rows,
                            [](DayVerdict& d, std::uint8_t x) { d.modelB = x != 0; });
    in.column<std::int8_t>(verdicts, s, rows, [](DayVerdict& d, std::int8_t x) { d.buyA = x; });
    in.column<std::int8_t>(verdicts, s, rows, [](DayVerdict& d, std::int8_t x) { d.buyB = x; });
    in.column<float>(verdicts, s, rows, [](DayVerdict& d, float x) { d.gain5 = x; });
    in.column<float>(verdicts, s, rows, [](DayVerdict& d, float x) { d.gain10 = x; });
    in.column<float>(verdicts, s, rows, [](DayVerdict& d, float x) { d.change = x; });
    in.column<float>(verdicts, s, rows, [](DayVerdict& d, float x) { d.close = x; });
    if (!in.ok() || in.left() != 0) return std::nullopt;
    return kept;
}

}  // namespace orvane::backtest
