#include "OneHisStockController.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QTableView>
#include <atomic>

#include "OneHisStockRules.h"
#include "OneHisStockTableModel.h"
#include "orvane/core/MainThreadDispatcher.h"
#include "orvane/core/NotificationBus.h"
#include "orvane/core/NotificationNames.h"
#include "orvane/market/CodeTable.h"
#include "orvane/stocklib/QXStockLib.h"
#include "ui_OneHisStock.h"

namespace orvane::app {

/// One computation's worker; `finished` is set as its last act, so a
/// finished worker is joined without waiting.
struct oneHisStockControlller::Calculation {
    std::shared_ptr<std::atomic<bool>> finished = std::make_shared<std::atomic<bool>>(false);
    std::jthread thread;
};

oneHisStockControlller::oneHisStockControlller(QLineEdit* stockTextField, QWidget* parent)
    : QWidget(parent),
      ui_(std::make_unique<Ui::OneHisStock>()),
      stockTextField_(stockTextField),
      model_(new OneHisStockTableModel(this)) {
    ui_->setupUi(this);
    ui_->myStockTableView->setModel(model_);
    ui_->myStockTableView->horizontalHeader()->setStretchLastSection(true);
    ui_->hisProgressBar->hide();
    connect(ui_->hisdataPopBtn, &QComboBox::currentIndexChanged, this,
            &oneHisStockControlller::monthpopAction);
    connect(ui_->myStockTableView->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &oneHisStockControlller::tableViewSelectionDidChange);
    updateOneStockCaptureInfo();
}

oneHisStockControlller::~oneHisStockControlller() {
    stopCalculations();
    calculations_.clear();  // joins
}

QTableView* oneHisStockControlller::myStockTableView() const {
    return ui_->myStockTableView;
}
QLabel* oneHisStockControlller::hisStockNameTextField() const {
    return ui_->hisStockNameTextField;
}
QComboBox* oneHisStockControlller::hisdataPopBtn() const {
    return ui_->hisdataPopBtn;
}
QProgressBar* oneHisStockControlller::hisProgressBar() const {
    return ui_->hisProgressBar;
}

const std::vector<StockRecord>& oneHisStockControlller::oneHisStockList() const {
    return model_->rows();
}

void oneHisStockControlller::monthpopAction() {
    const std::string code = stockTextField_ ? stockTextField_->text().toStdString() : "";
    const auto name = QXStockLib::isValidStockCode(code)
                          ? CodeTable::shared().getStockCodeName(code)
                          : std::nullopt;
    ui_->hisStockNameTextField->setText(QString::fromStdString(
        oneStockCaption(code, name, monthsForItem(ui_->hisdataPopBtn->currentIndex()))));
}

void oneHisStockControlller::updateOneStockCaptureInfo() {
    monthpopAction();
    model_->setRows({});
}

void oneHisStockControlller::calOneStockHisInfo() {
    cancelRunning();
    reapFinished();
    const std::string code =
        stockTextField_ ? stockTextField_->text().trimmed().toStdString() : std::string();
    const std::uint64_t generation = ++generation_;
    if (!QXStockLib::isValidStockCode(code)) {
        shownGeneration_ = generation;
        ui_->hisProgressBar->hide();
        return;
    }
    const int days = passDaysForItem(ui_->hisdataPopBtn->currentIndex());
    ui_->hisProgressBar->setRange(0, 0);  // busy until the first day is in
    ui_->hisProgressBar->show();

    auto calculation = std::make_unique<Calculation>();
    calculation->thread = std::jthread([self = QPointer(this), code, days, generation,
                                        finished = calculation->finished](std::stop_token stop) {
        std::vector<StockRecord> rows =
            QXStockLib::defQXStockLib().getLastPassdayDataInfoFormServer(
                code, days, stop, [&](int done, int total) {
                    postToMainThread([self, generation, done, total] {
                        if (self) self->showProgress(generation, done, total);
                    });
                });
        if (!stop.stop_requested())
            postToMainThread([self, generation, rows = std::move(rows)]() mutable {
                if (self) self->finishCalculation(generation, std::move(rows));
            });
        finished->store(true);
    });
    calculations_.push_back(std::move(calculation));
}

void oneHisStockControlller::showProgress(std::uint64_t generation, int done, int total) {
    if (generation != generation_) return;
    ui_->hisProgressBar->setRange(0, total);
    ui_->hisProgressBar->setValue(done);
}

void oneHisStockControlller::finishCalculation(std::uint64_t generation,
                                               std::vector<StockRecord> rows) {
    if (generation != generation_) return;  // a newer computation was started since
    shownGeneration_ = generation;
    ui_->hisProgressBar->hide();
    model_->setRows(std::move(rows));
    emit oneHisStockListChanged();
}

void oneHisStockControlller::tableViewSelectionDidChange() {
    const QModelIndexList selected = ui_->myStockTableView->selectionModel()->selectedRows();
    const int row =
        selected.isEmpty() ? ui_->myStockTableView->currentIndex().row() : selected.front().row();
    if (row < 0 || row >= model_->rowCount()) return;
    NotificationBus::shared().post(notifications::Notifiation_HistodayStockChaged, this,
                                   model_->dayAt(row).toDictionary());
}

void oneHisStockControlller::cancelRunning() {
    for (auto& c : calculations_) c->thread.request_stop();
}

void oneHisStockControlller::reapFinished() {
    std::erase_if(calculations_, [](const auto& c) { return c->finished->load(); });
}

void oneHisStockControlller::stopCalculations() {
    cancelRunning();
    shownGeneration_ = ++generation_;
    ui_->hisProgressBar->hide();
}

}  // namespace orvane::app
