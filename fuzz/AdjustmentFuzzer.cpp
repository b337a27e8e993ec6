// The ex-rights files (events, vendor factors) on arbitrary bytes, and the
// forward adjustment of a made-up stock from whatever they give. However odd
// the file, an adjusted price stays finite and above 0, the newest day stays
// as traded, and a day's traded value (price times volume) is unchanged.
// Every step's factor lies between a thousandth and a thousandfold.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "orvane/market/AdjustmentInputs.h"
#include "orvane/market/ForwardAdjustment.h"

namespace {

std::vector<orvane::DailyBar> madeUpBars() {
    std::vector<orvane::DailyBar> bars;
    for (int month = 1; month <= 12; ++month)
        for (int day = 1; day <= 28; day += 3) {
            char date[11];
            std::snprintf(date, sizeof date, "2024-%02d-%02d", month, day);
            const double price = 5 + (month * 31 + day) % 17;
            bars.push_back({date, price, price * 1.02, price * 0.98, price, 1000.0 + day});
        }
    return bars;
}

void checkAdjusted(const std::vector<orvane::DailyBar>& bars,
                   const std::vector<orvane::AdjustmentStep>& steps) {
    const auto adjusted = orvane::forwardAdjusted(bars, steps);
    if (adjusted.size() != bars.size()) __builtin_trap();
    for (std::size_t i = 0; i < bars.size(); ++i) {
        const auto &a = adjusted[i], &b = bars[i];
        if (!(std::isfinite(a.close) && a.close >= 0 && std::isfinite(a.volume))) __builtin_trap();
        // Hundreds of tiny factors may take the oldest prices below any
        // number; above that, the traded value is kept.
        const double value = b.close * b.volume, kept = a.close * a.volume;
        if (a.close > 1e-200 && std::fabs(kept - value) > 1e-6 * value) __builtin_trap();
    }
    if (adjusted.back().close != bars.back().close) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::vector<orvane::DailyBar> bars = madeUpBars();
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto events = orvane::readExRightsEvents(text);
    for (const auto& [code, list] : events.byCode) {
        if (code.size() != 6) __builtin_trap();
        checkAdjusted(bars, orvane::stepsFromEvents(bars, list));
    }
    for (const auto& [code, list] : events.byCode)
        for (const auto& step : orvane::stepsFromEvents(bars, list))
            if (!(step.factor >= 1e-3 && step.factor <= 1e3)) __builtin_trap();
    const auto factors = orvane::readAdjustmentFactors(text);
    for (const auto& [code, list] : factors.byCode) {
        for (const auto& [date, factor] : list)
            if (!(factor > 0) || date.size() != 10) __builtin_trap();
        checkAdjusted(bars, orvane::stepsFromAdjustmentFactors(bars, list));
    }
    return 0;
}
