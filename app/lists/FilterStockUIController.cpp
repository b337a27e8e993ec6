#include "lists/FilterStockUIController.h"

#include <QHeaderView>

#include "common/PickedStock.h"
#include "lists/FilterStockRows.h"
#include "lists/RowListFile.h"
#include "lists/RowTableModel.h"
#include "orvane/core/Clock.h"
#include "orvane/core/DataDirectory.h"
#include "orvane/core/LocalTime.h"
#include "orvane/core/Log.h"
#include "orvane/core/MainThreadDispatcher.h"
#include "orvane/core/NotificationBus.h"
#include "orvane/core/NotificationNames.h"
#include "orvane/core/ProgressPanel.h"
#include "orvane/market/StockKeys.h"
#include "orvane/reports/GainsRankingRun.h"
#include "orvane/reports/MarketInformation.h"
#include "orvane/stocklib/QXStockLib.h"
#include "ui_FilterStockUIController.h"

namespace orvane::app {

namespace k = keys;
namespace names = notifications;

namespace {

std::string today() {
    return formatDate(toLocal(now()));
}

std::vector<RowColumn> filterColumns() {
    return {{k::STOCK_Code, QStringLiteral("股票"), 215},
            {"pricePercentChanged", QStringLiteral("涨幅"), 90},
            {"Price_Changed", QStringLiteral("涨跌"), 70},
            {k::STOCK_closePrice, QStringLiteral("现价"), 70},
            {k::STOCK_YesClosePrice, QStringLiteral("昨收"), 70},
            {k::STOCK_OpenPrice, QStringLiteral("今开"), 70}};
}

Qt::SortOrder qtOrder(SortIndicator indicator) {
    return indicator == SortIndicator::Ascending ? Qt::AscendingOrder : Qt::DescendingOrder;
}

}  // namespace

FilterStockUIController::FilterStockUIController(QWidget* parent)
    : QWidget(parent), ui_(std::make_unique<Ui::FilterStockUIController>()) {
    ui_->setupUi(this);
    for (const char* title : {"涨幅榜", "重点关注", "5日排名", "10日排名"})
        ui_->resultSegment->addTab(QString::fromUtf8(title));

    model_ = new RowTableModel(
        filterColumns(),
        [this](const StockRecord& row, std::string_view column) {
            return filterCell(row, column, filterModeOf(currentSegment()));
        },
        this);
    QTableView* table = ui_->resultTableView;
    table->setModel(model_);
    applyColumnWidths(*table, model_->columns());
    table->horizontalHeader()->setSectionsClickable(true);
    table->horizontalHeader()->setSortIndicatorShown(false);

    connect(ui_->resultSegment, &QTabBar::tabBarClicked, this,
            &FilterStockUIController::setSelectSegmentAction);
    connect(ui_->filterNumPopBtn, &QComboBox::activated, this,
            &FilterStockUIController::selectGainsNumAction);
    connect(table, &QTableView::doubleClicked, this, &FilterStockUIController::DoubleClickAction);
    connect(table->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &FilterStockUIController::tableViewSelectionDidChange);
    connect(table->horizontalHeader(), &QHeaderView::sectionClicked, this,
            &FilterStockUIController::didClickTableColumn);
    updateMainUI();
}

FilterStockUIController::~FilterStockUIController() {
    stopRun();
}

void FilterStockUIController::stopRun() {
    runStop_.request_stop();
}

const std::vector<StockRecord>& FilterStockUIController::hushenStockList() const {
    return model_->rows();
}

int FilterStockUIController::currentSegment() const {
    return ui_->resultSegment->currentIndex();
}

int FilterStockUIController::selectedRow() const {
    const auto rows = ui_->resultTableView->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.front().row();
}

void FilterStockUIController::setSelectSegmentAction(int segment) {
    if (segment < 0) return;
    ui_->resultSegment->setCurrentIndex(segment);
    const FilterMode mode = filterModeOf(segment);
    if (mode == FilterMode::TopGainers) {
        updateAllStock();
        return;
    }
    if (std::filesystem::exists(filterResultFile(mode, getGainsPath(), today()))) {
        processUISeletedStockResult();
    } else {
        updateMainUI();
        execFilterStockAction();
    }
}

void FilterStockUIController::updateAllStock() {
    ui_->resultSegment->setCurrentIndex(0);
    const int n = topGainerCount(ui_->filterNumPopBtn->currentIndex());
    const FilterStockGains gains = getFilterStockFromHuShenGainsData(n);
    if (gains.failure) showStatus(*gains.failure);
    showRows(stockRecordsOf(gains.stocks));
}

void FilterStockUIController::processUISeletedStockResult() {
    const FilterMode mode = filterModeOf(currentSegment());
    const RowListFile list = readRowListFile(filterResultFile(mode, getGainsPath(), today()));
    if (list.state == RowListFile::State::Bad) {
        ORVANE_LOG("%s", list.note().c_str());
        showStatus(list.note());
    }
    showRows(list.rows);
}

bool FilterStockUIController::execFilterStockAction() {
    if (isGainsRankingRunning()) return false;
    const int count = rankingSourceCount(ui_->filterNumPopBtn->currentIndex());
    QXStockLib& lib = QXStockLib::defQXStockLib();
    Array list;
    if (count == 0) {
        list = lib.getAllStockTradeData();
    } else {
        FilterStockGains gains = getFilterStockFromHuShenGainsData(count);
        if (gains.failure) showStatus(*gains.failure);
        list = std::move(gains.stocks);
    }

    runStop_ = std::stop_source();
    auto ended = [self = QPointer(this)](const GainsReportOutcome& outcome) {
        postToMainThread([self, failure = outcome.failure] {
            ProgressPanel::shared()->closeProgressPanel();
            if (!self) return;
            if (failure) self->showStatus("今日涨幅排行未能保存: " + *failure);
            emit self->runEnded();
        });
    };
    const bool started = processFilterStockFromHuShenGainsData(
        lib, std::move(list), [stop = runStop_.get_token()] { return stop.stop_requested(); },
        std::move(ended));
    if (started) emit runStarted();
    return started;
}

void FilterStockUIController::showRows(std::vector<StockRecord> rows) {
    model_->setRows(std::move(rows));
    ui_->resultTableView->clearSelection();
    updateMainUI();
}

void FilterStockUIController::updateMainUI() {
    const int row = selectedRow();
    const std::size_t count = model_->rows().size();
    if (row < 0) {
        // Off screen (a report that ended while another tab is shown) the
        // stock on screen is not this list's to clear.
        if (isVisible()) emit shownStockCleared();
        ui_->indexField->setText(QString::fromStdString(filterIndexText(0, count)));
    } else {
        ui_->indexField->setText(QString::fromStdString(filterIndexText(row + 1, count)));
        NotificationBus::shared().post(names::Notifiation_GetStockStatus, this,
                                       {{k::STOCK_Code, model_->rowAt(row).code}});
    }
    const FilterMode mode = filterModeOf(currentSegment());
    ui_->filterNumPopBtn->setVisible(mode == FilterMode::TopGainers);
    ui_->displayCaptureFiled->setText(QString::fromStdString(filterCaption(mode, today())));
}

void FilterStockUIController::DoubleClickAction() {
    const int row = selectedRow();
    if (row < 0) return;
    const StockRecord stock = model_->rowAt(row);  // a copy: the window may reload the list
    announcePickedStock(*this, stock, stock.name.value_or(""));
    updateMainUI();
}

void FilterStockUIController::tableViewSelectionDidChange() {
    updateMainUI();
}

void FilterStockUIController::didClickTableColumn(int column) {
    if (column < 0 || column >= model_->columnCount()) return;
    std::vector<StockRecord> rows = model_->rows();
    const SortIndicator indicator =
        clickFilterColumn(rows, model_->columns()[column].identifier, sortAscending_);
    QHeaderView* header = ui_->resultTableView->horizontalHeader();
    header->setSortIndicatorShown(true);
    header->setSortIndicator(column, qtOrder(indicator));
    showRows(std::move(rows));
}

void FilterStockUIController::showStatus(const std::string& text) {
    emit statusMessage(QString::fromStdString(text));
}

}  // namespace orvane::app
