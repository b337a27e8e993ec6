#include "holdings/MyStockHoldController.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <chrono>

#include "application/AppWorkers.h"
#include "common/DisplayText.h"
#include "common/PickedStock.h"
#include "holdings/HoldingFiles.h"
#include "holdings/HoldingPositionFile.h"
#include "holdings/HoldingRows.h"
#include "holdings/MyStockHoldModel.h"
#include "holdings/PositionDialog.h"
#include "orvane/core/DataDirectory.h"
#include "orvane/core/MainThreadDispatcher.h"
#include "orvane/core/NotificationBus.h"
#include "orvane/core/NotificationNames.h"
#include "orvane/core/NumberText.h"
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
      refreshPeriod_(refreshPeriod),
      totalLine_(new QLabel(this)) {
    ui_->setupUi(this);
    totalLine_->setObjectName(QStringLiteral("holdingsTotal"));
    ui_->holdingsLayout->insertWidget(ui_->holdingsLayout->indexOf(ui_->myStockTableView) + 1,
                                      totalLine_);
    auto* positionButton = new QPushButton(QStringLiteral("成本…"), this);
    positionButton->setObjectName(QStringLiteral("positionBtn"));
    positionButton->setToolTip(QStringLiteral("设置选中持仓的成本价和持股数量"));
    ui_->holdingsButtons->insertWidget(ui_->holdingsButtons->indexOf(ui_->deleteStockBtn),
                                       positionButton);
    connect(positionButton, &QPushButton::clicked, this,
            &MyStockHoldController::editPositionAction);
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
        PositionsRead positions = readPositions(positionFile());
        if (!positions.note.empty())
            postToMainThread([self = QPointer(this), note = positions.note] {
                if (self) emit self->statusMessage(qs(note));
            });
        // A column the user sorted by keeps its order through the rebuilds.
        if (!sortColumn_.empty()) {
            bool ascending = sortColumnAscending_;
            sortHoldingsByColumn(rows, sortColumn_, ascending, positions.positions);
        }
        myHoldStockList_ = std::move(rows);
        positions_ = std::move(positions.positions);
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
    if (positions().contains(code)) setPosition(code, std::nullopt);
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
        indicator = sortHoldingsByColumn(myHoldStockList_, columns[column].identifier,
                                         sortAscending_, positions_);
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
    const HoldingList rows = myHoldStockList();
    const Positions held = positions();
    model_->setPositions(held);
    model_->setRows(rows);
    const PositionTotals totals = totalOf(rows, held);
    totalLine_->setText(
        totals.counted == 0
            ? QStringLiteral("合计：没有设置成本的持仓（选中一行，点“成本…”设置）")
            : qs(format("合计（%d 只）  市值 %.2f  浮动盈亏 %+.2f  盈亏比例 %s", totals.counted,
                        totals.value, totals.profit,
                        totals.percent() ? format("%+.2f%%", *totals.percent()).c_str() : "—")));
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

Positions MyStockHoldController::positions() const {
    std::lock_guard lock(lock_);
    return positions_;
}

std::optional<std::string> MyStockHoldController::setPosition(
    const std::string& code, const std::optional<Position>& position) {
    if (position)
        if (auto refusal = refusalOfPosition(format("%.6f", position->cost), position->shares))
            return refusal;
    Positions changed = readPositions(positionFile()).positions;
    if (position)
        changed[code] = *position;
    else
        changed.erase(code);
    if (auto failure = savePositions(changed, positionFile())) {
        emit statusMessage(qs(*failure));
        return failure;
    }
    initStockArray();
    return std::nullopt;
}

void MyStockHoldController::editPositionAction() {
    const StockRecord* record = selectedRecord();
    if (!record) {
        emit statusMessage(QStringLiteral("请先选中一只持仓股票"));
        return;
    }
    const std::string code = record->code;
    const Positions held = positions();
    const auto found = held.find(code);
    PositionDialog dialog(qs(record->name.value_or("") + " (" + code + ")"),
                          found == held.end() ? std::nullopt : std::optional(found->second), this);
    if (dialog.exec() == QDialog::Accepted) setPosition(code, dialog.position());
}

HoldingList MyStockHoldController::myHoldStockList() const {
    std::lock_guard lock(lock_);
    return myHoldStockList_;
}

}  // namespace orvane::app
