#include "orvane/chart/KIndicators.h"

#include <algorithm>

namespace orvane::chart {

namespace {

// Exponential moving average: starts at its first value.
class Ema {
  public:
    explicit Ema(int length) : weight_(2.0 / (length + 1)) {}
    double add(double value) {
        value_ = started_ ? value_ + weight_ * (value - value_) : value;
        started_ = true;
        return value_;
    }

  private:
    double weight_;
    double value_ = 0;
    bool started_ = false;
};

// Mean of the `length` volumes ending at candle i; 0 before there are as many.
double volumeAverage(const std::vector<KSection>& candles, std::size_t i, std::size_t length) {
    if (i + 1 < length) return 0;
    double sum = 0;
    for (std::size_t k = 0; k < length; ++k) sum += candles[i - k].volume;
    return sum / static_cast<double>(length);
}

}  // namespace

const char* indicatorName(KIndicator indicator) {
    return indicator == KIndicator::KDJ ? "KDJ" : "MACD";
}

KIndicator nextIndicator(KIndicator indicator) {
    return indicator == KIndicator::MACD ? KIndicator::KDJ : KIndicator::MACD;
}

std::vector<KIndicatorValues> indicatorValuesOf(const std::vector<KSection>& candles,
                                                KMacdParameters macd, KKdjParameters kdj) {
    std::vector<KIndicatorValues> out(candles.size());
    Ema fast(macd.fast), slow(macd.slow), signal(macd.signal);
    double k = 50, d = 50;
    const auto window = static_cast<std::size_t>(std::max(kdj.window, 1));
    for (std::size_t i = 0; i < candles.size(); ++i) {
        const KSection& c = candles[i];
        KIndicatorValues& v = out[i];

        const double dif = fast.add(c.closePrice) - slow.add(c.closePrice);
        const double dea = signal.add(dif);
        v.dif = static_cast<float>(dif);
        v.dea = static_cast<float>(dea);
        v.macd = static_cast<float>(2 * (dif - dea));

        const std::size_t first = i + 1 >= window ? i + 1 - window : 0;
        double highest = candles[first].highPrice, lowest = candles[first].lowPrice;
        for (std::size_t w = first + 1; w <= i; ++w) {
            highest = std::max<double>(highest, candles[w].highPrice);
            lowest = std::min<double>(lowest, candles[w].lowPrice);
        }
        const double rsv =
            highest > lowest ? (c.closePrice - lowest) / (highest - lowest) * 100 : 50;
        k = ((kdj.kSmoothing - 1) * k + rsv) / kdj.kSmoothing;
        d = ((kdj.dSmoothing - 1) * d + k) / kdj.dSmoothing;
        v.k = static_cast<float>(k);
        v.d = static_cast<float>(d);
        v.j = static_cast<float>(3 * k - 2 * d);

        v.volumeMa5 = static_cast<float>(volumeAverage(candles, i, 5));
        v.volumeMa10 = static_cast<float>(volumeAverage(candles, i, 10));
    }
    return out;
}

}  // namespace orvane::chart
