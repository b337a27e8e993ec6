#include "filterStockUIController.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "FilterStockRows.h"
#include "RowListFile.h"
#include "RowTableModel.h"
#include "RunStop.h"
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
#include "ui_filterStockUIController.h"

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

filterStockUIController::filterStockUIController(ListMainWindowFields fields, QWidget* parent)
    : QWidget(parent),
      ui_(std::make_unique<Ui::filterStockUIController>()),
      fields_(fields),
      runStop_(std::make_shared<RunStop>(fields.mStopDownload)) {
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
            &filterStockUIController::setSelectSegmentAction);
    connect(ui_->filterNumPopBtn, &QComboBox::activated, this,
            &filterStockUIController::selectGainsNumAction);
    connect(table, &QTableView::doubleClicked, this, &filterStockUIController::DoubleClickAction);
    connect(table->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &filterStockUIController::tableViewSelectionDidChange);
    connect(table->horizontalHeader(), &QHeaderView::sectionClicked, this,
            &filterStockUIController::didClickTableColumn);
    if (fields_.stopDownloadBtn)
        connect(fields_.stopDownloadBtn, &QPushButton::clicked, this, [this] { runStop_->stop(); });
    UpdateMianUI();
}

filterStockUIController::~filterStockUIController() {
    runStop_->detach();
}

const std::vector<StockRecord>& filterStockUIController::hushenStockList() const {
    return model_->rows();
}

int filterStockUIController::currentSegment() const {
    return ui_->resultSegment->currentIndex();
}

int filterStockUIController::selectedRow() const {
    const auto rows = ui_->resultTableView->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.front().row();
}

void filterStockUIController::setSelectSegmentAction(int segment) {
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
        UpdateMianUI();
        execFilterStockAction();
    }
}

void filterStockUIController::updateAllStock() {
    ui_->resultSegment->setCurrentIndex(0);
    const int n = topGainerCount(ui_->filterNumPopBtn->currentIndex());
    showRows(stockRecordsOf(getFilterStockFromHuShenGainsData(n)));
}

void filterStockUIController::processUISeletedStockResult() {
    const FilterMode mode = filterModeOf(currentSegment());
    const RowListFile list = readRowListFile(filterResultFile(mode, getGainsPath(), today()));
    if (list.state == RowListFile::State::Bad) {
        ORVANE_LOG("%s", list.note().c_str());
        showStatus(list.note());
    }
    showRows(list.rows);
}

bool filterStockUIController::execFilterStockAction() {
    if (isGainsRankingRunning()) return false;
    const int count = rankingSourceCount(ui_->filterNumPopBtn->currentIndex());
    QXStockLib& lib = QXStockLib::defQXStockLib();
    Array list = count == 0 ? lib.getAllStockTradeData() : getFilterStockFromHuShenGainsData(count);

    runStop_ = std::make_shared<RunStop>(fields_.mStopDownload);
    if (fields_.mStopDownload) *fields_.mStopDownload = false;
    if (fields_.stopDownloadBtn) fields_.stopDownloadBtn->show();
    auto ended = [self = QPointer(this), button = QPointer(fields_.stopDownloadBtn)] {
        postToMainThread([self, button] {
            ProgressPanel::shared()->closeProgressPanel();
            if (button) button->hide();
            if (self) emit self->rankingEnded();
        });
    };
    const bool started = processFilterStockFromHuShenGainsData(
        lib, std::move(list), [stop = runStop_] { return stop->requested(); }, std::move(ended));
    if (started) emit rankingStarted();
    return started;
}

void filterStockUIController::showRows(std::vector<StockRecord> rows) {
    model_->setRows(std::move(rows));
    ui_->resultTableView->clearSelection();
    UpdateMianUI();
}

void filterStockUIController::UpdateMianUI() {
    const int row = selectedRow();
    const std::size_t count = model_->rows().size();
    if (row < 0) {
        for (QLabel* field :
             {fields_.stockCodeName, fields_.stockTrendInfo, fields_.stockTrendInfo2})
            if (field) field->clear();
        if (fields_.stockCodeTokenField) fields_.stockCodeTokenField->clear();
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

void filterStockUIController::DoubleClickAction() {
    const int row = selectedRow();
    if (row < 0) return;
    const StockRecord& stock = model_->rowAt(row);
    if (fields_.stockCodeTokenField)
        fields_.stockCodeTokenField->setText(QString::fromStdString(stock.code));
    if (fields_.stockCodeName)
        fields_.stockCodeName->setText(QString::fromStdString(stock.name.value_or("")));
    NotificationBus::shared().post(names::Notifiation_DoubleClickStock, this, stock.toDictionary());
    UpdateMianUI();
}

void filterStockUIController::tableViewSelectionDidChange() {
    UpdateMianUI();
}

void filterStockUIController::didClickTableColumn(int column) {
    if (column < 0 || column >= model_->columnCount()) return;
    std::vector<StockRecord> rows = model_->rows();
    const SortIndicator indicator =
        clickFilterColumn(rows, model_->columns()[column].identifier, sortAscending_);
    QHeaderView* header = ui_->resultTableView->horizontalHeader();
    header->setSortIndicatorShown(true);
    header->setSortIndicator(column, qtOrder(indicator));
    showRows(std::move(rows));
}

void filterStockUIController::showStatus(const std::string& text) {
    if (fields_.statusField) fields_.statusField->setText(QString::fromStdString(text));
}

}  // namespace orvane::app
