#include "orvane/market/ForwardAdjustment.h"

#include <algorithm>
#include <cmath>

namespace orvane {

namespace {

// A day's factor beyond a thousandth or a thousandfold is no ex-rights day
// (a bonus of 999 shares for 1 would be 0.001): a typing error, left out.
bool plausibleFactor(double factor) {
    return factor >= 1e-3 && factor <= 1e3;
}

// The index of the first bar on or after `date`, bars oldest first.
std::size_t firstBarFrom(const std::vector<DailyBar>& bars, const std::string& date) {
    const auto at =
        std::lower_bound(bars.begin(), bars.end(), date,
                         [](const DailyBar& bar, const std::string& d) { return bar.date < d; });
    return static_cast<std::size_t>(at - bars.begin());
}

}  // namespace

double exRightsReferencePrice(const ExRightsEvent& event, double close) {
    const double newShares = (event.bonusPer10 + event.transferPer10 + event.rightsPer10) / 10;
    return (close - event.cashPer10 / 10 + event.rightsPrice * event.rightsPer10 / 10) /
           (1 + newShares);
}

std::vector<AdjustmentStep> stepsFromEvents(const std::vector<DailyBar>& bars,
                                            const std::vector<ExRightsEvent>& events) {
    std::vector<ExRightsEvent> sorted = events;
    std::stable_sort(
        sorted.begin(), sorted.end(),
        [](const ExRightsEvent& a, const ExRightsEvent& b) { return a.date < b.date; });
    std::vector<AdjustmentStep> steps;
    double price = 0;  // the close the next event of the same date starts from
    for (std::size_t i = 0; i < sorted.size(); ++i) {
        const ExRightsEvent& e = sorted[i];
        const std::size_t exDay = firstBarFrom(bars, e.date);
        if (exDay == 0 || exDay == bars.size()) continue;
        const double close = bars[exDay - 1].close;
        if (i == 0 || sorted[i - 1].date != e.date || price <= 0) price = close;
        const double reference = exRightsReferencePrice(e, price);
        if (!(reference > 0) || !(close > 0) || !plausibleFactor(reference / close)) continue;
        if (!steps.empty() && steps.back().exDate == e.date)
            steps.back().factor = reference / close;
        else
            steps.push_back({e.date, reference / close});
        price = reference;
    }
    return steps;
}

std::vector<AdjustmentStep> stepsFromAdjustmentFactors(
    const std::vector<DailyBar>& bars, const std::vector<std::pair<std::string, double>>& factors) {
    std::vector<std::pair<std::string, double>> sorted = factors;
    std::sort(sorted.begin(), sorted.end());
    std::vector<AdjustmentStep> steps;
    double last = 0;
    auto next = sorted.begin();
    for (const DailyBar& bar : bars) {
        double factor = last;
        for (; next != sorted.end() && next->first <= bar.date; ++next)
            if (next->second > 0) factor = next->second;
        if (last > 0 && factor != last && plausibleFactor(last / factor))
            steps.push_back({bar.date, last / factor});
        last = factor;
    }
    return steps;
}

std::vector<AdjustmentStep> stepsFromPreviousCloses(const std::vector<DailyBar>& bars,
                                                    const std::vector<double>& previousCloses) {
    std::vector<AdjustmentStep> steps;
    for (std::size_t i = 1; i < bars.size() && i < previousCloses.size(); ++i) {
        const double before = bars[i - 1].close, given = previousCloses[i];
        if (given > 0 && before > 0 && plausibleFactor(given / before) &&
            std::fabs(std::round(given * 100) - std::round(before * 100)) >= 1)
            steps.push_back({bars[i].date, given / before});
    }
    return steps;
}

std::vector<DailyBar> forwardAdjusted(std::vector<DailyBar> bars,
                                      std::vector<AdjustmentStep> steps) {
    std::sort(steps.begin(), steps.end(),
              [](const AdjustmentStep& a, const AdjustmentStep& b) { return a.exDate > b.exDate; });
    double scale = 1;
    auto step = steps.begin();
    for (auto bar = bars.rbegin(); bar != bars.rend(); ++bar) {
        for (; step != steps.end() && step->exDate > bar->date; ++step) scale *= step->factor;
        if (scale == 1) continue;
        bar->open *= scale;
        bar->high *= scale;
        bar->low *= scale;
        bar->close *= scale;
        bar->volume /= scale;
    }
    return bars;
}

}  // namespace orvane
