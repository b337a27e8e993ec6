#include "watchlists/WatchListController.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QSettings>
#include <QTableView>
#include <QVBoxLayout>

#include "application/AppWorkers.h"
#include "common/PickedStock.h"
#include "orvane/core/MainThreadDispatcher.h"
#include "orvane/stocklib/QXStockLib.h"
#include "watchlists/WatchListFile.h"
#include "watchlists/WatchListModel.h"

namespace orvane::app {

namespace {

/// Verdicts fetched a refresh at most, so that the quotes keep coming.
constexpr std::size_t kVerdictsPerRefresh = 8;
constexpr const char* kHeaderSetting = "watchlists/header";

QSettings userSettings() {
    return QSettings(QStringLiteral("Orvane"), QStringLiteral("Orvane"));
}

QPushButton* button(const char* text, QWidget* parent, QLayout* layout) {
    auto* b = new QPushButton(QString::fromUtf8(text), parent);
    b->setAutoDefault(false);
    layout->addWidget(b);
    return b;
}

}  // namespace

WatchListController::WatchListController(QWidget* parent, std::chrono::milliseconds refreshPeriod)
    : QWidget(parent),
      groupBox_(new QComboBox(this)),
      codeField_(new QLineEdit(this)),
      table_(new QTableView(this)),
      model_(new WatchListModel(this)),
      refreshPeriod_(refreshPeriod) {
    auto* layout = new QVBoxLayout(this);
    auto* groupsRow = new QHBoxLayout;
    groupBox_->setObjectName(QStringLiteral("watchGroupBox"));
    groupBox_->setMinimumContentsLength(8);
    groupsRow->addWidget(groupBox_);
    connect(button("新建分组…", this, groupsRow), &QPushButton::clicked, this,
            &WatchListController::askNewGroup);
    connect(button("重命名…", this, groupsRow), &QPushButton::clicked, this,
            &WatchListController::askRename);
    connect(button("上移", this, groupsRow), &QPushButton::clicked, this,
            [this] { moveGroup(-1); });
    connect(button("下移", this, groupsRow), &QPushButton::clicked, this, [this] { moveGroup(1); });
    connect(button("删除分组", this, groupsRow), &QPushButton::clicked, this,
            &WatchListController::askDelete);
    groupsRow->addStretch();
    codeField_->setObjectName(QStringLiteral("watchCodeField"));
    codeField_->setPlaceholderText(QStringLiteral("股票代码"));
    codeField_->setMaxLength(6);
    codeField_->setMinimumWidth(80);
    codeField_->setMaximumWidth(100);
    groupsRow->addWidget(codeField_);
    QPushButton* add = button("加入", this, groupsRow);
    connect(add, &QPushButton::clicked, this, [this] {
        if (!addCode(codeField_->text())) codeField_->clear();
    });
    connect(codeField_, &QLineEdit::returnPressed, add, &QPushButton::click);
    connect(button("移出", this, groupsRow), &QPushButton::clicked, this,
            &WatchListController::removeSelected);
    layout->addLayout(groupsRow);
    layout->addWidget(table_);

    table_->setModel(model_);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->verticalHeader()->hide();
    QHeaderView* header = table_->horizontalHeader();
    // The group's order until a click: no column is sorted by at first
    // (sorting enabled with an indicator would sort at once).
    header->setSortIndicator(-1, Qt::DescendingOrder);
    table_->setSortingEnabled(true);
    header->setSectionsMovable(true);
    header->setContextMenuPolicy(Qt::CustomContextMenu);
    const auto& columns = watchColumns();
    for (int i = 0; i < static_cast<int>(columns.size()); ++i) {
        header->resizeSection(i, columns[std::size_t(i)].width);
        header->setSectionHidden(i, !columns[std::size_t(i)].shownAtFirst);
    }
    restoreHeader();
    connect(header, &QHeaderView::customContextMenuRequested, this,
            &WatchListController::showColumnMenu);
    connect(header, &QHeaderView::sectionMoved, this, &WatchListController::saveHeader);
    connect(table_, &QTableView::doubleClicked, this, &WatchListController::pickSelected);
    connect(groupBox_, &QComboBox::currentIndexChanged, this, [this] { showLists(); });
    reload();
}

WatchListController::~WatchListController() {
    stopRefreshing();
}

void WatchListController::reload() {
    WatchListRead read = readWatchLists(watchListFile());
    if (!read.note.empty()) emit statusMessage(QString::fromStdString(read.note));
    if (read.lists == lists_ && groupBox_->count() > 0) return;
    lists_ = std::move(read.lists);
    showLists();
}

void WatchListController::showLists() {
    const QString wanted = currentGroup();
    {
        const QSignalBlocker quiet(groupBox_);
        groupBox_->clear();
        for (const std::string& name : lists_.groupNames())
            groupBox_->addItem(QString::fromStdString(name));
        const int at = groupBox_->findText(wanted);
        groupBox_->setCurrentIndex(at >= 0 ? at : 0);
    }
    const WatchGroup* group = lists_.group(currentGroup().toStdString());
    model_->setCodes(group ? group->codes : std::vector<std::string>{});
    {
        std::lock_guard lock(lock_);
        watched_ = lists_.allCodes();
    }
    Q_EMIT listsShown();
}

QString WatchListController::currentGroup() const {
    return groupBox_->currentText();
}

void WatchListController::showGroup(const QString& name) {
    groupBox_->setCurrentIndex(groupBox_->findText(name));
}

std::optional<std::string> WatchListController::edit(
    const std::function<std::optional<std::string>(WatchLists&)>& change) {
    std::optional<std::string> refusal = editWatchLists(watchListFile(), change);
    if (refusal) emit statusMessage(QString::fromStdString(*refusal));
    reload();
    return refusal;
}

std::optional<std::string> WatchListController::createGroup(const QString& name) {
    auto refusal = edit([&](WatchLists& l) { return l.create(name.toStdString()); });
    if (!refusal) showGroup(QString::fromStdString(trimmedGroupName(name.toStdString())));
    return refusal;
}

std::optional<std::string> WatchListController::renameGroup(const QString& name) {
    const std::string from = currentGroup().toStdString();
    auto refusal = edit([&](WatchLists& l) { return l.rename(from, name.toStdString()); });
    if (!refusal) showGroup(QString::fromStdString(trimmedGroupName(name.toStdString())));
    return refusal;
}

std::optional<std::string> WatchListController::moveGroup(int offset) {
    const QString name = currentGroup();
    auto refusal = edit([&](WatchLists& l) { return l.move(name.toStdString(), offset); });
    showGroup(name);
    return refusal;
}

std::optional<std::string> WatchListController::deleteGroup() {
    const std::string name = currentGroup().toStdString();
    return edit([&](WatchLists& l) {
        std::optional<std::string> refusal = l.remove(name);
        // The tab always shows a group to add to.
        if (!refusal && l.groups().empty()) l.create(kDefaultWatchGroup);
        return refusal;
    });
}

std::optional<std::string> WatchListController::addCode(const QString& code) {
    const std::string group = currentGroup().toStdString();
    auto refusal = edit([&](WatchLists& l) { return l.add(code.trimmed().toStdString(), group); });
    if (!refusal) startRefreshing();
    return refusal;
}

std::optional<std::string> WatchListController::removeSelected() {
    const QModelIndexList rows = table_->selectionModel()->selectedRows();
    if (rows.isEmpty()) return std::string("没有选中的股票");
    const std::string code = model_->codeAt(rows.first().row());
    const std::string group = currentGroup().toStdString();
    return edit([&](WatchLists& l) { return l.removeCode(code, group); });
}

void WatchListController::askNewGroup() {
    bool ok = false;
    const QString name = QInputDialog::getText(
        this, QStringLiteral("新建分组"), QStringLiteral("分组名称："), QLineEdit::Normal, {}, &ok);
    if (!ok) return;
    if (auto refusal = createGroup(name))
        QMessageBox::warning(this, QStringLiteral("新建分组"), QString::fromStdString(*refusal));
}

void WatchListController::askRename() {
    bool ok = false;
    const QString name =
        QInputDialog::getText(this, QStringLiteral("重命名分组"), QStringLiteral("新的名称："),
                              QLineEdit::Normal, currentGroup(), &ok);
    if (!ok) return;
    if (auto refusal = renameGroup(name))
        QMessageBox::warning(this, QStringLiteral("重命名分组"), QString::fromStdString(*refusal));
}

void WatchListController::askDelete() {
    const auto answer =
        QMessageBox::question(this, QStringLiteral("删除分组"),
                              QStringLiteral("删除分组“%1”和其中的股票吗？").arg(currentGroup()));
    if (answer == QMessageBox::Yes) deleteGroup();
}

void WatchListController::pickSelected() {
    const QModelIndexList rows = table_->selectionModel()->selectedRows();
    if (rows.isEmpty()) return;
    const WatchRow row = model_->rowOf(model_->codeAt(rows.first().row()));
    StockRecord record = row.quote ? row.quote->record : StockRecord{};
    record.code = row.code;
    announcePickedStock(*this, record, record.name.value_or(""));
}

void WatchListController::showColumnMenu(const QPoint& at) {
    QMenu menu(this);
    QHeaderView* header = table_->horizontalHeader();
    const auto& columns = watchColumns();
    for (int i = 0; i < static_cast<int>(columns.size()); ++i) {
        QAction* action = menu.addAction(QString::fromUtf8(columns[std::size_t(i)].header));
        action->setCheckable(true);
        action->setChecked(!header->isSectionHidden(i));
        action->setEnabled(i != 0);  // the code always shows
        connect(action, &QAction::toggled, this, [this, header, i](bool shown) {
            header->setSectionHidden(i, !shown);
            saveHeader();
        });
    }
    menu.exec(header->mapToGlobal(at));
}

void WatchListController::saveHeader() const {
    userSettings().setValue(kHeaderSetting, table_->horizontalHeader()->saveState());
}

void WatchListController::restoreHeader() {
    const QByteArray state = userSettings().value(kHeaderSetting).toByteArray();
    if (!state.isEmpty()) table_->horizontalHeader()->restoreState(state);
    // A kept state never sorts before the first click of this run.
    table_->horizontalHeader()->setSortIndicator(-1, Qt::DescendingOrder);
}

void WatchListController::startRefreshing() {
    if (refreshing_) return;
    refreshing_ = true;
    loop_ = std::jthread([this](std::stop_token stop) {
        do refreshOnce(stop);
        while (AppWorkers::sleepFor(stop, refreshPeriod_));
    });
}

void WatchListController::stopRefreshing() {
    loop_.request_stop();
    if (loop_.joinable()) loop_.join();
}

void WatchListController::showQuotes(std::map<std::string, WatchQuote, std::less<>> quotes) {
    model_->setQuotes(std::move(quotes));
    emit quotesShown();
}

void WatchListController::refreshOnce(std::stop_token stop) {
    std::vector<std::string> codes;
    {
        std::lock_guard lock(lock_);
        codes = watched_;
    }
    if (codes.empty()) return;
    if (!quotesFromRound_) {
        auto quotes = fetchWatchQuotes(codes, stop);
        if (stop.stop_requested()) return;
        postToMainThread([self = QPointer(this), quotes = std::move(quotes)]() mutable {
            if (!self) return;
            self->reload();
            self->showQuotes(std::move(quotes));
        });
    }
    // The last days' volumes for 量比: once a day a stock.
    const std::string today = todayText();
    for (const std::string& code : codes) {
        if (stop.stop_requested()) return;
        if (!pastVolumesAsked_.ask(code, today)) continue;
        auto lots = fetchPastDaysLots(code, today);
        if (!lots) {
            pastVolumesAsked_.forget(code);  // asked again next time
            continue;
        }
        postToMainThread([self = QPointer(this), code, lots = std::move(*lots)]() mutable {
            if (self) self->model_->setPastVolumes(code, std::move(lots));
        });
    }
    // The verdict is of the last judged day: one fetch a stock and run.
    std::size_t fetched = 0;
    for (const std::string& code : codes) {
        if (stop.stop_requested() || fetched == kVerdictsPerRefresh) break;
        if (verdictsFetched_.contains(code)) continue;
        ++fetched;
        std::optional<StockRecord> verdict =
            QXStockLib::defQXStockLib().getOneStockDataInfoFormServer(code);
        if (!verdict || stop.stop_requested()) continue;  // tried again next time
        verdictsFetched_.insert(code);
        postToMainThread([self = QPointer(this), code, verdict = std::move(*verdict)]() mutable {
            if (self) self->model_->setVerdict(code, std::move(verdict));
        });
    }
}

}  // namespace orvane::app
