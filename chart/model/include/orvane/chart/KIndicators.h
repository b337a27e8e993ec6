#pragma once
// The indicators of the panel under the volume and the volume's averages,
// computed over a whole candle list oldest first, one value set a candle,
// in double precision and stored single.
//
// MACD (12, 26, 9): the fast and slow EMAs of the close, both starting at the
// first close; DIF = fast − slow; DEA = the 9-candle EMA of DIF, starting at
// the first DIF; the bar = 2 × (DIF − DEA). An n-candle EMA moves by
// 2 / (n + 1) of the distance to the new value.
//
// KDJ (9, 3, 3): RSV = (close − lowest low) / (highest high − lowest low) ×
// 100 over the last 9 candles (fewer at the start; 50 when they span no
// range); K = (2 × K' + RSV) / 3 and D = (2 × D' + K) / 3, from K' = D' = 50;
// J = 3K − 2D.

#include <string>
#include <vector>

#include "orvane/chart/KSection.h"

namespace orvane::chart {

enum class KIndicator { MACD, KDJ };

/// "MACD", "KDJ".
const char* indicatorName(KIndicator indicator);
KIndicator nextIndicator(KIndicator indicator);

struct KIndicatorValues {
    float dif = 0, dea = 0, macd = 0;  // macd: the bar, 2 × (DIF − DEA)
    float k = 0, d = 0, j = 0;
    float volumeMa5 = 0, volumeMa10 = 0;  // 0 until there are enough candles
};

struct KMacdParameters {
    int fast = 12, slow = 26, signal = 9;
};
struct KKdjParameters {
    int window = 9, kSmoothing = 3, dSmoothing = 3;
};

std::vector<KIndicatorValues> indicatorValuesOf(const std::vector<KSection>& candles,
                                                KMacdParameters macd = {}, KKdjParameters kdj = {});

}  // namespace orvane::chart
