// The verdict store's bytes: a header, the stocks, one array a field, and a
// checksum of everything before it. Numbers are kept in the machine's own
// byte order; the header's magic tells another order apart.

#include <cstring>

#include "ContentHash.h"
#include "orvane/backtest/MarketVerdicts.h"

namespace orvane::backtest {

namespace {

constexpr char kMagic[8] = {'O', 'R', 'V', 'V', 'E', 'R', 'D', 'S'};
constexpr std::uint32_t kFormat = 1;
/// Raised whenever the engine's verdicts change, so that stores of the old
/// engine are worked out again.
constexpr std::uint32_t kEngineRevision = 1;
constexpr std::uint32_t kByteOrderMark = 0x01020304;

struct Header {
    char magic[8];
    std::uint32_t byteOrder, format, engine;
    std::int32_t minHistory;
    std::uint64_t key;
    std::uint64_t stocks, rows;
};

template <class T>
void put(std::string& out, const T& value) {
    out.append(reinterpret_cast<const char*>(&value), sizeof value);
}

// One field of every verdict, as one array.
template <class T, class Get>
void putColumn(std::string& out, const MarketVerdicts& v, Get get) {
    for (const StockVerdicts& s : v.stocks)
        for (const DayVerdict& d : s.days) put<T>(out, get(d));
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
    // One field of every verdict into `rows`, in order.
    template <class T, class Set>
    void column(std::vector<DayVerdict*>& rows, Set set) {
        const std::string_view raw = take(rows.size() * sizeof(T));
        if (!ok_) return;
        const char* p = raw.data();
        for (DayVerdict* d : rows) {
            T value;
            std::memcpy(&value, p, sizeof value);
            p += sizeof value;
            set(*d, value);
        }
    }

  private:
    std::string_view bytes_;
    std::size_t at_ = 0;
    bool ok_ = true;
};

}  // namespace

std::size_t MarketVerdicts::count() const {
    std::size_t n = 0;
    for (const StockVerdicts& s : stocks) n += s.days.size();
    return n;
}

std::string verdictStoreBytes(const MarketVerdicts& v) {
    Header h{};
    std::memcpy(h.magic, kMagic, sizeof kMagic);
    h.byteOrder = kByteOrderMark;
    h.format = kFormat;
    h.engine = kEngineRevision;
    h.minHistory = v.minHistory;
    h.key = v.key;
    h.stocks = v.stocks.size();
    h.rows = v.count();
    std::string out;
    out.reserve(sizeof h + h.stocks * 12 + h.rows * 31 + 8);
    put(out, h);
    for (const StockVerdicts& s : v.stocks) {
        put(out, static_cast<std::uint8_t>(std::min<std::size_t>(s.code.size(), 255)));
        out.append(s.code, 0, 255);
        put(out, static_cast<std::uint32_t>(s.days.size()));
    }
    putColumn<std::int32_t>(out, v, [](const DayVerdict& d) { return d.date; });
    putColumn<std::int32_t>(out, v, [](const DayVerdict& d) { return d.trend; });
    putColumn<std::int32_t>(out, v, [](const DayVerdict& d) { return d.score; });
    putColumn<std::uint8_t>(out, v, [](const DayVerdict& d) { return std::uint8_t{d.modelB}; });
    putColumn<std::int8_t>(out, v, [](const DayVerdict& d) { return d.buyA; });
    putColumn<std::int8_t>(out, v, [](const DayVerdict& d) { return d.buyB; });
    putColumn<float>(out, v, [](const DayVerdict& d) { return d.gain5; });
    putColumn<float>(out, v, [](const DayVerdict& d) { return d.gain10; });
    putColumn<float>(out, v, [](const DayVerdict& d) { return d.change; });
    putColumn<float>(out, v, [](const DayVerdict& d) { return d.close; });
    put(out, hashBytes(out));
    return out;
}

std::optional<MarketVerdicts> verdictsFromStore(std::string_view bytes, std::uint64_t key,
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
    if (h.stocks > in.left() / 5 || h.rows > in.left() / 30) return std::nullopt;
    MarketVerdicts v;
    v.key = key;
    v.minHistory = minHistory;
    v.stocks.resize(h.stocks);
    std::uint64_t rows = 0;
    for (StockVerdicts& s : v.stocks) {
        s.code = std::string(in.take(in.get<std::uint8_t>()));
        const auto days = in.get<std::uint32_t>();
        if (!in.ok() || days > h.rows - rows) return std::nullopt;
        s.days.resize(days);
        rows += days;
    }
    if (rows != h.rows) return std::nullopt;
    std::vector<DayVerdict*> all;
    all.reserve(rows);
    for (StockVerdicts& s : v.stocks)
        for (DayVerdict& d : s.days) all.push_back(&d);
    in.column<std::int32_t>(all, [](DayVerdict& d, std::int32_t x) { d.date = x; });
    in.column<std::int32_t>(all, [](DayVerdict& d, std::int32_t x) { d.trend = x; });
    in.column<std::int32_t>(all, [](DayVerdict& d, std::int32_t x) { d.score = x; });
    in.column<std::uint8_t>(all, [](DayVerdict& d, std::uint8_t x) { d.modelB = x != 0; });
    in.column<std::int8_t>(all, [](DayVerdict& d, std::int8_t x) { d.buyA = x; });
    in.column<std::int8_t>(all, [](DayVerdict& d, std::int8_t x) { d.buyB = x; });
    in.column<float>(all, [](DayVerdict& d, float x) { d.gain5 = x; });
    in.column<float>(all, [](DayVerdict& d, float x) { d.gain10 = x; });
    in.column<float>(all, [](DayVerdict& d, float x) { d.change = x; });
    in.column<float>(all, [](DayVerdict& d, float x) { d.close = x; });
    if (!in.ok() || in.left() != 0) return std::nullopt;
    return v;
}

}  // namespace orvane::backtest
