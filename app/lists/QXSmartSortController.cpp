#include "lists/QXSmartSortController.h"

#include <QHeaderView>
#include <QPointer>
#include <QPushButton>
#include <atomic>
#include <system_error>

#include "application/AppWorkers.h"
#include "common/PickedStock.h"
#include "lists/RowTableModel.h"
#include "lists/SmartSortRows.h"
#include "orvane/core/Clock.h"
#include "orvane/core/DataDirectory.h"
#include "orvane/core/LocalTime.h"
#include "orvane/core/Log.h"
#include "orvane/core/MainThreadDispatcher.h"
#include "orvane/core/NotificationBus.h"
#include "orvane/core/NotificationNames.h"
#include "orvane/market/HttpRequest.h"
#include "orvane/market/RequestQueue.h"
#include "orvane/market/ScoreLists.h"
#include "orvane/market/StockKeys.h"
#include "orvane/stocklib/QXStockLib.h"
#include "ui_QXSmartSortController.h"

namespace orvane::app {

namespace fs = std::filesystem;
namespace k = keys;
namespace names = notifications;
using namespace std::chrono_literals;

namespace {

QXSmartSortController* g_smartSortController = nullptr;

void deleteEveryFile(const fs::path& folder) {
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec)) fs::remove(entry.path(), ec);
}

/// Sleeps in short steps until `done`; false when the worker must stop.
bool waitUntil(std::stop_token stop, const std::function<bool()>& done) {
    while (!done())
        if (!AppWorkers::sleepFor(stop, 50ms)) return false;
    return true;
}

std::string clockText() {
    const LocalDateTime t = toLocal(now());
    return formatDateTime(t).substr(11);
}

}  // namespace

QXSmartSortController::QXSmartSortController(QWidget* parent, SmartWatchTimings timings)
    : QWidget(parent), ui_(std::make_unique<Ui::QXSmartSortController>()), timings_(timings) {
    ui_->setupUi(this);
    model_ = new RowTableModel({{k::STOCK_Code, QStringLiteral("股票"), 215},
                                {"pricePercentChanged", QStringLiteral("涨幅"), 80},
                                {"Price_Changed", QStringLiteral("涨跌"), 60},
                                {"speedValue", QStringLiteral("涨速"), 60},
                                {k::STOCK_closePrice, QStringLiteral("现价"), 70}},
                               smartCell, this);
    ui_->smartTable->setModel(model_);
    applyColumnWidths(*ui_->smartTable, model_->columns());
    connect(ui_->smartTable->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &QXSmartSortController::tableViewSelectionDidChange);
    connect(ui_->smartTable, &QTableView::doubleClicked, this,
            &QXSmartSortController::DoubleClickAction);
    connect(ui_->smartWatchBtn, &QPushButton::toggled, this, [this](bool on) {
        if (on)
            startWatch();
        else
            stopWatch();
    });
    g_smartSortController = this;
}

QXSmartSortController::~QXSmartSortController() {
    stopWatch();
    if (g_smartSortController == this) g_smartSortController = nullptr;
}

QXSmartSortController* QXSmartSortController::defQXSmartSortController() {
    return g_smartSortController;
}

void QXSmartSortController::startWatch() {
    if (isWatching()) return;
    ui_->smartWatchBtn->setChecked(true);
    ui_->smartWatchBtn->setText(QStringLiteral("停止监视"));
    ui_->smartStatusField->setText(QStringLiteral("正在准备监视…"));
    watch_ = std::jthread([this](std::stop_token stop) { detachSmartInspectReportThread(stop); });
}

void QXSmartSortController::stopWatch() {
    if (watch_.joinable()) {
        watch_.request_stop();
        watch_.join();
    }
    watch_ = {};
    ui_->smartWatchBtn->setChecked(false);
    ui_->smartWatchBtn->setText(QStringLiteral("开始监视"));
}

bool QXSmartSortController::isWatching() const {
    return watch_.joinable();
}

void QXSmartSortController::detachSmartInspectReportThread(std::stop_token stop) {
    deleteEveryFile(getInspectStockPath());
    if (!AppWorkers::sleepFor(stop, timings_.startDelay)) return;
    std::error_code ec;
    fs::remove(smartModeFilePath(), ec);
    if (!fetchWatchedStocks(stop)) return;
    detachSmartInspectArrayUIThread(stop);
}

void QXSmartSortController::detachSmartInspectArrayUIThread(std::stop_token stop) {
    while (AppWorkers::sleepFor(stop, timings_.period))
        if (!fetchWatchedStocks(stop)) return;
}

bool QXSmartSortController::fetchWatchedStocks(std::stop_token stop) {
    QXStockLib& lib = QXStockLib::defQXStockLib();
    {
        auto request = lib.handDownloadSinglePaoFile();
        std::stop_callback cancel(stop, [request] { request->cancel(); });
        if (!waitUntil(stop, [&] { return request->isFinished(); })) return false;
        if (const auto& error = request->error())
            postToMainThread([self = QPointer(this), text = *error] {
                if (self)
                    emit self->statusMessage(QStringLiteral("没有取到智能监视的股票列表: %1")
                                                 .arg(QString::fromStdString(text)));
            });
        // Its handler runs on the main thread: the stored list of watched
        // stocks is complete once the main thread got past it. (Not
        // invokeAndWait: stopping joins this thread from the main thread.)
        auto past = std::make_shared<std::atomic<bool>>(false);
        postToMainThread([past] { *past = true; });
        if (!waitUntil(stop, [&] { return past->load(); })) return false;
    }
    if (auto queue = lib.handDownloadSmartStockSinaData()) {
        std::stop_callback cancel(stop, [queue] { queue->cancelAllOperations(); });
        if (!waitUntil(stop, [&] { return queue->requestsCount() == 0; })) return false;
    }
    if (stop.stop_requested()) return false;
    initStockArray();
    return true;
}

void QXSmartSortController::initStockArray() {
    std::lock_guard lock(rebuildMutex_);
    std::vector<StockRecord> rows = smartSortRows(getInspectStockPath());
    postToMainThread([self = QPointer(this), rows = std::move(rows)]() mutable {
        if (self) self->showRows(std::move(rows));
    });
}

void QXSmartSortController::showRows(std::vector<StockRecord> rows) {
    model_->setRows(std::move(rows));
    ui_->smartStatusField->setText(QStringLiteral("%1 只, 更新于 %2")
                                       .arg(model_->rowCount())
                                       .arg(QString::fromStdString(clockText())));
    updateMainUI();
    emit smartListRebuilt(model_->rowCount());
}

const std::vector<StockRecord>& QXSmartSortController::SmartScortList() const {
    return model_->rows();
}

int QXSmartSortController::selectedRow() const {
    const auto rows = ui_->smartTable->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.front().row();
}

void QXSmartSortController::updateMainUI() {
    const int row = selectedRow();
    if (row < 0) return;
    NotificationBus::shared().post(names::Notifiation_GetStockStatus, this,
                                   {{k::STOCK_Code, model_->rowAt(row).code}});
}

void QXSmartSortController::tableViewSelectionDidChange() {
    updateMainUI();
}

void QXSmartSortController::DoubleClickAction() {
    const int row = selectedRow();
    if (row < 0) return;
    const StockRecord stock = model_->rowAt(row);  // a copy: the window may reload the list
    announcePickedStock(*this, stock, stock.name.value_or(""));
}

}  // namespace orvane::app
