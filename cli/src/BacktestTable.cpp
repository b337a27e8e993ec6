#include "BacktestTable.h"

#include <algorithm>
#include <cmath>

#include "orvane/core/NumberText.h"

namespace orvane::cli {

using namespace orvane::backtest;

namespace {

std::string percent(double fraction, bool sign) {
    if (std::isnan(fraction)) return "-";
    return format(sign ? "%+.2f%%" : "%.2f%%", fraction * 100);
}

// The bootstrap interval of the mean excess, marked with * when it excludes 0.
std::string interval(const HorizonFigures& f) {
    if (std::isnan(f.excessLow)) return "-";
    return "[" + percent(f.excessLow, true) + "," + percent(f.excessHigh, true) + "]" +
           (f.excessSignificant() ? "*" : "");
}

std::string pValue(const HorizonFigures& f) {
    return std::isnan(f.excessP) ? "-" : format("%.3f", f.excessP);
}

const char* headingOf(Grouping g) {
    switch (g) {
        case Grouping::All:
            return "Every verdict";
        case Grouping::Trend:
            return "By trend code";
        case Grouping::ModelB:
            return "By model B";
        case Grouping::ScoreBand:
            return "By score";
        case Grouping::Month:
            return "By month of the signal";
        case Grouping::Rule:
            return "By rule";
    }
    return "";
}

std::string nameOf(const GroupSummary& g) {
    if (g.grouping == Grouping::Trend || g.grouping == Grouping::Rule) return g.key + " " + g.label;
    return g.label;
}

std::string marketLine(const Results& r) {
    std::string line = "Market baseline (every stock entered the same way, equal-weighted):";
    for (std::size_t h = 0; h < r.options.horizons.size(); ++h) {
        double sum = 0;
        std::size_t days = 0;
        for (const BaselineDay& b : r.baseline)
            if (!std::isnan(b.forward[h])) sum += b.forward[h], ++days;
        line += format(" %dd %s", r.options.horizons[h],
                       percent(days ? sum / static_cast<double>(days) : NAN, true).c_str());
    }
    return line + " (mean over the days)\n";
}

}  // namespace

std::string backtestTables(const Results& r) {
    const Options& o = r.options;
    std::string out = format(
        "Back-test of %zu verdicts of %zu stocks, %s to %s, entry at %s%s.\n"
        "Past data, not advice: what these verdicts were followed by, not what will follow.\n",
        r.signals.size(), r.stocks.size(), o.from.c_str(), o.to.c_str(),
        o.entry == EntryPrice::NextOpen ? "the next day's open" : "the signal day's close",
        o.tradableOnly ? ", limit-up entries left out" : "");
    out += marketLine(r);
    out += o.costs.charged
               ? format(
                     "Net: after the costs of a %.0f yuan trade (commission %.4g%%, at least "
                     "%g yuan; stamp duty and transfer fee of the day).\n",
                     o.tradeSize, o.costs.commission * 100, o.costs.minCommission)
               : std::string("Net: no costs charged (--no-costs).\n");
    out += format(
        "The excess's 95%% interval and p-value come from %zu resamples of whole signal days in "
        "blocks of twice the horizon (seed %llu); * marks an interval that excludes 0, - too few "
        "days for blocks.\n",
        o.resamples, static_cast<unsigned long long>(o.seed));
    const char* header = "%-30s %4s %9s %9s %9s %8s %8s %7s %8s %10s %-19s %6s\n";
    Grouping last = Grouping::Month;
    bool first = true;
    for (const GroupSummary& g : r.groups) {
        if (first || g.grouping != last) {
            out += format("\n%s\n", headingOf(g.grouping));
            out += format(header, "group", "days", "signals", "mean", "net", "median", "share>0",
                          "excess", "worst dd", "incomplete", "excess 95% interval", "p");
            last = g.grouping;
            first = false;
        }
        for (std::size_t h = 0; h < g.horizons.size(); ++h) {
            const HorizonFigures& f = g.horizons[h];
            out +=
                format("%-30s %4d %9zu %9s %9s %8s %8s %7s %8s %10zu %-19s %6s\n",
                       h == 0 ? nameOf(g).c_str() : "", f.horizon, f.signals,
                       percent(f.mean, true).c_str(), percent(f.meanNet, true).c_str(),
                       percent(f.median, true).c_str(), percent(f.positiveShare, false).c_str(),
                       percent(f.meanExcess, true).c_str(), percent(f.worstDrawdown, true).c_str(),
                       f.incomplete, interval(f).c_str(), pValue(f).c_str());
        }
        std::size_t delayed = 0;
        for (const HorizonFigures& f : g.horizons) delayed = std::max(delayed, f.delayedExits);
        if (delayed)
            out += format(
                "%-30s up to %zu exits moved past a day without a sale (suspended or "
                "at the limit down)\n",
                "", delayed);
        if (g.limitUp || g.notFilled)
            out += format("%-30s %zu entries at the limit-up price, %zu not filled (suspended)\n",
                          "", g.limitUp, g.notFilled);
    }
    return out;
}

}  // namespace orvane::cli
