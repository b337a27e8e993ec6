#pragma once
// Builds history texts for tests: a header, then day lines newest first.

#include <string>
#include <vector>

#include "orvane/analysis/HistoryLines.h"

namespace orvane::test {

class HistoryBuilder {
  public:
    /// Dates count back one calendar day a line from `newestDate`.
    explicit HistoryBuilder(std::string newestDate = "2025-09-03");

    /// A day line "date,open,high,low,close,volume,close".
    HistoryBuilder& day(double close, double volume = 100000, double open = -1);
    /// A day line with its own high and low.
    HistoryBuilder& candle(double open, double high, double low, double close, double volume);
    HistoryBuilder& days(const std::vector<double>& closesNewestFirst, double volume = 100000);
    /// A line taken as it is.
    HistoryBuilder& raw(std::string line);
    /// `count` days all closing at `close`.
    HistoryBuilder& flat(int count, double close);
    /// `count` days from `close` on, each older day closing `stepBack` higher
    /// and trading `volumeStepBack` more (negative steps: a rise into today).
    HistoryBuilder& ramp(int count, double close, double stepBack, double volume = 100000,
                         double volumeStepBack = 0);

    /// The text, each line ended by "\n".
    std::string text() const;

  private:
    std::string dateOf(int index) const;
    std::string newest_;
    std::vector<std::string> lines_;
};

/// A history text kept together with its parse.
struct ParsedText {
    explicit ParsedText(std::string t) : text(std::move(t)), history(text) {}
    HistoryView view() const { return HistoryView(history); }
    std::string text;
    ParsedHistory history;
};

}  // namespace orvane::test
