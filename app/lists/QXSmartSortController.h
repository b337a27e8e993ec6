#pragma once
// The smart sort list: the data server picks stocks to watch; a worker
// keeps their quote files current and, after each completed fetch, the
// list is rebuilt from them: the stocks standing more than 4% above the
// lower of their day's low and previous close, greatest jump first.
//
// The watch starts on the button (or startWatch) and runs until stopped:
// it clears the watch folder, waits 5 seconds, forgets the stored list of
// watched stocks, then fetches the server's list and their quotes, and
// fetches both again every 10 seconds. Both steps run on one worker
// thread; stopping wakes it, cancels what is in flight and joins it. The
// worker reaches the table only through the main-thread dispatcher.
//
// A double-clicked row tells the main window its stock (stockPicked); a
// failed fetch of the server's list, why (statusMessage).

#include <QString>
#include <QWidget>
#include <chrono>
#include <memory>
#include <mutex>
#include <stop_token>
#include <thread>

#include "orvane/market/StockRecord.h"

namespace Ui {
class QXSmartSortController;
}

namespace orvane::app {

class RowTableModel;

struct SmartWatchTimings {
    std::chrono::milliseconds startDelay{5000};
    std::chrono::milliseconds period{10000};
};

class QXSmartSortController : public QWidget {
    Q_OBJECT
  public:
    explicit QXSmartSortController(QWidget* parent = nullptr, SmartWatchTimings timings = {});
    ~QXSmartSortController() override;

    /// The one smart sort list of the window (null when there is none).
    static QXSmartSortController* defQXSmartSortController();

    /// Starts the watch on its worker; nothing when it runs already.
    void startWatch();
    /// Stops the watch and waits for its worker; idempotent.
    void stopWatch();
    bool isWatching() const;

    /// Rebuilds the list from the watch folder (any thread, one rebuild at
    /// a time) and has the table show it.
    void initStockArray();
    /// Main thread: reloads the table and posts the selected row's code.
    void updateMainUI();
    void tableViewSelectionDidChange();
    void DoubleClickAction();

    /// The rows the table shows.
    const std::vector<StockRecord>& SmartScortList() const;
    Ui::QXSmartSortController& ui() { return *ui_; }
    RowTableModel& model() { return *model_; }

  signals:
    /// A rebuild reached the table.
    void smartListRebuilt(int rows);
    void stockPicked(const QString& code, const QString& name);
    void statusMessage(const QString& text);

  private:
    void detachSmartInspectReportThread(std::stop_token stop);
    void detachSmartInspectArrayUIThread(std::stop_token stop);
    /// The server's list, then the watched stocks' quotes; false when
    /// stopped before both ended.
    bool fetchWatchedStocks(std::stop_token stop);
    void showRows(std::vector<StockRecord> rows);
    int selectedRow() const;

    std::unique_ptr<Ui::QXSmartSortController> ui_;
    SmartWatchTimings timings_;
    RowTableModel* model_ = nullptr;
    std::mutex rebuildMutex_;
    std::jthread watch_;
};

}  // namespace orvane::app
