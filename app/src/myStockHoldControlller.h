#pragma once
// The holdings tab (tab 0 of the main window): the table of held stocks with
// their latest change and intraday speed, the delete and refresh buttons,
// and the notices a selection and a double-click post on the notification
// bus. The main window constructs it with its code and name fields, puts it
// into `holdingsTabLayout` and calls initStockArray() whenever the tab is
// shown and after adding a stock.
//
// Threads: initStockArray() may run on any thread; rebuilds are serialised
// by the controller's lock, which also guards the list. The refresh loop
// (started by the first press of the refresh button) rebuilds every 5
// seconds on its own thread and is stopped and joined by stopRefreshLoop()
// or the destructor. Widgets are touched only on the main thread
// (UpdateMianUI, posted by updatUI()).

#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QWidget>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "HoldingSort.h"

namespace Ui {
class myStockHoldControlller;
}

namespace orvane::app {

class MyStockHoldModel;

/// The main window's fields the holdings tab writes on a double-click.
struct HoldingsWindowFields {
    QPointer<QLineEdit> stockCodeTokenField;
    QPointer<QLabel> stockCodeName;
};

class myStockHoldControlller : public QWidget {
    Q_OBJECT

  public:
    explicit myStockHoldControlller(HoldingsWindowFields fields, QWidget* parent = nullptr);
    ~myStockHoldControlller() override;

    /// Reads the holdings folder again (any thread), then updatUI().
    void initStockArray();
    /// Fetches the code's quote into the holdings folder unless it is held
    /// already (asynchronous; the caller validates the code and rebuilds).
    void addOneStockToMyStockList(const std::string& code);
    /// Whether the holdings folder has a file for the code.
    bool isExsitOnHoldStockArray(const std::string& code) const;

    // The user's actions (main thread).
    void deleteStockAction();
    void refreshAction();
    void DoubleClickAction();
    void tableViewSelectionDidChange();
    void didClickTableColumn(int column);

    /// Main thread: the table from the list, the buttons' enabled states.
    void UpdateMianUI();
    /// Any thread: UpdateMianUI on the main thread, without waiting.
    void updatUI();
    /// Ends the refresh loop and waits for it (at quit).
    void stopRefreshLoop();

    /// A copy of the list in its present order.
    HoldingList myHoldStockList() const;
    bool sortAscending() const { return sortAscending_; }
    Ui::myStockHoldControlller& ui() { return *ui_; }

  signals:
    /// The table shows the list anew.
    void tableReloaded();

  private:
    /// The first selected row's record, or nothing.
    const StockRecord* selectedRecord() const;
    void selectCode(const std::string& code);

    std::unique_ptr<Ui::myStockHoldControlller> ui_;
    MyStockHoldModel* model_;
    HoldingsWindowFields fields_;

    mutable std::mutex lock_;
    HoldingList myHoldStockList_;

    bool sortAscending_ = false;
    bool restoringSelection_ = false;
    bool refreshStarted_ = false;
    std::jthread refreshLoop_;
};

}  // namespace orvane::app
