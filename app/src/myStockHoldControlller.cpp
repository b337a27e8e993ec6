#include "myStockHoldControlller.h"

#include <QHeaderView>
#include <chrono>

#include "AppWorkers.h"
#include "HoldingFiles.h"
#include "MyStockHoldModel.h"
#include "orvane/core/DataDirectory.h"
#include "orvane/core/MainThreadDispatcher.h"
#include "orvane/core/NotificationBus.h"
#include "orvane/core/NotificationNames.h"
#include "orvane/market/StockKeys.h"
#include "orvane/stocklib/QXStockLib.h"
#include "ui_myStockHoldControlller.h"

namespace orvane::app {

using namespace orvane::keys;

using namespace std::chrono_literals;

namespace {
constexpr auto kRefreshPeriod = 5s;
}  // namespace

myStockHoldControlller::myStockHoldControlller(HoldingsWindowFields fields, QWidget* parent)
    : QWidget(parent),
      ui_(std::make_unique<Ui::myStockHoldControlller>()),
      model_(new MyStockHoldModel(this)),
      fields_(std::move(fields)) {
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
            &myStockHoldControlller::didClickTableColumn);
    connect(table, &QTableView::doubleClicked, this, &myStockHoldControlller::DoubleClickAction);
    connect(table->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (!restoringSelection_) tableViewSelectionDidChange();
    });
    connect(ui_->deleteStockBtn, &QPushButton::clicked, this,
            &myStockHoldControlller::deleteStockAction);
    connect(ui_->refreshStockBtn, &QPushButton::clicked, this,
            &myStockHoldControlller::refreshAction);
}

myStockHoldControlller::~myStockHoldControlller() {
    stopRefreshLoop();
}

void myStockHoldControlller::initStockArray() {
    {
        std::lock_guard lock(lock_);
        myHoldStockList_ = readHoldings(getHoldStockPath());
    }
    updatUI();
}

void myStockHoldControlller::addOneStockToMyStockList(const std::string& code) {
    if (isExsitOnHoldStockArray(code)) return;
    QXStockLib::defQXStockLib().downlaodOneStockTopath(code, holdingFile(getHoldStockPath(), code));
}

bool myStockHoldControlller::isExsitOnHoldStockArray(const std::string& code) const {
    return holdsStock(getHoldStockPath(), code);
}

const StockRecord* myStockHoldControlller::selectedRecord() const {
    const QModelIndexList rows = ui_->myStockTableView->selectionModel()->selectedRows();
    if (rows.isEmpty() || rows.first().row() >= model_->rowCount()) return nullptr;
    return &model_->rows()[rows.first().row()];
}

void myStockHoldControlller::deleteStockAction() {
    if (const StockRecord* record = selectedRecord()) {
        std::error_code ec;  // a file already gone changes nothing
        std::filesystem::remove(holdingFile(getHoldStockPath(), record->code), ec);
        initStockArray();
        UpdateMianUI();
        ui_->myStockTableView->clearSelection();
    }
    updatUI();
}

void myStockHoldControlller::refreshAction() {
    if (refreshStarted_) return;
    refreshStarted_ = true;
    refreshLoop_ = std::jthread([this](std::stop_token stop) {
        while (AppWorkers::sleepFor(stop, kRefreshPeriod)) initStockArray();
    });
}

void myStockHoldControlller::stopRefreshLoop() {
    refreshLoop_.request_stop();
    if (refreshLoop_.joinable()) refreshLoop_.join();
}

void myStockHoldControlller::DoubleClickAction() {
    if (const StockRecord* record = selectedRecord()) {
        const StockRecord row = *record;
        if (fields_.stockCodeTokenField)
            fields_.stockCodeTokenField->setText(QString::fromStdString(row.code));
        if (fields_.stockCodeName)
            fields_.stockCodeName->setText(QString::fromStdString(row.name.value_or("")));
        NotificationBus::shared().post(notifications::Notifiation_DoubleClickStock, this,
                                       row.toDictionary());
    }
    updatUI();
}

void myStockHoldControlller::tableViewSelectionDidChange() {
    if (const StockRecord* record = selectedRecord())
        NotificationBus::shared().post(notifications::Notifiation_GetStockStatus, this,
                                       {{STOCK_Code, record->code}});
    updatUI();
}

void myStockHoldControlller::didClickTableColumn(int column) {
    const auto& columns = holdingTableColumns();
    if (column < 0 || column >= static_cast<int>(columns.size())) return;
    SortIndicator indicator;
    {
        std::lock_guard lock(lock_);
        indicator =
            sortHoldingsByColumn(myHoldStockList_, columns[column].identifier, sortAscending_);
    }
    ui_->myStockTableView->horizontalHeader()->setSortIndicator(
        column, indicator == SortIndicator::Ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
    model_->setHighlightedColumn(column);
    UpdateMianUI();
}

void myStockHoldControlller::selectCode(const std::string& code) {
    const HoldingList& rows = model_->rows();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].code != code) continue;
        restoringSelection_ = true;
        ui_->myStockTableView->selectRow(static_cast<int>(i));
        restoringSelection_ = false;
        return;
    }
}

void myStockHoldControlller::UpdateMianUI() {
    // The reload keeps the selected stock selected, without a new notice.
    const StockRecord* selected = selectedRecord();
    const std::string selectedCode = selected ? selected->code : std::string();
    model_->setRows(myHoldStockList());
    if (!selectedCode.empty()) selectCode(selectedCode);
    ui_->deleteStockBtn->setEnabled(selectedRecord() != nullptr);
    ui_->refreshStockBtn->setEnabled(model_->rowCount() > 0);
    emit tableReloaded();
}

void myStockHoldControlller::updatUI() {
    postToMainThread([self = QPointer<myStockHoldControlller>(this)] {
        if (self) self->UpdateMianUI();
    });
}

HoldingList myStockHoldControlller::myHoldStockList() const {
    std::lock_guard lock(lock_);
    return myHoldStockList_;
}

}  // namespace orvane::app
