#include "lists/QXScoreController.h"

#include <QFileSystemWatcher>
#include <QHeaderView>
#include <QTimer>
#include <system_error>

#include "common/PickedStock.h"
#include "lists/RowListFile.h"
#include "lists/RowTableModel.h"
#include "lists/ScoreListRows.h"
#include "orvane/core/DataDirectory.h"
#include "orvane/core/Log.h"
#include "orvane/core/NotificationBus.h"
#include "orvane/core/NotificationNames.h"
#include "orvane/market/CodeTable.h"
#include "orvane/market/StockKeys.h"
#include "ui_QXScoreController.h"

namespace orvane::app {

namespace k = keys;
namespace names = notifications;

namespace {

constexpr const char* kSegmentTitles[kScoreSegments] = {"高分", "B模式", "双炮", "双炮已发生"};

std::filesystem::file_time_type stampOf(const std::filesystem::path& file) {
    std::error_code ec;
    const auto stamp = std::filesystem::last_write_time(file, ec);
    return ec ? std::filesystem::file_time_type{} : stamp;
}

}  // namespace

QXScoreController::QXScoreController(QWidget* parent)
    : QWidget(parent), ui_(std::make_unique<Ui::QXScoreController>()) {
    ui_->setupUi(this);
    for (const char* title : kSegmentTitles)
        ui_->scoreTypeSegment->addTab(QString::fromUtf8(title));

    model_ = new RowTableModel(
        {{k::STOCK_Code, QStringLiteral("股票"), 215},
         {k::STOCK_SCORE, QStringLiteral("得分"), 110}},
        [](const StockRecord& row, std::string_view column) {
            return scoreCell(row, column, [](std::string_view code) {
                return CodeTable::shared().getStockCodeName(code);
            });
        },
        this);
    ui_->scoreTableview->setModel(model_);
    applyColumnWidths(*ui_->scoreTableview, model_->columns());

    connect(ui_->scoreTypeSegment, &QTabBar::tabBarClicked, this,
            &QXScoreController::scoreTypeAction);
    connect(ui_->scoreTableview->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &QXScoreController::tableViewSelectionDidChange);

    // The score download rewrites the lists (a new file renamed into
    // place): the folder changes, and the shown list is read again shortly
    // after, once, when its file is newer than the one shown.
    reload_ = new QTimer(this);
    reload_->setSingleShot(true);
    reload_->setInterval(200);
    connect(reload_, &QTimer::timeout, this, &QXScoreController::reloadWhenRewritten);
    watcher_ = new QFileSystemWatcher(this);
    watcher_->addPath(QString::fromStdString(getGainsPath().string()));
    connect(watcher_, &QFileSystemWatcher::directoryChanged, reload_, qOverload<>(&QTimer::start));
}

QXScoreController::~QXScoreController() = default;

const std::vector<StockRecord>& QXScoreController::scoreList() const {
    return model_->rows();
}

void QXScoreController::updateAllStock() {
    scoreTypeAction(ui_->scoreTypeSegment->currentIndex());
    connect(ui_->scoreTableview, &QTableView::doubleClicked, this,
            &QXScoreController::DoubleClickAction, Qt::UniqueConnection);
}

void QXScoreController::scoreTypeAction(int segment) {
    if (segment < 0 || segment >= kScoreSegments) return;
    ui_->scoreTypeSegment->setCurrentIndex(segment);
    const std::filesystem::path file = scoreListFile(getGainsPath(), segment);
    const RowListFile list = readRowListFile(file);
    if (list.state == RowListFile::State::Bad) {
        ORVANE_LOG("%s", list.note().c_str());
        emit statusMessage(QString::fromStdString(list.note()));
    }
    loadedStamp_ = stampOf(file);
    model_->setRows(list.rows);
    ui_->scoreCaptionField->setText(QStringLiteral("%1 (%2)")
                                        .arg(QString::fromUtf8(kSegmentTitles[segment]))
                                        .arg(model_->rowCount()));
    emit scoreListLoaded(segment);
}

void QXScoreController::reloadWhenRewritten() {
    const int segment = ui_->scoreTypeSegment->currentIndex();
    if (stampOf(scoreListFile(getGainsPath(), segment)) != loadedStamp_) scoreTypeAction(segment);
}

int QXScoreController::selectedRow() const {
    const auto rows = ui_->scoreTableview->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.front().row();
}

void QXScoreController::DoubleClickAction() {
    const int row = selectedRow();
    if (row < 0) return;
    const StockRecord stock = model_->rowAt(row);  // a copy: the window may reload the list
    // The score files carry no names: the code table's.
    announcePickedStock(*this, stock,
                        CodeTable::shared().getStockCodeName(stock.code).value_or(std::string()));
    updateMainUI();
}

void QXScoreController::updateMainUI() {
    const int row = selectedRow();
    if (row < 0) return;
    NotificationBus::shared().post(names::Notifiation_GetStockStatus, this,
                                   {{k::STOCK_Code, model_->rowAt(row).code}});
}

}  // namespace orvane::app
