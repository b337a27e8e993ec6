#pragma once
// The chart window's keys: PageUp and PageDown step through the stocks of
// the list the chart was opened from, Home and End jump to its ends, and F5
// goes back to the main window (where F5 opens the shown stock's chart).
// Each key is an action of the window, so it works whichever chart has the
// focus.

#include <QObject>
#include <functional>
#include <string>
#include <vector>

#include "keyboard/ChartBrowseList.h"

class QWidget;

namespace orvane::app {

class ChartKeys : public QObject {
    Q_OBJECT
  public:
    /// `openChart` shows a stock's chart in place of the one on screen; `showMainWindow`
    /// brings the main window to the front.
    ChartKeys(QWidget* chartWindow, std::function<void(const std::string& code)> openChart,
              std::function<void()> showMainWindow);

    /// A chart was opened for `code`, from `list` or (empty) from no list.
    void chartOpened(const std::string& code, const std::vector<std::string>& list = {});
    /// PageUp, PageDown, Home, End: opens the stock the step goes to.
    void browse(BrowseStep step);
    const ChartBrowseList& browseList() const { return list_; }

  private:
    std::function<void(const std::string&)> openChart_;
    ChartBrowseList list_;
};

}  // namespace orvane::app
