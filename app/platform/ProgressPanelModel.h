#pragma once
// What the progress panel shows, apart from its widgets: shown or not, the
// maximum, and the percent text and bar value after each step. The panel
// (QXProcessUIController) applies these answers to its window.

#include <optional>
#include <string>

namespace orvane::app {

/// The percent label of a freshly shown panel.
inline constexpr const char* kProgressStartText = "0.0 %";

class ProgressPanelModel {
  public:
    /// What one step shows: bar value, percent label, and whether the panel
    /// closes after it (the last step reached the maximum).
    struct Step {
        int barValue = 0;
        std::string percentText;
        bool closes = false;
    };

    /// Shown, at zero of `maxValue` (at least 1).
    void show(int maxValue);
    void close() { shown_ = false; }

    /// Step `value` (0-based) of the work: V := value + 1, capped at the
    /// maximum; the label is (V * 100) / max in integers, "%.f %%"-formatted.
    /// Nothing while closed; a closing step also closes the model.
    std::optional<Step> advance(int value);

    bool isShown() const { return shown_; }
    int maxValue() const { return maxValue_; }

  private:
    int maxValue_ = 1;
    bool shown_ = false;
};

}  // namespace orvane::app
