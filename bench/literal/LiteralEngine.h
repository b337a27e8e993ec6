#pragma once
// A deliberately naive analysis engine, kept as the yardstick for the real one.
//
// Every operation here receives the whole history text and splits it again,
// line by line and field by field, exactly as the rules describe; nothing is
// cached between calls. That makes it slow, which is the point: it is the
// baseline of the engine benchmark, and the equivalence test checks that the
// fast engine in analysis/ gives bit-for-bit the same answers.
//
// Arithmetic: prices, means and ratios are float; a threshold is a double
// (the float is widened for the comparison) unless the rule marks it single,
// in which case it is a float constant. Division by zero is left alone: the
// resulting inf or NaN fails the comparisons that use it.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "orvane/analysis/AnalysisResult.h"
#include "orvane/core/LocalTime.h"

namespace orvane::literal {

/// Statistics of one window of closes.
struct BoxInfo {
    float minPrice = 0;
    float maxPrice = 0;
    float avgPrice = 0;
    float startPrice = 1.0f;  // newest counted close
    float endPrice = 1.0f;    // oldest counted close
    std::int32_t endIndex = 0;
    std::uint32_t trend = 0;
};

// Region kinds (wide, medium, narrow, model B).
inline constexpr std::uint32_t kRegionWide = 1001;
inline constexpr std::uint32_t kRegionMedium = 1002;
inline constexpr std::uint32_t kRegionNarrow = 1003;
inline constexpr std::uint32_t kRegionModelB = 1004;

/// A day lag outside 0..3 for texts without a usable newest date.
inline constexpr std::int32_t kNoDayLag = INT32_MIN;

// ---- Windows, trend codes, the historical-day helpers -----------------------

/// Fills `box` with the window of at most `days` valid days starting at day
/// offset `beforeToday` and returns its trend code.
std::uint32_t getStockTrend(std::string_view text, std::int32_t days, BoxInfo& box,
                            std::int32_t beforeToday);
/// The window trend code (0 unclear, 1 rising, 2 falling, 3 sideways) of a
/// window's statistics, `dayCount` being the number of days counted.
std::uint32_t classifyWindow(const BoxInfo& box, std::int32_t dayCount);

/// Trading days the text lags behind `now` (kNoDayLag without a dated line).
std::int32_t daysBefortoday(std::string_view text, const LocalDateTime& now);
/// Whether a rising stock is speeding up (today's close against the blocks of
/// three days before it).
bool isAcceleration(std::string_view text, std::string_view code, float close,
                    const LocalDateTime& now);

/// The text as it stood with day `day` as its newest day.
std::optional<std::string> getHisdayResponseString(std::string_view text, std::int32_t day);

struct HisdayRecord {
    std::string code;
    float open = 0;
    float close = 0;
    float yesClose = 0;
    std::string date;
};
/// Day `day`'s trade, as today's trade would read; none for missing or short lines.
std::optional<HisdayRecord> getHisdayTradeInfo(std::string_view text, std::int32_t day,
                                               std::string_view code);
/// Highest close of the 7-field lines after `beforeDay` up to `lastDays`; 0.1 when none.
float getHisdayMaxPrice(std::string_view text, std::int32_t lastDays, std::int32_t beforeDay);

// ---- Sideways regions and box rules -----------------------------------------

/// Length of the sideways region of `kind` starting at day offset `fromDay`.
std::int32_t getStockSildeWaysRgn(std::string_view text, std::string_view code,
                                  std::int32_t fromDay, std::uint32_t kind);
/// The longest region over start offsets 1..10 (the smallest offset on ties),
/// its offset in `beforeDays`; adds nothing to any score.
std::int32_t longestSlideWays(std::string_view text, std::string_view code, std::uint32_t kind,
                              std::int32_t& beforeDays);
/// longestSlideWays, then the length points of `kind` for the winning length.
std::int32_t getSlideWaysToScore(std::string_view text, std::string_view code, std::uint32_t kind,
                                 std::int32_t& beforeDays, std::int32_t& score);
void slideWaysLengthPoints(std::uint32_t kind, std::int32_t length, std::int32_t& score);

void FilterMode_limitSlideway(const BoxInfo& box, std::int32_t& score);
void FilterMode_Quellan(const BoxInfo& box, const BoxInfo& next, std::int32_t& score);

// ---- Stock score --------------------------------------------------------------

/// Start-day points for a region starting at `beforeDays`; always returns 0.
std::int32_t fileterSlideWaysBefore(std::int32_t beforeDays, std::int32_t& score);
void fileterAngleModel(float ratio, std::uint32_t bandSet, std::int32_t& score);
void fileterAngleModelforComposite(float ratio, std::uint32_t bandSet, std::int32_t& score);
/// Slope points from the narrow, medium and wide region windows' slopes.
void slopePoints(float sN, float sM, float sW, std::int32_t& score);

/// Sets `score` and returns the key price (the composite variant for "399" codes).
float calStockScore(std::string_view text, std::string_view code, float close, std::int32_t& score);
/// The index variant for codes beginning "399" or "510"; 0 (score untouched)
/// for any other code. The key price truncated toward zero.
std::int32_t calStockScoreForComposite(std::string_view text, std::string_view code, float close,
                                       std::int32_t& score);
/// Day-to-day rises above 3.5% among the last 225 lines, today included.
std::int32_t calStockBigRises(std::string_view text, float close);

// ---- Rise measures ------------------------------------------------------------

/// Highest over lowest close of eleven valid days from `beforeDays`.
float getMaxRise(std::string_view text, std::string_view code, std::int32_t beforeDays);
/// Highest close of the first lastDay + 1 well-formed lines from day 2, at least 1.0.
float getMaxPrice(std::string_view text, std::string_view code, std::int32_t lastDay);
/// The largest single-day rise of today and days 1 to 3.
float getMaxRiseThreedays(std::string_view text, float close, float yesClose);

// ---- Model B -------------------------------------------------------------------

bool FilterModeB_BuyA(std::string_view text, std::string_view code, float close, float yesClose);
bool FilterModeB_BuyB(std::string_view text, std::string_view code, float close, float yesClose);

struct ModelB {
    bool buyA = false;
    bool buyB = false;
    bool found() const { return buyA || buyB; }
};
/// Both buy points; the model holds when either does.
ModelB FilterModeB(std::string_view text, std::string_view code, float close, float yesClose);

// ---- The analysis run ----------------------------------------------------------

/// One analysis run of a stock: score, key price, final trend code, gain
/// bases and model B, each step as written and in its written order.
AnalysisResult analyzeLiteral(std::string_view historyText, const TodayTrade& today,
                              const LocalDateTime& now);

}  // namespace orvane::literal
