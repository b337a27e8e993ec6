#pragma once
// The holdings tab (tab 0 of the main window): the table of held stocks with
// their latest change and intraday speed, the delete and refresh buttons,
// and the notices a selection and a double-click post on the notification
// bus. It tells the main window through signals: the stock of a
// double-clicked row (stockPicked) and why an add was refused
// (statusMessage). The main window calls initStockArray() whenever the tab
// is shown.
//
// A rebuild orders the rows by speed until the user sorts by a column; from
// then on by that column, in the direction of the last click.
//
// Threads: initStockArray() may run on any thread; rebuilds are serialised
// by the controller's lock, which also guards the list. The refresh loop
// rebuilds every 5 seconds on its own thread, shown or not, so that the
// rows follow the quote files the holdings' quote worker keeps current. It
// starts with the first press of the refresh button or the first holding
// added (from any tab), whichever comes first, and is stopped and joined by
// stopRefreshLoop() or the destructor. Widgets are touched only on the main
// thread (updateMainUI, posted by updatUI()).
//
// A holding's cost and quantity (成本…, or the row's menu) live in the
// positions' file; the table shows its market value, floating profit and
// their ratio, and the line under it their totals.

#include <QPointer>
#include <QString>
#include <QWidget>
#include <chrono>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "holdings/HoldingSort.h"

class QLabel;

namespace Ui {
class MyStockHoldController;
}

namespace orvane::app {

class MyStockHoldModel;

class MyStockHoldController : public QWidget {
    Q_OBJECT

  public:
    static constexpr std::chrono::milliseconds kRefreshPeriod{5000};

    explicit MyStockHoldController(QWidget* parent = nullptr,
                                   std::chrono::milliseconds refreshPeriod = kRefreshPeriod);
    ~MyStockHoldController() override;

    /// Reads the holdings folder again (any thread), then updatUI().
    void initStockArray();
    /// Fetches the code's quote into the holdings folder (asynchronous) and
    /// starts the refresh loop, which shows the new row once the quote is
    /// in. False when nothing is fetched: the code is held already, or it
    /// is not in the code table (refused, with the reason as statusMessage).
    bool addOneStockToMyStockList(const std::string& code);
    /// Whether the holdings folder has a file for the code.
    bool isExsitOnHoldStockArray(const std::string& code) const;

    // The user's actions (main thread).
    void deleteStockAction();
    /// Removes a holding (its file) and shows the list without it.
    void removeHolding(const std::string& code);
    /// Starts the refresh loop; nothing when it runs already.
    void refreshAction();
    bool isRefreshing() const { return refreshStarted_; }
    void DoubleClickAction();
    void tableViewSelectionDidChange();
    void didClickTableColumn(int column);

    /// Keeps the code's position (a refusal when the cost or the quantity
    /// cannot be kept; the save's failure; or nothing), or takes it away.
    std::optional<std::string> setPosition(const std::string& code,
                                           const std::optional<Position>& position);
    /// The positions as last read.
    Positions positions() const;
    /// The selected holding's position in its dialog (the button 成本…).
    void editPositionAction();
    /// The total line under the table.
    QLabel* totalLine() const { return totalLine_; }

    /// Main thread: the table from the list, the buttons' enabled states.
    void updateMainUI();
    /// Any thread: updateMainUI on the main thread, without waiting.
    void updatUI();
    /// Ends the refresh loop and waits for it (at quit).
    void stopRefreshLoop();

    /// A copy of the list in its present order.
    HoldingList myHoldStockList() const;
    bool sortAscending() const { return sortAscending_; }
    Ui::MyStockHoldController& ui() { return *ui_; }

  signals:
    /// The table shows the list anew.
    void tableReloaded();
    /// A row was double-clicked: the main window shows its stock.
    void stockPicked(const QString& code, const QString& name);
    /// A line for the main window's status field.
    void statusMessage(const QString& text);

  private:
    /// The first selected row's record, or nothing.
    const StockRecord* selectedRecord() const;
    void selectCode(const std::string& code);

    std::unique_ptr<Ui::MyStockHoldController> ui_;
    MyStockHoldModel* model_;
    std::chrono::milliseconds refreshPeriod_;

    QLabel* totalLine_;
    mutable std::mutex lock_;
    HoldingList myHoldStockList_;
    Positions positions_;
    /// The column last clicked and its direction then (under the lock);
    /// empty before the first click: the rebuilds' order is by speed.
    std::string sortColumn_;
    bool sortColumnAscending_ = false;

    bool sortAscending_ = false;
    bool restoringSelection_ = false;
    bool refreshStarted_ = false;
    std::jthread refreshLoop_;
};

}  // namespace orvane::app
