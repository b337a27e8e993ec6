// The verdict store's bytes: a header, what the market's reading skipped,
// the stocks, one array a field of their price days and of their verdicts,
// and a checksum of everything before it. Numbers are kept in the machine's
// own byte order; the header's magic tells another order apart.

#include <cstring>

#include "ContentHash.h"
#include "orvane/backtest/MarketVerdicts.h"
#include "orvane/core/LocalTime.h"
#include "orvane/core/ParallelFor.h"

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
    /// The day the store was written, yyyymmdd: a reading that refused
    /// lines may have refused days after that day, so it stands for that
    /// day alone.
    std::int32_t writtenOn;
};

std::int32_t today() {
    const LocalDateTime t = toLocal(now());
    return t.year * 10000 + t.month * 100 + t.day;
}

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

// Reads forward through the bytes; any read past the end fails them all.
class Reader {
  public:
    explicit Reader(std::string_view bytes) : bytes_(bytes) {}
    bool ok() const { return ok_; }
    std::size_t at() const { return at_; }
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

  private:
    std::string_view bytes_;
    std::size_t at_ = 0;
    bool ok_ = true;
};

// The columns' places: after the stocks, each field of every price day, then
// each field of every verdict, one array each, stock after stock. A stock's
// rows begin at its first row in every array of its kind, so that each stock
// is written and read on its own.
class Columns {
  public:
    Columns(std::size_t start, std::size_t priceRows, std::size_t verdictRows) {
        std::size_t at = start;
        auto place = [&](std::size_t& column, std::size_t bytes) {
            column = at;
            at += bytes;
        };
        place(priceDate, 4 * priceRows);
        place(priceTraded, priceRows);
        place(priceOpen, 8 * priceRows);
        place(priceLow, 8 * priceRows);
        place(priceClose, 8 * priceRows);
        place(date, 4 * verdictRows);
        place(trend, 4 * verdictRows);
        place(score, 4 * verdictRows);
        place(modelB, verdictRows);
        place(buyA, verdictRows);
        place(buyB, verdictRows);
        place(gain5, 4 * verdictRows);
        place(gain10, 4 * verdictRows);
        place(change, 4 * verdictRows);
        place(close, 4 * verdictRows);
        end = at;
    }
    std::size_t priceDate, priceTraded, priceOpen, priceLow, priceClose;
    std::size_t date, trend, score, modelB, buyA, buyB, gain5, gain10, change, close;
    std::size_t end;
};

template <class T>
void store(char* bytes, std::size_t column, std::size_t row, T value) {
    std::memcpy(bytes + column + row * sizeof value, &value, sizeof value);
}

template <class T>
T load(const char* bytes, std::size_t column, std::size_t row) {
    T value;
    std::memcpy(&value, bytes + column + row * sizeof value, sizeof value);
    return value;
}

void storeStock(char* out, const Columns& c, const PriceRead& prices, std::size_t priceRow,
                const StockVerdicts& verdicts, std::size_t verdictRow) {
    for (std::size_t r = priceRow; const PriceDay& d : prices.days) {
        store<std::int32_t>(out, c.priceDate, r, d.date);
        store<std::uint8_t>(out, c.priceTraded, r, d.traded);
        store<double>(out, c.priceOpen, r, d.open);
        store<double>(out, c.priceLow, r, d.low);
        store<double>(out, c.priceClose, r, d.close);
        ++r;
    }
    for (std::size_t r = verdictRow; const DayVerdict& d : verdicts.days) {
        store<std::int32_t>(out, c.date, r, d.date);
        store<std::int32_t>(out, c.trend, r, d.trend);
        store<std::int32_t>(out, c.score, r, d.score);
        store<std::uint8_t>(out, c.modelB, r, d.modelB);
        store<std::int8_t>(out, c.buyA, r, d.buyA);
        store<std::int8_t>(out, c.buyB, r, d.buyB);
        store<float>(out, c.gain5, r, d.gain5);
        store<float>(out, c.gain10, r, d.gain10);
        store<float>(out, c.change, r, d.change);
        store<float>(out, c.close, r, d.close);
        ++r;
    }
}

void loadStock(const char* in, const Columns& c, PriceRead& prices, std::size_t priceRow,
               StockVerdicts& verdicts, std::size_t verdictRow) {
    for (std::size_t r = priceRow; PriceDay & d : prices.days) {
        d.date = load<std::int32_t>(in, c.priceDate, r);
        d.traded = load<std::uint8_t>(in, c.priceTraded, r) != 0;
        d.open = load<double>(in, c.priceOpen, r);
        d.low = load<double>(in, c.priceLow, r);
        d.close = load<double>(in, c.priceClose, r);
        ++r;
    }
    for (std::size_t r = verdictRow; DayVerdict & d : verdicts.days) {
        d.date = load<std::int32_t>(in, c.date, r);
        d.trend = load<std::int32_t>(in, c.trend, r);
        d.score = load<std::int32_t>(in, c.score, r);
        d.modelB = load<std::uint8_t>(in, c.modelB, r) != 0;
        d.buyA = load<std::int8_t>(in, c.buyA, r);
        d.buyB = load<std::int8_t>(in, c.buyB, r);
        d.gain5 = load<float>(in, c.gain5, r);
        d.gain10 = load<float>(in, c.gain10, r);
        d.change = load<float>(in, c.change, r);
        d.close = load<float>(in, c.close, r);
        ++r;
    }
}

// The checksum of the bytes: a hash of each mebibyte's hash, so that the
// pieces are hashed on all threads.
std::uint64_t checksumOf(std::string_view bytes, int jobs) {
    constexpr std::size_t kPiece = std::size_t{1} << 20;
    std::vector<std::uint64_t> pieces((bytes.size() + kPiece - 1) / kPiece);
    parallelFor(pieces.size(), jobs,
                [&](std::size_t i) { pieces[i] = hashBytes(bytes.substr(i * kPiece, kPiece)); });
    return hashBytes(std::string_view(reinterpret_cast<const char*>(pieces.data()),
                                      pieces.size() * sizeof(std::uint64_t)),
                     bytes.size());
}

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

std::string verdictStoreBytes(const KeptMarket& kept, int jobs) {
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
    h.writtenOn = today();
    std::string out;
    put(out, h);
    for (const std::string& p : m.problems) putText(out, p);
    // Every stock has its prices and verdicts, empty when unread.
    std::vector<std::size_t> priceRow(m.stocks.size() + 1, 0), verdictRow(m.stocks.size() + 1, 0);
    for (std::size_t i = 0; i < m.stocks.size(); ++i) {
        putText(out, m.stocks[i].code);
        putText(out, m.stocks[i].name);
        putText(out, kept.prices[i].error);
        put(out, static_cast<std::uint32_t>(kept.prices[i].days.size()));
        put(out, static_cast<std::uint32_t>(v.stocks[i].days.size()));
        priceRow[i + 1] = priceRow[i] + kept.prices[i].days.size();
        verdictRow[i + 1] = verdictRow[i] + v.stocks[i].days.size();
    }
    const Columns columns(out.size(), h.priceRows, h.verdictRows);
    out.resize(columns.end);
    parallelFor(m.stocks.size(), jobs, [&](std::size_t i) {
        storeStock(out.data(), columns, kept.prices[i], priceRow[i], v.stocks[i], verdictRow[i]);
    });
    put(out, checksumOf(out, jobs));
    return out;
}

bool storeHeaderFits(std::string_view bytes, std::uint64_t key, int minHistory) {
    if (bytes.size() < sizeof(Header) + sizeof(std::uint64_t)) return false;
    Header h;
    std::memcpy(&h, bytes.data(), sizeof h);
    return std::memcmp(h.magic, kMagic, sizeof kMagic) == 0 && h.byteOrder == kByteOrderMark &&
           h.format == kFormat && h.engine == kEngineRevision && h.key == key &&
           h.minHistory == minHistory && (h.refusedLines == 0 || h.writtenOn == today());
}

std::optional<KeptMarket> keptMarketFromStore(std::string_view bytes, std::uint64_t key,
                                              int minHistory, int jobs) {
    if (!storeHeaderFits(bytes, key, minHistory)) return std::nullopt;
    const std::string_view body = bytes.substr(0, bytes.size() - sizeof(std::uint64_t));
    std::uint64_t checksum;
    std::memcpy(&checksum, bytes.data() + body.size(), sizeof checksum);
    if (checksumOf(body, jobs) != checksum) return std::nullopt;
    Reader in(body);
    const auto h = in.get<Header>();
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
    std::vector<std::size_t> priceRow(h.stocks + 1, 0), verdictRow(h.stocks + 1, 0);
    for (std::size_t i = 0; i < h.stocks; ++i) {
        m.stocks[i].code = in.text();
        m.stocks[i].name = in.text();
        kept.prices[i].error = in.text();
        const auto days = in.get<std::uint32_t>();
        const auto verdictDays = in.get<std::uint32_t>();
        if (!in.ok() || days > h.priceRows - priceRow[i] ||
            verdictDays > h.verdictRows - verdictRow[i])
            return std::nullopt;
        v.stocks[i].code = m.stocks[i].code;
        priceRow[i + 1] = priceRow[i] + days;
        verdictRow[i + 1] = verdictRow[i] + verdictDays;
    }
    const Columns columns(in.at(), h.priceRows, h.verdictRows);
    if (!in.ok() || priceRow.back() != h.priceRows || verdictRow.back() != h.verdictRows ||
        columns.end != body.size())
        return std::nullopt;
    parallelFor(h.stocks, jobs, [&](std::size_t i) {
        kept.prices[i].days.resize(priceRow[i + 1] - priceRow[i]);
        v.stocks[i].days.resize(verdictRow[i + 1] - verdictRow[i]);
        loadStock(body.data(), columns, kept.prices[i], priceRow[i], v.stocks[i], verdictRow[i]);
    });
    return kept;
}

}  // namespace orvane::backtest
