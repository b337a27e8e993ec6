#include "holdings/MyStockHoldController.h"

#include <QHeaderView>
#include <chrono>

#include "application/AppWorkers.h"
#include "common/PickedStock.h"
#include "holdings/HoldingFiles.h"
#include "holdings/HoldingRows.h"
#include "holdings/MyStockHoldModel.h"
#include "orvane/core/DataDirectory.h"
#include "orvane/core/MainThreadDispatcher.h"
#include "orvane/core/NotificationBus.h"
#include "orvane/core/NotificationNames.h"
#include "orvane/market/CodeTable.h"
#include "orvane/market/StockKeys.h"
#include "orvane/stocklib/QXStockLib.h"
#include "ui_MyStockHoldController.h"

namespace orvane::app {

using namespace orvane::keys;

MyStockHoldController::MyStockHoldController(QWidget* parent,
                                             std::chrono::milliseconds refreshPeriod)
    : QWidget(parent),
      ui_(std::make_unique<Ui::MyStockHoldController>()),
      model_(new MyStockHoldModel(this)),
      refreshPeriod_(refreshPeriod) {
    ui_->setupUi(this);
    QTableView* table = ui_->myStockTableView;
    table->setModel(model_);
    QHeaderView* header = table->horizontalHeader();
    const auto& columns = holdingTableColumns();
    for (int i = 0; i < static_cast<int>(columns.size()); ++i)
        header->resizeSection(i, columns[i].width);
    header->setStretchLastSection(true);
    header->setSectionsClickable(true);
    header->setSortIndicatorShown(true);
    header->setSortIndicator(-1, Qt::DescendingOrder);  // none until a click

    connect(header, &QHeaderView::sectionClicked, this,
            &MyStockHoldController::didClickTableColumn);
    connect(table, &QTableView::doubleClicked, this, &MyStockHoldController::DoubleClickAction);
    connect(table->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (!restoringSelection_) tableViewSelectionDidChange();
    });
    connect(ui_->deleteStockBtn, &QPushButton::clicked, this,
            &MyStockHoldController::deleteStockAction);
    connect(ui_->refreshStockBtn, &QPushButton::clicked, this,
            &MyStockHoldController::refreshAction);
}

MyStockHoldController::~MyStockHoldController() {
    stopRefreshLoop();
}

void MyStockHoldController::initStockArray() {
    {
        std::lock_guard lock(lock_);  // one rebuild at a time, the newest read last
        HoldingList rows = readHoldings(getHoldStockPath());
        // A column the user sorted by keeps its order through the rebuilds.
        if (!sortColumn_.empty()) {
            bool ascending = sortColumnAscending_;
            sortHoldingsByColumn(rows, sortColumn_, ascending);
        }
        myHoldStockList_ = std::move(rows);
    }
    updatUI();
}

bool MyStockHoldController::addOneStockToMyStockList(const std::string& code) {
    if (const auto refusal = refusalToHold(code, CodeTable::shared())) {
        emit statusMessage(QString::fromStdString(*refusal));
        return false;
    }
    if (isExsitOnHoldStockArray(code)) return false;
    QXStockLib::defQXStockLib().downlaodOneStockTopath(code, holdingFile(getHoldStockPath(), code));
    // The quote arrives later: the loop's next rebuild shows it, and keeps
    // the row moving with the quote worker's refreshes.
    refreshAction();
    return true;
}

bool MyStockHoldController::isExsitOnHoldStockArray(const std::string& code) const {
    return holdsStock(getHoldStockPath(), code);
}

const StockRecord* MyStockHoldController::selectedRecord() const {
    const QModelIndexList rows = ui_->myStockTableView->selectionModel()->selectedRows();
    if (rows.isEmpty() || rows.first().row() >= model_->rowCount()) return nullptr;
    return &model_->rows()[rows.first().row()];
}

void MyStockHoldController::deleteStockAction() {
    if (const StockRecord* record = selectedRecord()) removeHolding(std::string(record->code));
    updatUI();
}

void MyStockHoldController::removeHolding(const std::string& code) {
    std::error_code ec;  // a file already gone changes nothing
    std::filesystem::remove(holdingFile(getHoldStockPath(), code), ec);
    initStockArray();
    updateMainUI();
    ui_->myStockTableView->clearSelection();
}

void MyStockHoldController::refreshAction() {
    if (refreshStarted_) return;
    refreshStarted_ = true;
    refreshLoop_ = std::jthread([this](std::stop_token stop) {
        while (AppWorkers::sleepFor(stop, refreshPeriod_)) initStockArray();
    });
}

void MyStockHoldController::stopRefreshLoop() {
    refreshLoop_.request_stop();
    if (refreshLoop_.joinable()) refreshLoop_.join();
}

void MyStockHoldController::DoubleClickAction() {
    // A row without a quote is there to be deleted only.
    if (const StockRecord* record = selectedRecord(); record && hasQuote(*record)) {
        const StockRecord row = *record;
        announcePickedStock(*this, row, row.name.value_or(""));
    }
    updatUI();
}

void MyStockHoldController::tableViewSelectionDidChange() {
    if (const StockRecord* record = selectedRecord(); record && hasQuote(*record))
        NotificationBus::shared().post(notifications::Notifiation_GetStockStatus, this,
                                       {{STOCK_Code, record->code}});
    updatUI();
}

void MyStockHoldController::didClickTableColumn(int column) {
    const auto& columns = holdingTableColumns();
    if (column < 0 || column >= static_cast<int>(columns.size())) return;
    SortIndicator indicator;
    {
        std::lock_guard lock(lock_);
        sortColumn_ = columns[column].identifier;
        sortColumnAscending_ = sortAscending_;
        indicator =
            sortHoldingsByColumn(myHoldStockList_, columns[column].identifier, sortAscending_);
    }
    ui_->myStockTableView->horizontalHeader()->setSortIndicator(
        column, indicator == SortIndicator::Ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
    model_->setHighlightedColumn(column);
    updateMainUI();
}

void MyStockHoldController::selectCode(const std::string& code) {
    const HoldingList& rows = model_->rows();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].code != code) continue;
        restoringSelection_ = true;
        ui_->myStockTableView->selectRow(static_cast<int>(i));
        restoringSelection_ = false;
        return;
    }
}

void MyStockHoldController::updateMainUI() {
    // The reload keeps the selected stock selected, without a new notice.
    const StockRecord* selected = selectedRecord();
    const std::string selectedCode = selected ? selected->code : std::string();
    model_->setRows(myHoldStockList());
    if (!selectedCode.empty()) selectCode(selectedCode);
    ui_->deleteStockBtn->setEnabled(selectedRecord() != nullptr);
    ui_->refreshStockBtn->setEnabled(model_->rowCount() > 0);
    emit tableReloaded();
}

void MyStockHoldController::updatUI() {
    postToMainThread([self = QPointer<MyStockHoldController>(this)] {
        if (self) self->updateMainUI();
    });
}

HoldingList MyStockHoldController::myHoldStockList() const {
    std::lock_guard lock(lock_);
    return myHoldStockList_;
}

}  // namespace orvane::app
