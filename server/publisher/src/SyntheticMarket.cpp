#include "orvane/publisher/SyntheticMarket.h"

#include <array>
#include <cmath>
#include <random>

#include "orvane/core/NumberText.h"
#include "orvane/market/TradingCalendar.h"
#include "orvane/publisher/DayVerdicts.h"

namespace orvane::server {

namespace {

struct Industry {
    const char* name;
    const char* suffix;
};

// Sector groups of the demo market and the ending of their stocks' names.
constexpr std::array<Industry, 12> kIndustries = {{
    {"银行", "银行"},
    {"全国地产", "地产"},
    {"半导体", "微电"},
    {"化学制药", "药业"},
    {"白酒", "酒业"},
    {"汽车整车", "汽车"},
    {"化工原料", "化工"},
    {"电气设备", "电气"},
    {"软件服务", "软件"},
    {"小金属", "矿业"},
    {"食品", "食品"},
    {"建筑工程", "建设"},
}};

constexpr std::array<const char*, 30> kNameStarts = {
    "华", "东", "中", "金", "新", "天", "海", "宏", "恒", "长", "广", "南", "北", "西", "安",
    "通", "光", "富", "盛", "远", "嘉", "瑞", "泰", "鑫", "宇", "信", "达", "丰", "和", "兴"};
constexpr std::array<const char*, 10> kNameSeconds = {"大", "盛", "源", "润", "晟",
                                                      "鼎", "泽", "康", "联", "力"};

// Deterministic noise: uniform and normal numbers from one seeded engine.
class Noise {
  public:
    explicit Noise(std::uint64_t seed) : engine_(seed) {}
    double uniform() { return static_cast<double>(engine_() >> 11) * 0x1.0p-53; }
    double normal() {
        const double u1 = std::max(uniform(), 1e-12), u2 = uniform();
        return std::sqrt(-2.0 * std::log(u1)) * std::cos(6.283185307179586 * u2);
    }

  private:
    std::mt19937_64 engine_;
};

// The kinds of price path, one per stock in turn.
enum class Path {
    Rising,
    Falling,
    Sideways,
    Wandering,
    Breakthrough,
    Accelerating,
    ModelB,
    Collapsing
};
constexpr int kPathKinds = 8;

// Closes, oldest first, for `n` days; `lastJump` is the last day's move.
std::vector<double> closesFor(Path path, int n, double start, Noise& noise, double lastJump) {
    std::vector<double> c(static_cast<std::size_t>(n));
    double p = start;
    auto step = [&](int i, double drift, double vol) {
        p *= std::exp(drift + vol * noise.normal());
        c[static_cast<std::size_t>(i)] = p;
    };
    for (int i = 0; i < n; ++i) {
        const int fromEnd = n - 1 - i;  // 0 is the last day
        switch (path) {
            case Path::Rising:
                step(i, 0.003, 0.012);
                break;
            case Path::Falling:
                step(i, -0.003, 0.012);
                break;
            case Path::Sideways:
                p = start * std::exp(0.03 * std::sin(i / 7.0) + 0.008 * noise.normal());
                c[static_cast<std::size_t>(i)] = p;
                break;
            case Path::Wandering:
                step(i, 0.0, 0.022);
                break;
            case Path::Breakthrough:
            case Path::Accelerating:
                if (fromEnd > 14)
                    step(i, 0.0022, 0.006);
                else if (fromEnd > 3 || (path == Path::Breakthrough && fromEnd > 0))
                    step(i, 0.0, 0.004);
                else if (fromEnd > 0)
                    step(i, 0.02, 0.002);
                else
                    c[static_cast<std::size_t>(i)] = p *= 1.0 + lastJump;
                break;
            case Path::ModelB:
                if (fromEnd > 32)
                    step(i, 0.0019, 0.006);
                else if (fromEnd > 0)
                    step(i, 0.0, 0.005);
                else
                    c[static_cast<std::size_t>(i)] = p *= 1.0 + lastJump;
                break;
            case Path::Collapsing:
                if (fromEnd > 10)
                    step(i, 0.0, 0.01);
                else
                    step(i, -0.03, 0.005);
                break;
        }
    }
    return c;
}

std::vector<DailyBar> barsFor(const std::vector<double>& closes,
                              const std::vector<std::string>& dates, Noise& noise) {
    std::vector<DailyBar> bars(closes.size());
    double previous = closes.empty() ? 0 : closes[0];
    for (std::size_t i = 0; i < closes.size(); ++i) {
        DailyBar& b = bars[i];
        b.date = dates[i];
        b.close = std::round(closes[i] * 100) / 100;
        b.open = std::round(previous * (1.0 + 0.004 * noise.normal()) * 100) / 100;
        b.high =
            std::round(std::max(b.open, b.close) * (1.0 + 0.008 * noise.uniform()) * 100) / 100;
        b.low = std::round(std::min(b.open, b.close) * (1.0 - 0.008 * noise.uniform()) * 100) / 100;
        b.volume = std::round(100000 + 900000 * noise.uniform());
        previous = b.close;
    }
    return bars;
}

// Does the stock's last day show what its path was made for?
bool showsIntent(Path path, const StockSeries& s) {
    const auto verdicts = computeDayVerdicts(s.listing.code, historyTextOf(s.bars), 0);
    if (!verdicts[0]) return false;
    const AnalysisResult& r = verdicts[0]->result;
    switch (path) {
        case Path::Breakthrough:
            return r.trend == 1001;
        case Path::Accelerating:
            return r.trend == 1000;
        case Path::ModelB:
            return r.modeB;
        default:
            return true;
    }
}

std::string codeFor(Path path, int index) {
    int number = 1 + index;
    if (path == Path::Accelerating)
        number = 300001 + index;  // growth board: moves up to 20%
    else if (index % 2 == 0)
        number = 600000 + index;
    return format("%06d", number);
}

}  // namespace

std::vector<StockSeries> makeSyntheticMarket(int count, std::uint64_t seed,
                                             const LocalDateTime& lastDay, int days) {
    const std::vector<std::string> dates = tradingDaysEndingOn(lastDay, days);
    std::vector<StockSeries> market;
    market.reserve(static_cast<std::size_t>(std::max(count, 0)));
    for (int i = 0; i < count; ++i) {
        const Path path = static_cast<Path>(i % kPathKinds);
        const Industry& industry = kIndustries[static_cast<std::size_t>(i) % kIndustries.size()];
        StockSeries s;
        s.listing.code = codeFor(path, i);
        s.listing.name =
            std::string(kNameStarts[static_cast<std::size_t>(i) % kNameStarts.size()]) +
            kNameSeconds[static_cast<std::size_t>(i / 30) % kNameSeconds.size()] + industry.suffix;
        s.listing.industry = industry.name;
        // The patterns need a particular last move: try a few sizes, keeping
        // the first that shows the pattern (or the last tried).
        const std::vector<double> jumps =
            path == Path::Accelerating   ? std::vector<double>{0.12, 0.14, 0.16, 0.18}
            : path == Path::Breakthrough ? std::vector<double>{0.03, 0.04, 0.05, 0.06}
            : path == Path::ModelB       ? std::vector<double>{0.095, 0.092, 0.098}
                                         : std::vector<double>{0.0};
        for (std::size_t attempt = 0; attempt < jumps.size() * 4; ++attempt) {
            Noise noise(seed * 1000003u + static_cast<std::uint64_t>(i) * 7919u + attempt);
            const double start = 5.0 + 30.0 * noise.uniform();
            const auto closes = closesFor(path, days, start, noise, jumps[attempt % jumps.size()]);
            s.bars = barsFor(closes, dates, noise);
            if (showsIntent(path, s)) break;
        }
        market.push_back(std::move(s));
    }
    return market;
}

}  // namespace orvane::server
