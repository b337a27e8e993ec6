#pragma once
// The stock filter tab: one table of ranked stocks in four modes chosen by
// the segmented control: the day's top gainers (as many as the count
// pop-up says), the stocks worth watching today, and the 5-day and 10-day
// rankings. The last three show the files the gains ranking report wrote
// for today; when today's file is not there yet, choosing the mode starts
// that report on its own thread and the mode shows its rows once chosen
// again after the report ended.
//
// It tells the main window through signals: the stock of a double-clicked
// row (stockPicked), no stock when it lists anew with nothing selected while
// on screen (shownStockCleared), notes on bad files (statusMessage), and the
// report's run (runStarted, runEnded: the window shows its stop button in
// between and calls stopRun() when it is pressed). Each run has its own
// stop token, requested by stopRun() or the tab's destruction only.
//
// Main thread only; the report's thread reaches the tab only through the
// main-thread dispatcher.

#include <QPointer>
#include <QString>
#include <QWidget>
#include <memory>
#include <stop_token>
#include <string>

#include "orvane/market/StockRecord.h"

namespace Ui {
class FilterStockUIController;
}

namespace orvane::app {

class RowTableModel;

class FilterStockUIController : public QWidget {
    Q_OBJECT
  public:
    explicit FilterStockUIController(QWidget* parent = nullptr);
    ~FilterStockUIController() override;

    // The segmented control's and the count pop-up's actions.
    void setSelectSegmentAction(int segment);
    void selectGainsNumAction() { updateAllStock(); }
    /// Mode 0: the top gainers for the pop-up's count.
    void updateAllStock();
    /// Modes 1 to 3: today's result file of the mode (none in mode 0).
    void processUISeletedStockResult();
    /// Starts today's gains ranking report on its own thread; false when
    /// one is already running.
    bool execFilterStockAction();
    /// Index field, caption and pop-up for the mode; the selected row's
    /// notice, or shownStockCleared when none is selected.
    void updateMainUI();
    void DoubleClickAction();
    void tableViewSelectionDidChange();
    /// A click on the header of a column (by its position).
    void didClickTableColumn(int column);

    const std::vector<StockRecord>& hushenStockList() const;
    bool sortAscending() const { return sortAscending_; }
    Ui::FilterStockUIController& ui() { return *ui_; }
    RowTableModel& model() { return *model_; }

  public slots:
    /// Asks the running report, if any, to stop (the stop button).
    void stopRun();

  signals:
    void stockPicked(const QString& code, const QString& name);
    void shownStockCleared();
    void statusMessage(const QString& text);
    /// Today's ranking report was started, and later ended (stopped or not).
    void runStarted();
    void runEnded();

  private:
    int currentSegment() const;
    /// The first selected row, or -1.
    int selectedRow() const;
    void showRows(std::vector<StockRecord> rows);
    void showStatus(const std::string& text);

    std::unique_ptr<Ui::FilterStockUIController> ui_;
    RowTableModel* model_ = nullptr;
    bool sortAscending_ = false;
    /// The stop of the last run started (a fresh one each run).
    std::stop_source runStop_;
};

}  // namespace orvane::app
