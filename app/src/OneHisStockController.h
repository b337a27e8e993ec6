#pragma once
// The single-stock history tab (the main window's third tab): for the stock
// in the main window's code field, the server's verdict on each of its last
// one to six months of trading days, one row a day, coloured by trend.
//
// The computation fetches day by day on its own worker thread and shows
// its progress in the tab; the rows are replaced on the main thread when it
// ends. Starting another computation cancels the running one (its stop
// token is requested, its request in flight is cancelled and it stops
// before the next day) and only the newest computation's rows are shown.

#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <memory>
#include <thread>
#include <vector>

#include "orvane/core/Value.h"
#include "orvane/market/StockRecord.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QTableView;
namespace Ui {
class OneHisStock;
}

namespace orvane::app {

class OneHisStockTableModel;

class oneHisStockControlller : public QWidget {
    Q_OBJECT
  public:
    /// `stockTextField` is the main window's code field (not owned).
    explicit oneHisStockControlller(QLineEdit* stockTextField, QWidget* parent = nullptr);
    /// Cancels the computations still running and waits for them.
    ~oneHisStockControlller() override;

    /// Sets the caption for the code field's stock and empties the table.
    void updateOneStockCaptureInfo();
    /// Starts the computation for the code field's stock over the chosen
    /// months; nothing starts for a text that is not a stock code.
    void calOneStockHisInfo();
    /// Cancels every computation (at quit); the rows stay.
    void stopCalculations();

    /// The rows shown: one stock dictionary per day, today's first.
    const std::vector<StockRecord>& oneHisStockList() const;
    /// Whether a computation is running whose rows will be shown.
    bool isCalculating() const { return shownGeneration_ != generation_; }

    QTableView* myStockTableView() const;
    QLabel* hisStockNameTextField() const;
    QComboBox* hisdataPopBtn() const;
    QProgressBar* hisProgressBar() const;

  public slots:
    /// The months pop-up's action: the caption only.
    void monthpopAction();
    /// Posts "Notifiation_HistodayStockChaged" with the selected day.
    void tableViewSelectionDidChange();

  signals:
    /// A computation ended and its rows are shown.
    void oneHisStockListChanged();

  private:
    struct Calculation;
    void showProgress(std::uint64_t generation, int done, int total);
    void finishCalculation(std::uint64_t generation, std::vector<StockRecord> rows);
    void cancelRunning();
    void reapFinished();

    std::unique_ptr<Ui::OneHisStock> ui_;
    QPointer<QLineEdit> stockTextField_;
    OneHisStockTableModel* model_ = nullptr;
    std::vector<std::unique_ptr<Calculation>> calculations_;
    std::uint64_t generation_ = 0;
    std::uint64_t shownGeneration_ = 0;
};

}  // namespace orvane::app
