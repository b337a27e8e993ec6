#pragma once
// The stock filter tab: one table of ranked stocks in four modes chosen by
// the segmented control: the day's top gainers (as many as the count
// pop-up says), the stocks worth watching today, and the 5-day and 10-day
// rankings. The last three show the files the gains ranking report wrote
// for today; when today's file is not there yet, choosing the mode starts
// that report on its own thread (stopped by the main window's stop button)
// and the mode shows its rows once chosen again after the report ended.
//
// Main thread only; the report's thread reaches the window only through
// the main-thread dispatcher.

#include <QPointer>
#include <QWidget>
#include <memory>
#include <string>

#include "ListMainWindowFields.h"
#include "orvane/market/StockRecord.h"

namespace Ui {
class filterStockUIController;
}

namespace orvane::app {

class RowTableModel;
class RunStop;

class filterStockUIController : public QWidget {
    Q_OBJECT
  public:
    explicit filterStockUIController(ListMainWindowFields fields, QWidget* parent = nullptr);
    ~filterStockUIController() override;

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
    /// Index field, main-window fields, caption and pop-up for the mode.
    void UpdateMianUI();
    void DoubleClickAction();
    void tableViewSelectionDidChange();
    /// A click on the header of a column (by its position).
    void didClickTableColumn(int column);

    const std::vector<StockRecord>& hushenStockList() const;
    bool sortAscending() const { return sortAscending_; }
    Ui::filterStockUIController& ui() { return *ui_; }
    RowTableModel& model() { return *model_; }

  signals:
    /// Today's ranking report was started, and later ended (stopped or not).
    void rankingStarted();
    void rankingEnded();

  private:
    int currentSegment() const;
    /// The first selected row, or -1.
    int selectedRow() const;
    void showRows(std::vector<StockRecord> rows);
    void showStatus(const std::string& text);

    std::unique_ptr<Ui::filterStockUIController> ui_;
    ListMainWindowFields fields_;
    RowTableModel* model_ = nullptr;
    bool sortAscending_ = false;
    std::shared_ptr<RunStop> runStop_;
};

}  // namespace orvane::app
