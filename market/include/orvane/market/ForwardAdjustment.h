#pragma once
// Proportional forward adjustment (等比前复权) of a stock's daily bars: the
// newest prices stay as traded and every day before an ex-rights day is
// multiplied by that day's factor, so that a bonus issue or a dividend no
// longer reads as a fall. Volumes are divided by the same factor. The
// factors come from the events themselves, from a cumulative adjustment
// factor a day, or from the exchange's ex-rights previous close.

#include <string>
#include <utility>
#include <vector>

#include "orvane/market/CsvHistory.h"

namespace orvane {

/// One ex-rights event, its amounts per 10 shares.
struct ExRightsEvent {
    std::string date;  // the ex-date, yyyy-MM-dd
    double cashPer10 = 0;
    double bonusPer10 = 0;     // 送股
    double transferPer10 = 0;  // 转增
    double rightsPer10 = 0;    // 配股
    double rightsPrice = 0;    // yuan a rights share
};

/// The ex-rights reference price of a share that closed at `close` before
/// the event: (C - cash/10 + rightsPrice * rights/10) / (1 + r), with r the
/// new shares per share, (bonus + transfer + rights) / 10.
double exRightsReferencePrice(const ExRightsEvent& event, double close);

/// Every day before `exDate` is multiplied by `factor`.
struct AdjustmentStep {
    std::string exDate;
    double factor = 1;
};

/// The steps of events on bars given oldest first. An event's close is the
/// last close before its ex-date, so an event on a suspended day applies to
/// the days before it; events on one date are taken in turn, each on the
/// price the one before left; events before the second bar or after the last
/// change nothing.
std::vector<AdjustmentStep> stepsFromEvents(const std::vector<DailyBar>& bars,
                                            const std::vector<ExRightsEvent>& events);

/// The steps of a cumulative adjustment factor a day (date, factor), as data
/// vendors publish it: wherever the factor changes from one bar to the next,
/// the days before are scaled by the old factor over the new. A bar without
/// a factor keeps the one before.
std::vector<AdjustmentStep> stepsFromAdjustmentFactors(
    const std::vector<DailyBar>& bars, const std::vector<std::pair<std::string, double>>& factors);

/// The steps of the exchange's previous close a bar (`previousCloses[i]` for
/// `bars[i]`, 0 where unknown): a day whose previous close differs from the
/// last close by a cent or more is an ex-rights day. In all three, a factor
/// beyond a thousandth or a thousandfold is taken for a typing error and
/// left out.
std::vector<AdjustmentStep> stepsFromPreviousCloses(const std::vector<DailyBar>& bars,
                                                    const std::vector<double>& previousCloses);

/// The bars, oldest first, with every step applied.
std::vector<DailyBar> forwardAdjusted(std::vector<DailyBar> bars,
                                      std::vector<AdjustmentStep> steps);

}  // namespace orvane
