#pragma once
// The single-stock history tab (the main window's third tab): for the stock
// on screen, the server's verdict on each of its last one to six months of
// trading days, one row a day, coloured by trend.
//
// The main window tells it the stock on screen (setShownStock). Opening the
// tab and choosing another month count compute that stock's history; so
// does a new stock while the tab is on screen. Opening the tab again on the
// stock and months already shown or being computed starts nothing.
//
// The computation fetches day by day on its own worker thread and shows
// its progress in the tab; the rows are replaced on the main thread when it
// ends. Starting another computation cancels the running one (its stop
// token is requested, its request in flight is cancelled and it stops
// before the next day) and only the newest computation's rows are shown.

#include <QPointer>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "orvane/core/Value.h"
#include "orvane/market/StockRecord.h"

class QComboBox;
class QLabel;
class QProgressBar;
class QTableView;
namespace Ui {
class OneHisStock;
}

namespace orvane::app {

class OneHisStockTableModel;

class OneHisStockController : public QWidget {
    Q_OBJECT
  public:
    explicit OneHisStockController(QWidget* parent = nullptr);
    /// Cancels the computations still running and waits for them.
    ~OneHisStockController() override;

    /// Sets the caption for the shown stock and empties the table.
    void updateOneStockCaptureInfo();
    /// Starts the computation for the shown stock over the chosen months;
    /// nothing starts for a text that is not a stock code.
    void calOneStockHisInfo();
    /// The tab came on screen: computes the shown stock's history unless
    /// the rows shown, or the computation running, are for the same stock
    /// and months already.
    void tabOpened();
    /// Cancels every computation (at quit); the rows stay.
    void stopCalculations();

    /// The rows shown: one stock dictionary per day, today's first.
    const std::vector<StockRecord>& oneHisStockList() const;
    /// Whether a computation is running whose rows will be shown.
    bool isCalculating() const { return shownGeneration_ != generation_; }
    const std::string& shownCode() const { return shownCode_; }

    QTableView* myStockTableView() const;
    QLabel* hisStockNameTextField() const;
    QComboBox* hisdataPopBtn() const;
    QProgressBar* hisProgressBar() const;

  public slots:
    /// The stock on screen in the main window (an empty or partial code
    /// while the user types). A new stock empties the table and ends the
    /// running computation; on screen, the tab computes the new stock.
    void setShownStock(const QString& code, const QString& name);
    /// The months pop-up's action: the caption, then the computation.
    void monthpopAction();
    /// Posts "Notifiation_HistodayStockChaged" with the selected day.
    void tableViewSelectionDidChange();

  signals:
    /// A computation ended and its rows are shown.
    void oneHisStockListChanged();

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    struct Calculation;
    /// What a computation is for: the stock and the days asked.
    struct Request {
        std::string code;
        int days = 0;
        friend bool operator==(const Request&, const Request&) = default;
    };
    Request currentRequest() const;
    void showCaption();
    void showRows(std::vector<StockRecord> rows, Request request);
    void showProgress(std::uint64_t generation, int done, int total);
    void finishCalculation(std::uint64_t generation, std::vector<StockRecord> rows);
    void cancelRunning();
    void reapFinished();

    std::unique_ptr<Ui::OneHisStock> ui_;
    std::string shownCode_, shownName_;
    /// What the newest computation is for (while one runs), and what the
    /// rows shown are for.
    Request pending_, shown_;
    OneHisStockTableModel* model_ = nullptr;
    std::vector<std::unique_ptr<Calculation>> calculations_;
    std::uint64_t generation_ = 0;
    std::uint64_t shownGeneration_ = 0;
};

}  // namespace orvane::app
