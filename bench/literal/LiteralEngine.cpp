#include "LiteralEngine.h"

#include <algorithm>
#include <limits>
#include <vector>

#include "orvane/core/NumberText.h"
#include "orvane/core/TextSplit.h"

namespace orvane::literal {

namespace {

using Lines = std::vector<std::string_view>;
using Fields = std::vector<std::string_view>;

// The plain split, one byte at a time (the engine's own splitter works
// sixteen bytes at a time; this one stays simple).
Lines splitLines(std::string_view text) {
    return splitLinesBytewise(text);
}

Fields fieldsOf(std::string_view line) {
    return splitOn(line, ',');
}
float closeOf(const Fields& f) {
    return leadingFloat(f[4]);
}
float volumeOf(const Fields& f) {
    return leadingFloat(f[5]);
}
std::int32_t lastIndex(const Lines& lines) {
    return static_cast<std::int32_t>(lines.size()) - 1;
}

bool isIndexCode(std::string_view code) {
    return code.starts_with("399");
}

float undefinedRatio() {
    return std::numeric_limits<float>::quiet_NaN();
}

// Float to 32-bit integer toward zero; values out of range give the integer
// "indefinite" value, as the processor's own conversion does.
std::int32_t truncateToInt(float f) {
    if (!(f >= -2147483648.0f && f < 2147483648.0f)) return INT32_MIN;
    return static_cast<std::int32_t>(f);
}

// The window threshold T for the rising rule, by the number of days counted.
float risingThreshold(std::int32_t n) {
    if (n <= 0) return 1.0f;
    if (n < 10) return 1.09f;
    if (n < 30) return 1.15f;
    if (n < 100) return 1.2f;
    if (n < 200) return 1.25f;
    return 1.3f;
}

// The band limit of a region kind, halved around 1 for index codes.
float regionBand(std::uint32_t kind, std::string_view code) {
    float r;
    switch (kind) {
        case kRegionWide:
            r = 1.25f;
            break;
        case kRegionMedium:
            r = 1.17f;
            break;
        case kRegionNarrow:
            r = 1.12f;
            break;
        default:
            r = 1.17f;
            break;
    }
    if (isIndexCode(code)) r = (r - 1.0f) * 0.5f + 1.0f;
    return r;
}

}  // namespace

// ---- Windows and trend codes --------------------------------------------------

std::uint32_t classifyWindow(const BoxInfo& box, std::int32_t dayCount) {
    const float F = box.startPrice, L = box.endPrice, A = box.avgPrice;
    const float H = box.maxPrice, M = box.minPrice;
    const float T = risingThreshold(dayCount);
    if (double(F / A) >= 1.065 && double(F / L) >= 1.2 && H / F <= T && double(H / M) >= 1.3)
        return 1;
    if (double(F / L) < 0.81 && double(F / A) <= 0.95 && double(F / M) >= 0.95 &&
        double(A / L) <= 0.95)
        return 2;
    if (H / M < 2.25f && double(F / M) >= 0.95 && double(F / A) <= 1.065 &&
        double(L / A) <= 1.065 && double(A / M) <= 1.1715)
        return 3;
    return 0;
}

std::uint32_t getStockTrend(std::string_view text, std::int32_t days, BoxInfo& box,
                            std::int32_t beforeToday) {
    const Lines lines = splitLines(text);
    const std::int32_t E = static_cast<std::int32_t>(lines.size());
    box = BoxInfo{};
    box.endIndex = std::min(beforeToday + days, E - 1) - 1;

    std::int32_t count = 0;
    float sum = 0;
    for (std::int32_t i = std::max(beforeToday, 0); i < E; ++i) {
        const std::string_view line = lines[i];
        if (utf16Length(line) < 5) continue;
        const Fields f = fieldsOf(line);
        if (f.size() < 7) continue;
        if (double(volumeOf(f)) < 10.0) continue;
        const float c = closeOf(f);
        ++count;
        sum += c;
        if (count == 1) {
            box.startPrice = c;
            box.maxPrice = c;
            box.minPrice = c;
        } else {
            if (c > box.maxPrice) box.maxPrice = c;
            if (c < box.minPrice) box.minPrice = c;
        }
        box.endPrice = c;
        if (count >= days) break;
    }
    box.avgPrice = sum / static_cast<float>(count);
    box.trend = classifyWindow(box, count);
    return box.trend;
}

// ---- Day lag and acceleration ---------------------------------------------------

std::int32_t daysBefortoday(std::string_view text, const LocalDateTime& now) {
    const Lines lines = splitLines(text);
    for (std::int32_t i = 1; i <= 9 && i <= lastIndex(lines); ++i) {
        if (lines[i].empty()) continue;
        const Fields f = fieldsOf(lines[i]);
        if (utf16Length(f[0]) < 9) continue;
        // The first candidate decides, even when its date does not parse.
        const auto date = parseDate(f[0]);
        if (!date) return kNoDayLag;
        const std::int32_t D = calendarDifference(*date, now).days;
        if (now.weekday == 0 || now.weekday == 1) return D - 2;
        if (now.weekday == 6) return D - 1;
        return D;
    }
    return kNoDayLag;
}

bool isAcceleration(std::string_view text, std::string_view code, float close,
                    const LocalDateTime& now) {
    (void)code;  // names the stock in the log only
    const std::int32_t D = daysBefortoday(text, now);
    if (D < 0 || D > 3) return false;

    BoxInfo b1, b2, b3, b4, b5;
    getStockTrend(text, 3, b1, 1);
    getStockTrend(text, 3, b2, 4);
    getStockTrend(text, 3, b3, 7);
    getStockTrend(text, 3, b4, 11);
    getStockTrend(text, 3, b5, 14);
    const float g1 = b1.startPrice / b1.endPrice - 1.0f;
    const float g2 = b2.startPrice / b2.endPrice - 1.0f;
    const float g3 = b3.startPrice / b3.endPrice - 1.0f;
    const float g4 = b4.startPrice / b4.endPrice - 1.0f;
    const float g5 = b5.startPrice / b5.endPrice - 1.0f;
    const float a0 = close / b1.startPrice - 1.0f;
    const float G = ((((g1 + g2) + g3) + g4) + g5) / 5.0f;

    switch (D) {
        case 0:
            return g1 / G > 2.5f && double(g1) > 0.06;
        case 1:
            return g1 / G > 1.0f;
        case 2:
            return a0 / G > 2.5f && a0 / g1 > 2.5f;
        default:
            if (a0 / G > 3.0f && a0 / g1 > 3.5f) return true;
            return double(a0) > 9.9 && a0 / g1 > 1.0f;
    }
}

// ---- Historical-day helpers -----------------------------------------------------

std::optional<std::string> getHisdayResponseString(std::string_view text, std::int32_t day) {
    const Lines lines = splitLines(text);
    const std::int32_t E = static_cast<std::int32_t>(lines.size());
    if (E < 2 || day < 1 || day > E - 1) return std::nullopt;
    std::string out;
    out.append(lines[0]).push_back('\n');
    for (std::int32_t i = day; i < E; ++i) out.append(lines[i]).push_back('\n');
    return out;
}

std::optional<HisdayRecord> getHisdayTradeInfo(std::string_view text, std::int32_t day,
                                               std::string_view code) {
    const Lines lines = splitLines(text);
    const std::int32_t E = static_cast<std::int32_t>(lines.size());
    if (day < 0 || E < day + 2) return std::nullopt;
    const Fields f = fieldsOf(lines[day]);
    if (f.size() < 5) return std::nullopt;
    HisdayRecord r;
    r.code = std::string(code);
    r.close = closeOf(f);
    r.open = leadingFloat(f[1]);
    r.date = std::string(f[0]);
    const Fields next = fieldsOf(lines[day + 1]);
    r.yesClose = next.size() == 7 ? closeOf(next) : 1.0f;
    return r;
}

float getHisdayMaxPrice(std::string_view text, std::int32_t lastDays, std::int32_t beforeDay) {
    const Lines lines = splitLines(text);
    const std::int32_t last = std::min(lastDays, lastIndex(lines));
    float high = 0.1f;
    for (std::int32_t i = std::max(beforeDay + 1, 0); i <= last; ++i) {
        const Fields f = fieldsOf(lines[i]);
        if (f.size() != 7) continue;
        const float c = closeOf(f);
        if (c > high) high = c;
    }
    return high;
}

// ---- Sideways regions and box rules ---------------------------------------------

std::int32_t getStockSildeWaysRgn(std::string_view text, std::string_view code,
                                  std::int32_t fromDay, std::uint32_t kind) {
    const Lines lines = splitLines(text);
    const float R = regionBand(kind, code);
    const std::int32_t last = lastIndex(lines);
    if (last <= fromDay) return -1;

    std::int32_t examined = 0;
    float high = 0, low = 0;
    for (std::int32_t i = std::max(fromDay, 0); i < last; ++i) {
        if (lines[i].empty()) continue;
        const Fields f = fieldsOf(lines[i]);
        if (f.size() < 7) continue;
        if (double(volumeOf(f)) < 10.0) continue;
        const float c = closeOf(f);
        ++examined;
        if (examined == 1) {
            high = c;
            low = c;
        } else if (c > high) {
            high = c;
        } else if (c < low) {
            low = c;
        }
        if (high / low > R) break;
    }
    return examined - 1;
}

std::int32_t longestSlideWays(std::string_view text, std::string_view code, std::uint32_t kind,
                              std::int32_t& beforeDays) {
    std::int32_t best = getStockSildeWaysRgn(text, code, 1, kind);
    beforeDays = 1;
    for (std::int32_t d = 2; d <= 10; ++d) {
        const std::int32_t n = getStockSildeWaysRgn(text, code, d, kind);
        if (n > best) {
            best = n;
            beforeDays = d;
        }
    }
    return best;
}

void slideWaysLengthPoints(std::uint32_t kind, std::int32_t L, std::int32_t& score) {
    switch (kind) {
        case kRegionWide:
            if (L >= 115)
                score += 25;
            else if (L >= 90)
                score += 20;
            else if (L >= 70)
                score += 16;
            else if (L >= 50)
                score += 12;
            else if (L >= 35)
                score += 8;
            else if (L >= 25)
                score += 4;
            break;
        case kRegionMedium:
            if (L >= 110)
                score += 25;
            else if (L >= 80)
                score += 20;
            else if (L >= 60)
                score += 15;
            else if (L >= 35)
                score += 10;
            else if (L >= 25)
                score += 5;
            break;
        case kRegionNarrow:
            if (L >= 60)
                score += 36;
            else if (L >= 40)
                score += 28;
            else if (L >= 30)
                score += 25;
            else if (L >= 25)
                score += 18;
            else if (L >= 20)
                score += 12;
            else if (L >= 16)
                score += 6;
            break;
        default:
            break;
    }
}

std::int32_t getSlideWaysToScore(std::string_view text, std::string_view code, std::uint32_t kind,
                                 std::int32_t& beforeDays, std::int32_t& score) {
    const std::int32_t L = longestSlideWays(text, code, kind, beforeDays);
    slideWaysLengthPoints(kind, L, score);
    return L;
}

void FilterMode_limitSlideway(const BoxInfo& box, std::int32_t& score) {
    const float x = box.maxPrice / box.minPrice;
    if (double(x) <= 1.1) {
        if (box.endIndex >= 11) score += 10;
        if (double(box.maxPrice / box.endPrice) <= 1.05) score += 10;
        if (double(box.maxPrice / box.avgPrice) <= 1.05) score += 10;
    }
    if (double(x) > 1.1 && double(x) < 1.15) score += 5;
}

void FilterMode_Quellan(const BoxInfo& box, const BoxInfo& next, std::int32_t& score) {
    if (box.endIndex != 5) return;
    if (box.trend == 1 && next.trend == 3) score += 10;
    if (double(box.minPrice / next.minPrice) < 1.03) {
        if (double(box.startPrice / next.minPrice) < 1.08 &&
            double(box.startPrice / next.maxPrice) > 0.97)
            score += 10;
        else
            score += 5;
    }
}

// ---- Stock score ------------------------------------------------------------------

std::int32_t fileterSlideWaysBefore(std::int32_t beforeDays, std::int32_t& score) {
    switch (beforeDays) {
        case 1:
            score += 5;
            break;
        case 2:
            score += 4;
            break;
        case 3:
            score += 3;
            break;
        case 4:
            score += 2;
            break;
        case 5:
            score += 1;
            break;
        default:
            break;
    }
    return 0;
}

void fileterAngleModel(float ratio, std::uint32_t bandSet, std::int32_t& score) {
    const double r = ratio;
    switch (bandSet) {
        case kRegionNarrow:
            if (r >= 0.98 && r <= 1.03)
                score += 5;
            else if (r > 1.03 && r <= 1.06)
                score += 15;
            else if (r > 1.06 && r <= 1.09)
                score += 10;
            else if (r > 1.09)
                score += 5;
            break;
        case kRegionMedium:
            if (r >= 1.03 && r <= 1.05)
                score += 15;
            else if (r > 1.05 && r <= 1.08)
                score += 10;
            else if (r > 1.08)
                score += 5;
            break;
        case kRegionWide:
            if (r >= 1.03 && r <= 1.05)
                score += 15;
            else if (r > 1.05 && r <= 1.07)
                score += 10;
            else if (r > 1.07)
                score += 5;
            break;
        default:
            break;
    }
}

void fileterAngleModelforComposite(float ratio, std::uint32_t bandSet, std::int32_t& score) {
    const double r = ratio;
    switch (bandSet) {
        case kRegionNarrow:
            if (r >= 0.98 && r <= 1.01)
                score += 5;
            else if (r > 1.01 && r <= 1.025)
                score += 15;
            else if (r > 1.025 && r <= 1.035)
                score += 10;
            else if (r > 1.035)
                score += 5;
            break;
        case kRegionMedium:
            // The lower bound is single precision; just above 1.02 earns nothing.
            if (ratio >= 1.0f && r <= 1.02)
                score += 15;
            else if (r > 1.02 && r <= 1.025)
                score += 0;
            else if (r > 1.025 && r <= 1.045)
                score += 10;
            else if (r > 1.045)
                score += 5;
            break;
        case kRegionWide:
            if (r >= 1.01 && r <= 1.025)
                score += 15;
            else if (r > 1.025 && r <= 1.04)
                score += 10;
            else if (r > 1.04)
                score += 5;
            break;
        default:
            break;
    }
}

void slopePoints(float sN, float sM, float sW, std::int32_t& score) {
    if (sN > sM && sM > sW && sN > 3.0f) {
        if (sN > 5.0f) {
            score += 5;
        } else {
            const float q = sN / ((sM + sW) * 0.5f);
            const float p = sN / sM;
            if (double(q) > 2.0 && p < 2.5f)
                score += 10;
            else if ((q > 2.5f && double(p) < 2.8) || (double(q) > 2.8 && p < 3.5f))
                score += 15;
        }
    }
    if (sN < 3.0f) score -= 10;
}

namespace {

float slopeOf(const BoxInfo& w, std::int32_t n) {
    return ((w.startPrice * 100.0f) / w.avgPrice) / static_cast<float>(n);
}

float highestOf(float a, float b, float c) {
    float k = a;
    if (b > k) k = b;
    if (c > k) k = c;
    return k;
}

}  // namespace

std::int32_t calStockScoreForComposite(std::string_view text, std::string_view code, float close,
                                       std::int32_t& score) {
    if (!code.starts_with("399") && !code.starts_with("510")) return 0;
    score = 100;
    const float C = close;

    std::int32_t bM = 0, bW = 0, bN = 0;
    const std::int32_t nM = getSlideWaysToScore(text, code, kRegionMedium, bM, score);
    const std::int32_t nW = getSlideWaysToScore(text, code, kRegionWide, bW, score);
    const std::int32_t nN = getSlideWaysToScore(text, code, kRegionNarrow, bN, score);

    BoxInfo WN, WM, WW;
    getStockTrend(text, nN, WN, bN);
    getStockTrend(text, nM, WM, bM);
    getStockTrend(text, nW, WW, bW);

    fileterSlideWaysBefore(bN, score);
    fileterSlideWaysBefore(bM, score);
    fileterSlideWaysBefore(bW, score);

    fileterAngleModelforComposite(C / WN.maxPrice, kRegionMedium, score);
    fileterAngleModelforComposite(C / WM.maxPrice, kRegionNarrow, score);
    fileterAngleModelforComposite(C / WW.maxPrice, kRegionWide, score);

    return truncateToInt(highestOf(WN.maxPrice, WM.maxPrice, WW.maxPrice));
}

float calStockScore(std::string_view text, std::string_view code, float close,
                    std::int32_t& score) {
    score = 100;
    const float C = close;
    if (isIndexCode(code))
        return static_cast<float>(calStockScoreForComposite(text, code, close, score));

    std::int32_t bM = 0, bW = 0, bN = 0;
    const std::int32_t nM = getSlideWaysToScore(text, code, kRegionMedium, bM, score);
    const std::int32_t nW = getSlideWaysToScore(text, code, kRegionWide, bW, score);
    const std::int32_t nN = getSlideWaysToScore(text, code, kRegionNarrow, bN, score);

    BoxInfo WN, WM, WW;
    getStockTrend(text, nN, WN, bN);
    getStockTrend(text, nM, WM, bM);
    getStockTrend(text, nW, WW, bW);

    fileterSlideWaysBefore(bN, score);
    fileterSlideWaysBefore(bM, score);
    fileterSlideWaysBefore(bW, score);

    fileterAngleModel(C / WN.maxPrice, kRegionMedium, score);
    fileterAngleModel(C / WM.maxPrice, kRegionNarrow, score);
    fileterAngleModel(C / WW.maxPrice, kRegionWide, score);

    slopePoints(slopeOf(WN, nN), slopeOf(WM, nM), slopeOf(WW, nW), score);

    BoxInfo W20;
    getStockTrend(text, 20, W20, 1);
    const float support = W20.minPrice / WM.minPrice;
    if (double(support) > 0.9 && double(support) < 0.99 && double(C / W20.minPrice) < 1.14 &&
        double(C / W20.maxPrice) > 0.99)
        score += 10;

    return highestOf(WN.maxPrice, WM.maxPrice, WW.maxPrice);
}

std::int32_t calStockBigRises(std::string_view text, float close) {
    const Lines lines = splitLines(text);
    const std::int32_t E = std::min(static_cast<std::int32_t>(lines.size()), 226);
    float prev = close;
    std::int32_t count = 0;
    for (std::int32_t i = 1; i < E; ++i) {
        if (lines[i].empty()) continue;
        const Fields f = fieldsOf(lines[i]);
        if (f.size() < 7) continue;
        const float c = closeOf(f);
        if (double((prev - c) / c) > 0.035) ++count;
        prev = c;
    }
    return count;
}

// ---- Rise measures ----------------------------------------------------------------

float getMaxRise(std::string_view text, std::string_view code, std::int32_t beforeDays) {
    if (isIndexCode(code)) return 1.0f;
    const Lines lines = splitLines(text);
    const std::int32_t last = lastIndex(lines);
    if (last <= beforeDays) return undefinedRatio();

    float high = 0, low = 0;
    std::int32_t taken = 0;
    for (std::int32_t i = std::max(beforeDays, 0); i < last && taken < 11; ++i) {
        if (lines[i].empty()) continue;
        const Fields f = fieldsOf(lines[i]);
        if (f.size() < 7) continue;
        if (double(volumeOf(f)) < 10.0) continue;
        const float c = closeOf(f);
        ++taken;
        if (taken == 1) {
            high = c;
            low = c;
        } else if (c > high) {
            high = c;
        } else if (c < low) {
            low = c;
        }
    }
    return high / low;
}

float getMaxPrice(std::string_view text, std::string_view code, std::int32_t lastDay) {
    if (isIndexCode(code)) return 1.0f;
    const Lines lines = splitLines(text);
    const std::int32_t last = lastIndex(lines);
    if (last < 3) return 1.0f;

    float high = 1.0f;
    std::int32_t taken = 0;
    for (std::int32_t i = 2; i < last; ++i) {
        if (utf16Length(lines[i]) < 5) continue;
        const Fields f = fieldsOf(lines[i]);
        if (f.size() < 7) continue;
        const float c = closeOf(f);
        if (c > high) high = c;
        if (taken >= lastDay) break;
        ++taken;
    }
    return high;
}

float getMaxRiseThreedays(std::string_view text, float close, float yesClose) {
    const Lines lines = splitLines(text);
    if (lines.size() <= 4) return 1.0f;
    const float r0 = close / yesClose;
    auto closeOfDay = [&](int k) {
        const Fields f = fieldsOf(lines[k]);
        return f.size() == 7 ? closeOf(f) : 0.0f;
    };
    const float c1 = closeOfDay(1), c2 = closeOfDay(2), c3 = closeOfDay(3);
    // A running maximum; an undefined first ratio is never replaced.
    float m = c2 / c3;
    if (c1 / c2 > m) m = c1 / c2;
    if (r0 > m) m = r0;
    return m;
}

// ---- Model B ------------------------------------------------------------------------

bool FilterModeB_BuyA(std::string_view text, std::string_view code, float close, float yesClose) {
    const float C = close;
    const float m3 = getMaxRiseThreedays(text, close, yesClose);
    const float P = getMaxPrice(text, code, 100);
    std::int32_t b = 0;
    const std::int32_t n = longestSlideWays(text, code, kRegionModelB, b);
    const float S =
        (getMaxRise(text, code, 2) + getMaxRise(text, code, 3)) + getMaxRise(text, code, 4);
    BoxInfo region;
    const std::uint32_t t = getStockTrend(text, n, region, b);

    return (t == 0 || t == 3) && n >= 14 && double(m3) > 1.0888 && double(S / 3.0f) < 1.169 &&
           double(C / P) > 0.98 && double(C / P) < 1.15;
}

bool FilterModeB_BuyB(std::string_view text, std::string_view code, float close, float yesClose) {
    const float C = close, Y = yesClose;
    const float H = getHisdayMaxPrice(text, 10, 3);
    if (!(double(C / H) > 1.01 && double(C / H) < 1.092 && double(C / Y) > 1.045)) return false;
    for (std::int32_t k = 3; k <= 13; ++k) {
        const auto view = getHisdayResponseString(text, k);
        const auto record = getHisdayTradeInfo(text, k, code);
        if (!view || !record) continue;
        if (FilterModeB_BuyA(*view, record->code, record->close, record->yesClose)) return true;
    }
    return false;
}

ModelB FilterModeB(std::string_view text, std::string_view code, float close, float yesClose) {
    ModelB m;
    m.buyA = FilterModeB_BuyA(text, code, close, yesClose);
    m.buyB = FilterModeB_BuyB(text, code, close, yesClose);
    return m;
}

// ---- The analysis run -----------------------------------------------------------------

namespace {

// What a run carries from step to step: the engine's per-stock state.
struct EngineState {
    std::int32_t stockScore = 100;
    std::uint32_t stockTrend = 0;
    float maxSildewayPrice5 = 1.0f;
    float maxSildewayPrice10 = 1.0f;
    bool isModeB = false;
};

}  // namespace

AnalysisResult analyzeLiteral(std::string_view historyText, const TodayTrade& today,
                              const LocalDateTime& now) {
    const std::string_view text = historyText;
    AnalysisResult out;
    EngineState state;

    // 1. Today's trade.
    state.isModeB = false;
    const std::string_view code = today.code;
    const float O = today.open;
    const float C = today.close;

    // 2. Score and key price.
    const float K = calStockScore(text, code, C, state.stockScore);

    // 3. The six windows.
    BoxInfo W5, W10, W20, W50, W180, W300;
    getStockTrend(text, 5, W5, 1);
    const std::uint32_t t10 = getStockTrend(text, 10, W10, 1);
    getStockTrend(text, 20, W20, 2);
    getStockTrend(text, 50, W50, 1);
    const std::uint32_t t180 = getStockTrend(text, 180, W180, 5);
    const std::uint32_t t300 = getStockTrend(text, 300, W300, 1);

    // 4. No candidate yet.
    std::uint32_t candidate = static_cast<std::uint32_t>(-1);

    // 5. A flat medium-term box breaking upward.
    if (double(W5.maxPrice / W180.maxPrice) > 0.97 && double(W10.avgPrice / W180.avgPrice) > 1.1 &&
        C / W180.maxPrice > 1.0f && t180 == 1 && t300 == 1 && double(C / W180.minPrice) > 1.4 &&
        double(C / W180.minPrice) < 1.6 && double(W10.maxPrice / W10.minPrice) <= 1.08 &&
        double(W50.maxPrice / W5.startPrice) <= 1.065) {
        candidate = 1;
        if (double(C / W180.maxPrice) <= 1.1 && double(C / W5.maxPrice) >= 0.96) candidate = 1001;
    }

    // 6. Breakthrough of the key price.
    if (double(C / K) >= 1.025 && double(K / W180.maxPrice) <= 1.055 &&
        double(C / W180.maxPrice) >= 1.01 && t180 == 1 && t300 == 1 && C / W180.minPrice > 1.5f &&
        double(C / W180.minPrice) < 1.8 && double(W10.maxPrice / W10.minPrice) <= 1.08) {
        const bool accel = isAcceleration(text, code, C, now);
        out.accel = accel;
        if (accel) candidate = 1000;
        if (double(C / K) <= 1.1 && double(C / W5.maxPrice) >= 0.96 && double(O / K) >= 0.97)
            candidate = 1001;
    }

    // 7. The final code.
    std::uint32_t finalCode;
    if (double(C / W180.maxPrice) >= 0.98 && double(C / W5.avgPrice) >= 1.05 &&
        double(C / W180.maxPrice) < 1.15 && double(W50.avgPrice / W180.maxPrice) >= 1.09 &&
        double(C / W180.maxPrice) >= 1.01)
        finalCode = 1;
    else if (candidate != static_cast<std::uint32_t>(-1))
        finalCode = candidate;
    else if (t10 == 2)
        finalCode = static_cast<std::uint32_t>(-1);
    else
        finalCode = t300;

    // 8. Results kept.
    state.stockTrend = finalCode;
    state.maxSildewayPrice5 = W5.endPrice;
    state.maxSildewayPrice10 = W10.endPrice;

    // 9. How far today stands from the recent highs, in percent.
    const float r20 = (C - W20.maxPrice) * 100.0f / W20.maxPrice;
    const float r5 = (C - W5.maxPrice) * 100.0f / W5.maxPrice;
    const float r10 = (C - W10.maxPrice) * 100.0f / W10.maxPrice;

    // 10. Model B, only for rising stocks near their highs.
    if (finalCode == 1 && r20 > -2.5f && r20 < 15.0f && r5 > -2.5f && r10 > -2.5f) {
        const ModelB m = FilterModeB(text, code, C, today.yesClose);
        out.buyA = m.buyA;
        out.buyB = m.buyB;
        state.isModeB = m.found();
    }

    out.trend = static_cast<std::int32_t>(state.stockTrend);
    out.score = state.stockScore;
    out.keyPrice = K;
    out.end5 = state.maxSildewayPrice5;
    out.end10 = state.maxSildewayPrice10;
    out.modeB = state.isModeB;
    out.t10 = t10;
    out.t180 = t180;
    out.t300 = t300;
    return out;
}

}  // namespace orvane::literal
