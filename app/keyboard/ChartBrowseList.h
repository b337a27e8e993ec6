#pragma once
// The stocks the chart window steps through with PageUp, PageDown, Home and
// End: the list the chart was opened from (the holdings, a screening, a
// score list, the back-test's signals), in the order it showed them, and
// the place of the stock on screen in it.

#include <optional>
#include <string>
#include <vector>

namespace orvane::app {

enum class BrowseStep { Previous, Next, First, Last };

class ChartBrowseList {
  public:
    /// A chart opened for `code` from `list` (its stocks in order, repeats
    /// dropped). Opened with no list, a stock of the present list keeps the
    /// list; any other stock is a list of its own.
    void opened(const std::string& code, const std::vector<std::string>& list = {});
    /// The stock a step goes to, which becomes the present one; nothing at
    /// the list's end in that direction.
    std::optional<std::string> step(BrowseStep step);

    const std::vector<std::string>& codes() const { return codes_; }
    /// The present stock's place, or -1.
    int position() const { return position_; }

  private:
    std::vector<std::string> codes_;
    int position_ = -1;
};

}  // namespace orvane::app
