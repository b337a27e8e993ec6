#include "mainwindow/WindowTabs.h"

#include <QTableView>

#include "history/OneHisStockController.h"
#include "holdings/MyStockHoldController.h"
#include "lists/FilterStockUIController.h"
#include "lists/QXScoreController.h"
#include "lists/QXSmartSortController.h"
#include "mainwindow/ShownStock.h"
#include "ui_QXDocument.h"
#include "watchlists/WatchListController.h"

namespace orvane::app {

namespace {

/// A list's picked stock becomes the shown one; its messages go to the
/// window's status line.
template <class List>
void connectList(WindowTabs& tabs, List* list, ShownStock& shown) {
    QObject::connect(list, &List::stockPicked, &shown,
                     [&shown](const QString& code, const QString& name) {
                         shown.choose(code.toStdString(), name.toStdString());
                     });
    QObject::connect(list, &List::statusMessage, &tabs, [&tabs](const QString& text) {
        Q_EMIT tabs.statusMessage(text.toStdString());
    });
}

}  // namespace

WindowTabs::WindowTabs(Ui::QXDocument& ui, ShownStock& shown, QObject* parent)
    : QObject(parent),
      ui_(ui),
      shown_(shown),
      holdings_(new MyStockHoldController(ui.holdingsTab)),
      history_(new OneHisStockController(ui.historyTab)),
      filter_(new FilterStockUIController(ui.filterTab)),
      scores_(new QXScoreController(ui.scoreTab)),
      smartSort_(new QXSmartSortController(ui.scoreTab)),
      watchLists_(new WatchListController(ui.switchTableView)) {
    ui_.switchTableView->addTab(watchLists_, QStringLiteral("自选股"));
    ui_.holdingsTabLayout->addWidget(holdings_);
    ui_.historyTabLayout->addWidget(history_);
    ui_.filterTabLayout->addWidget(filter_);
    ui_.scoreTabLayout->addWidget(scores_);
    ui_.scoreTabLayout->addWidget(smartSort_);
    connectList(*this, holdings_, shown_);
    connectList(*this, filter_, shown_);
    connectList(*this, scores_, shown_);
    connectList(*this, smartSort_, shown_);
    connectList(*this, watchLists_, shown_);
    connect(filter_, &FilterStockUIController::shownStockCleared, &shown_, &ShownStock::clear);
    connect(&shown_, &ShownStock::changed, history_, [this] {
        history_->setShownStock(QString::fromStdString(shown_.code()),
                                QString::fromStdString(shown_.name()));
    });
    connect(ui_.switchTableView, &QTabWidget::tabBarClicked, this,
            [this](int index) { switchTableViewAction(1001 + index); });
}

void WindowTabs::switchTableViewAction(int tag) {
    if (tag < 1001) return;
    const int index = tag - 1001;
    ui_.switchTableView->setCurrentIndex(index);
    switch (index) {
        case 0:
            holdings_->initStockArray();
            break;
        case 2:
            history_->tabOpened();
            break;
        case 4:
            filter_->updateAllStock();
            break;
        case 5:
            scores_->updateAllStock();
            break;
        default:
            if (ui_.switchTableView->widget(index) == watchLists_) {
                watchLists_->reload();
                watchLists_->startRefreshing();
            }
            break;
    }
}

std::vector<QAbstractItemView*> WindowTabs::stockViews() const {
    // Each tab's table by its name in the tab's description.
    const auto table = [](const QWidget* tab, const char* name) {
        return tab->findChild<QAbstractItemView*>(QString::fromLatin1(name));
    };
    return {table(holdings_, "myStockTableView"), history_->myStockTableView(),
            table(filter_, "resultTableView"), table(scores_, "scoreTableview"),
            table(smartSort_, "smartTable")};
}

void WindowTabs::stopAll() {
    history_->stopCalculations();
    holdings_->stopRefreshLoop();
    smartSort_->stopWatch();
    filter_->stopRun();
    watchLists_->stopRefreshing();
}

}  // namespace orvane::app
