#include "history/OneHisStockController.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QShowEvent>
#include <QTableView>
#include <atomic>

#include "history/OneHisStockRules.h"
#include "history/OneHisStockTableModel.h"
#include "orvane/core/MainThreadDispatcher.h"
#include "orvane/core/NotificationBus.h"
#include "orvane/core/NotificationNames.h"
#include "orvane/market/CodeTable.h"
#include "orvane/stocklib/QXStockLib.h"
#include "ui_OneHisStock.h"

namespace orvane::app {

/// One computation's worker; `finished` is set as its last act, so a
/// finished worker is joined without waiting.
struct OneHisStockController::Calculation {
    std::shared_ptr<std::atomic<bool>> finished = std::make_shared<std::atomic<bool>>(false);
    std::jthread thread;
};

OneHisStockController::OneHisStockController(QWidget* parent)
    : QWidget(parent),
      ui_(std::make_unique<Ui::OneHisStock>()),
      model_(new OneHisStockTableModel(this)) {
    ui_->setupUi(this);
    QTableView* table = ui_->myStockTableView;
    table->setModel(model_);
    // The figures' columns as wide as their texts; the conclusion, the last
    // column, takes the rest of the width and wraps; each row is as tall as
    // its text (and the cell's tooltip holds it whole too).
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table->horizontalHeader()->setStretchLastSection(true);
    table->setWordWrap(true);
    table->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    ui_->hisProgressBar->hide();
    connect(ui_->hisdataPopBtn, &QComboBox::currentIndexChanged, this,
            &OneHisStockController::monthpopAction);
    connect(ui_->myStockTableView->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &OneHisStockController::tableViewSelectionDidChange);
    updateOneStockCaptureInfo();
}

OneHisStockController::~OneHisStockController() {
    stopCalculations();
    calculations_.clear();  // joins
}

QTableView* OneHisStockController::myStockTableView() const {
    return ui_->myStockTableView;
}
QLabel* OneHisStockController::hisStockNameTextField() const {
    return ui_->hisStockNameTextField;
}
QComboBox* OneHisStockController::hisdataPopBtn() const {
    return ui_->hisdataPopBtn;
}
QProgressBar* OneHisStockController::hisProgressBar() const {
    return ui_->hisProgressBar;
}

const std::vector<StockRecord>& OneHisStockController::oneHisStockList() const {
    return model_->rows();
}

OneHisStockController::Request OneHisStockController::currentRequest() const {
    return {shownCode_, passDaysForItem(ui_->hisdataPopBtn->currentIndex())};
}

void OneHisStockController::setShownStock(const QString& code, const QString& name) {
    const std::string newCode = code.trimmed().toStdString();
    shownName_ = name.toStdString();
    if (newCode == shownCode_) return showCaption();
    shownCode_ = newCode;
    stopCalculations();
    updateOneStockCaptureInfo();
    if (isVisible() && QXStockLib::isValidStockCode(shownCode_)) calOneStockHisInfo();
}

void OneHisStockController::showCaption() {
    std::optional<std::string> name;
    if (!shownName_.empty())
        name = shownName_;
    else if (QXStockLib::isValidStockCode(shownCode_))
        name = CodeTable::shared().getStockCodeName(shownCode_);
    ui_->hisStockNameTextField->setText(QString::fromStdString(
        oneStockCaption(shownCode_, name, monthsForItem(ui_->hisdataPopBtn->currentIndex()))));
}

void OneHisStockController::monthpopAction() {
    showCaption();
    if (QXStockLib::isValidStockCode(shownCode_)) calOneStockHisInfo();
}

void OneHisStockController::updateOneStockCaptureInfo() {
    showCaption();
    showRows({}, {});
}

void OneHisStockController::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!event->spontaneous()) tabOpened();
}

void OneHisStockController::tabOpened() {
    if (!QXStockLib::isValidStockCode(shownCode_)) return;
    const Request request = currentRequest();
    if (isCalculating() ? pending_ == request : shown_ == request) return;
    calOneStockHisInfo();
}

void OneHisStockController::calOneStockHisInfo() {
    cancelRunning();
    reapFinished();
    const std::string code = shownCode_;
    const std::uint64_t generation = ++generation_;
    if (!QXStockLib::isValidStockCode(code)) {
        shownGeneration_ = generation;
        ui_->hisProgressBar->hide();
        return;
    }
    pending_ = currentRequest();
    const int days = pending_.days;
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

void OneHisStockController::showProgress(std::uint64_t generation, int done, int total) {
    if (generation != generation_) return;
    ui_->hisProgressBar->setRange(0, total);
    ui_->hisProgressBar->setValue(done);
}

void OneHisStockController::finishCalculation(std::uint64_t generation,
                                              std::vector<StockRecord> rows) {
    if (generation != generation_) return;  // a newer computation was started since
    shownGeneration_ = generation;
    ui_->hisProgressBar->hide();
    showRows(std::move(rows), pending_);
    emit oneHisStockListChanged();
}

void OneHisStockController::showRows(std::vector<StockRecord> rows, Request request) {
    shown_ = std::move(request);
    model_->setRows(std::move(rows));
}

void OneHisStockController::tableViewSelectionDidChange() {
    const QModelIndexList selected = ui_->myStockTableView->selectionModel()->selectedRows();
    const int row =
        selected.isEmpty() ? ui_->myStockTableView->currentIndex().row() : selected.front().row();
    if (row < 0 || row >= model_->rowCount()) return;
    NotificationBus::shared().post(notifications::Notifiation_HistodayStockChaged, this,
                                   model_->dayAt(row).toDictionary());
}

void OneHisStockController::cancelRunning() {
    for (auto& c : calculations_) c->thread.request_stop();
}

void OneHisStockController::reapFinished() {
    std::erase_if(calculations_, [](const auto& c) { return c->finished->load(); });
}

void OneHisStockController::stopCalculations() {
    cancelRunning();
    shownGeneration_ = ++generation_;
    ui_->hisProgressBar->hide();
}

}  // namespace orvane::app
