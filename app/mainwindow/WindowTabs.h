#pragma once
// The main window's tab view and its lists: holdings (tab 0), the shown
// stock's history (tab 2), the stock filter (tab 4), the score and smart
// lists (tab 5), the watch lists (the last tab). A list's picked stock, its status messages and its
// runs reach the window through the signals here; the history tab follows the shown stock.

#include <QObject>
#include <string>
#include <vector>

class QAbstractItemView;
class QTabWidget;

namespace Ui {
class QXDocument;
}

namespace orvane::app {

class FilterStockUIController;
class MyStockHoldController;
class OneHisStockController;
class QXScoreController;
class QXSmartSortController;
class ShownStock;
class WatchListController;

class WindowTabs : public QObject {
    Q_OBJECT
  public:
    WindowTabs(Ui::QXDocument& ui, ShownStock& shown, QObject* parent = nullptr);

    /// The tab buttons' action: tags 1001 on select tabs 0 on; opening a tab
    /// loads or computes what it shows.
    void switchTableViewAction(int tag);
    void showTab(int index) { switchTableViewAction(1001 + index); }
    /// Stops every list's loop and run (on quit).
    void stopAll();

    MyStockHoldController* holdings() const { return holdings_; }
    OneHisStockController* history() const { return history_; }
    FilterStockUIController* filter() const { return filter_; }
    QXScoreController* scores() const { return scores_; }
    QXSmartSortController* smartSort() const { return smartSort_; }
    /// The tables whose rows are stocks: holdings, history, filter, scores,
    /// smart watch.
    std::vector<QAbstractItemView*> stockViews() const;
    WatchListController* watchLists() const { return watchLists_; }

  Q_SIGNALS:
    void statusMessage(const std::string& text);

  private:
    Ui::QXDocument& ui_;
    ShownStock& shown_;
    MyStockHoldController* holdings_;
    OneHisStockController* history_;
    FilterStockUIController* filter_;
    QXScoreController* scores_;
    QXSmartSortController* smartSort_;
    WatchListController* watchLists_;
};

}  // namespace orvane::app
