#include "mainwindow/QXDocument.h"

#include <QAbstractItemView>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTableView>
#include <filesystem>

#include "alerts/ModelBAlerts.h"
#include "alerts/NotificationPanelController.h"
#include "alerts/RuleAlerts.h"
#include "application/AppWorkers.h"
#include "application/DataFreshness.h"
#include "backtest/BacktestWindow.h"
#include "common/DisplayText.h"
#include "common/StockCodeRole.h"
#include "gallery/QXTrendMode.h"
#include "holdings/MyStockHoldController.h"
#include "keyboard/ChartKeys.h"
#include "keyboard/KeyboardWizard.h"
#include "lists/FilterStockUIController.h"
#include "liveday/LiveDay.h"
#include "liveday/OrderBookPanel.h"
#include "liveday/PriceAlertDialog.h"
#include "liveday/PriceAlerts.h"
#include "liveday/PriceAlertsWindow.h"
#include "mainwindow/DayPricesPanel.h"
#include "mainwindow/IndexStrip.h"
#include "mainwindow/ParameterSliders.h"
#include "mainwindow/QuestionnairePanel.h"
#include "mainwindow/SearchPanel.h"
#include "mainwindow/StatusLine.h"
#include "mainwindow/StatusLineFolderWait.h"
#include "mainwindow/StockFetch.h"
#include "mainwindow/StockLibBridge.h"
#include "mainwindow/StockSearch.h"
#include "mainwindow/VerdictPanel.h"
#include "mainwindow/WebSearchMenu.h"
#include "mainwindow/WidgetColours.h"
#include "mainwindow/WindowMenus.h"
#include "mainwindow/WindowTabs.h"
#include "markettable/MarketTableWindow.h"
#include "orvane/chart/IntradayView.h"
#include "orvane/chart/KWindow.h"
#include "orvane/chart/KWindowController.h"
#include "orvane/core/DataDirectory.h"
#include "orvane/core/LocalTime.h"
#include "orvane/core/MainThreadDispatcher.h"
#include "orvane/core/NotificationNames.h"
#include "orvane/core/NumberText.h"
#include "orvane/core/ProgressPanel.h"
#include "orvane/market/CodeTable.h"
#include "orvane/market/SectorGroups.h"
#include "orvane/market/StockCode.h"
#include "orvane/market/StockKeys.h"
#include "orvane/stocklib/QXStockLib.h"
#include "platform/AlertSound.h"
#include "platform/AppearanceSwitch.h"
#include "platform/StoredPropertyList.h"
#include "rules/RuleScreenWindow.h"
#include "rules/StockRuleDialog.h"
#include "sectors/SectorsPanel.h"
#include "stockmenu/StockMenu.h"
#include "ui_QXDocument.h"
#include "watchlists/WatchListController.h"
#include "watchlists/WatchListFile.h"

namespace orvane::app {

namespace fs = std::filesystem;
namespace names = orvane::notifications;

namespace {

/// The holdings worker probes the services every sixth round (30 s).
constexpr int kProbeEveryRounds = 6;
/// The tab of the market report, where sector reports are written too.
constexpr int kReportTab = 1;

std::string nameOf(std::string_view code) {
    return CodeTable::shared().getStockCodeName(code).value_or(std::string());
}

void defaultAlert(QWidget* parent, const QString& title, const QString& message) {
    QMessageBox box(QMessageBox::Warning, title, message, QMessageBox::NoButton, parent);
    box.addButton(QStringLiteral("确定"), QMessageBox::AcceptRole);
    box.exec();
}

}  // namespace

template <class Run>
void QXDocument::connectStopButton(Run* run) {
    // The stop button shows while a run goes and stops each run going; every
    // run has its own stop, which nothing else resets.
    connect(run, &Run::runStarted, this, [this] {
        ++runsGoing_;
        ui_->stopDownloadBtn->show();
    });
    connect(run, &Run::runEnded, this, [this] {
        runsGoing_ = std::max(0, runsGoing_ - 1);
        ui_->stopDownloadBtn->setVisible(runsGoing_ > 0);
    });
    connect(ui_->stopDownloadBtn, &QPushButton::clicked, run, &Run::stopRun);
}

QXDocument::QXDocument(WindowServices services, QWidget* parent)
    : QMainWindow(parent),
      ui_(std::make_unique<Ui::QXDocument>()),
      services_(services),
      freshness_(std::make_unique<DataFreshness>()),
      bridge_(std::make_unique<StockLibBridge>(this)) {
    if (!services_.notificationPanel) {
        ownPanel_ = std::make_unique<NotificationPanelController>();
        services_.notificationPanel = ownPanel_.get();
    }
    if (!services_.gallery) {
        ownGallery_ = std::make_unique<QXTrendMode>();
        services_.gallery = ownGallery_.get();
    }
    ui_->setupUi(this);
    setWindowTitle(displayName());
    setWindowIcon(QIcon(QStringLiteral(":/app/orvane.svg")));
    alert_ = [this](const QString& title, const QString& message) {
        defaultAlert(this, title, message);
    };
    ui_->modeB_ImageView->setPixmap(QIcon(QStringLiteral(":/app/modeB.svg")).pixmap(72, 30));
    ui_->progressIndicator->hide();
    ui_->stopDownloadBtn->hide();
    setUpPanels();
    setUpTabs();
    setUpMenus();
    setUpStockMenuAndKeys();
    connectParameterSliders(*ui_);
    setUpWorkers();
    setUpLiveDay();
    setUpMarketViews();
}

QXDocument::~QXDocument() {
    shutDown();
}

void QXDocument::setUpPanels() {
    status_ = new StatusLine(ui_->statusField, ui_->timeField, ui_->marketReportTextField,
                             *freshness_, this);
    search_ = new SearchPanel(
        shown_, {ui_->stockCodeTokenField, ui_->stockCodeName, ui_->QATextEdit, ui_->addMyStockBtn},
        [this](std::string_view code) { return isHeldStock(code); }, this);
    connect(search_, &SearchPanel::fetchRequested, this, &QXDocument::downloadData);
    connect(search_, &SearchPanel::statusMessage, status_, &StatusLine::showStatus);
    connect(search_, &SearchPanel::stockStatusMessage, status_, &StatusLine::showStockStatus);
    connect(&shown_, &ShownStock::changed, status_,
            [this] { status_->followShownStock(shown_.code()); });
    verdict_ = new VerdictPanel(shown_, ui_->selectedResultCapture, ui_->modeB_ImageView, this);
    dayPrices_ =
        new DayPricesPanel(shown_,
                           {ui_->today_Field, ui_->openPrice, ui_->closePrice, ui_->yesClosePrice,
                            ui_->pricedChanged, ui_->priceChangedRatio, ui_->closePriceLabel},
                           this);
    fetch_ = new StockFetch(shown_, *freshness_, this);
    connect(fetch_, &StockFetch::started, this, [this] {
        ui_->downloadData->setEnabled(false);
        ui_->progressIndicator->show();
    });
    connect(fetch_, &StockFetch::finished, this, [this] {
        ui_->downloadData->setEnabled(true);
        ui_->progressIndicator->hide();
        status_->redraw();
    });
    connect(fetch_, &StockFetch::verdictShown, this, [this](const QString& code) {
        showSectorsOf(code.toStdString());
        Q_EMIT verdictShown(code);
    });
    connect(fetch_, &StockFetch::failed, this,
            [this](const QString& title, const QString& message) { alert_(title, message); });
    connect(ui_->downloadData, &QPushButton::clicked, this, &QXDocument::downloadData);

    sectors_ = new SectorsPanel(
        {ui_->plantPopbtn, ui_->filterPlatebtn, ui_->sortPlantGainsPopbtn, ui_->filterPlantPopbtn,
         ui_->sortPlantGroupBtn, ui_->selectCompositBtn, ui_->sortPlantGrouptextView},
        [this](const QString& t, const QString& m) { alert_(t, m); }, this);
    connect(sectors_, &SectorsPanel::stockPicked, this, &QXDocument::downloadOneStockData);
    connect(sectors_, &SectorsPanel::recordFetched, this, &QXDocument::xupdateStockTrendDict);
    connect(sectors_, &SectorsPanel::statusMessage, status_, &StatusLine::showStatus);
    // A sector's report and the index batch's result are written on the
    // market report's tab: it comes to the front with them.
    connect(sectors_, &SectorsPanel::sectorReportShown, this, [this] {
        ui_->switchTableView->setCurrentIndex(kReportTab);
        Q_EMIT sectorReportShown();
    });
    connect(sectors_, &SectorsPanel::compositeBatchDone, this, [this] {
        ui_->switchTableView->setCurrentIndex(kReportTab);
        Q_EMIT compositeBatchDone();
    });
    connect(sectors_, &SectorsPanel::marketReportRequested, this,
            &QXDocument::recomputeMarketReport);
    connectStopButton(sectors_);

    webSearch_ = new WebSearchMenu(
        ui_->searchToWeb, ui_->searchURLField,
        [this]() -> chart::KWindowController& { return charts(); }, this);
    connect(webSearch_, &WebSearchMenu::searchRequested, this, &QXDocument::searchTowebAction);
    connect(webSearch_, &WebSearchMenu::dayChartOpened, this, &QXDocument::dayChartOpened);
    questionnaire_ = new QuestionnairePanel(
        {ui_->QuestionTextField, ui_->answerTextField, ui_->answerMatrix, ui_->answerYes,
         ui_->answerNo, ui_->startButton, ui_->nextBtn, ui_->lastBtn},
        this);
}

void QXDocument::setUpTabs() {
    tabs_ = new WindowTabs(*ui_, shown_, this);
    connect(tabs_, &WindowTabs::statusMessage, status_, &StatusLine::showStatus);
    connectStopButton(tabs_->filter());
    connect(ui_->addMyStockBtn, &QPushButton::clicked, this, &QXDocument::addStock_ToMyHold);
}

void QXDocument::setUpMenus() {
    menus_ = new WindowMenus(*this, *ui_, *services_.gallery, [this] { return &charts(); });
    connect(menus_, &WindowMenus::statusMessage, status_, &StatusLine::showStatus);
    connect(ui_->actionRuleScreen, &QAction::triggered, this, [this] { openRuleScreen(); });
    connect(ui_->actionStockRules, &QAction::triggered, this,
            [this] { StockRuleDialog::showFor(*this); });
    if (services_.appearance)
        ui_->menubar->insertMenu(ui_->menuHelp->menuAction(),
                                 services_.appearance->makeMenu(ui_->menubar));
}

void QXDocument::setUpStockMenuAndKeys() {
    stockMenu_ = new StockMenu(this);
    StockMenuProviders& p = stockMenu_->providers();
    p.diagnose = [this](const std::string& code) { diagnose(code); };
    p.dayChart = [this](const std::string& code, const std::vector<std::string>& list) {
        openDayChart(code, list);
    };
    p.isHeld = [this](const std::string& code) { return isHeldStock(code); };
    p.addHolding = [this](const std::string& code) {
        if (!tabs_->holdings()->addOneStockToMyStockList(code)) return;
        search_->refreshAddButton();
        if (ui_->switchTableView->currentIndex() == 0) tabs_->holdings()->initStockArray();
    };
    p.removeHolding = [this](const std::string& code) {
        tabs_->holdings()->removeHolding(code);
        search_->refreshAddButton();
    };
    p.intraday = [this](const std::string& code, const std::vector<std::string>&) {
        openIntraday(code);
    };
    p.setPriceAlert = [this](const std::string& code) { editPriceAlert(code); };
    p.watchGroups = [] { return watchGroups(); };
    p.addToWatchGroup = [this](const std::string& code, const std::string& group) {
        if (auto refusal = addToWatchGroup(code, group)) {
            status_->showStatus(*refusal);
            return;
        }
        tabs_->watchLists()->reload();
        tabs_->watchLists()->startRefreshing();
    };
    for (QAbstractItemView* view : tabs_->stockViews()) stockMenu_->attach(view);
    stockMenu_->attachDeleteKey(
        tabs_->stockViews().front(),
        [](const std::string& code) {
            return QStringLiteral("从持仓中删除 %1？").arg(stockLabel(code));
        },
        p.removeHolding);
    WatchListController* watch = tabs_->watchLists();
    stockMenu_->attach(watch->table());
    stockMenu_->attachDeleteKey(
        watch->table(),
        [watch](const std::string& code) {
            return QStringLiteral("从自选分组“%1”中删除 %2？")
                .arg(watch->currentGroup(), stockLabel(code));
        },
        [this, watch](const std::string& code) {
            if (auto refusal = removeFromWatchGroup(code, watch->currentGroup().toStdString()))
                status_->showStatus(*refusal);
            watch->reload();
        });
    connect(ui_->actionBacktest, &QAction::triggered, this, [this] {
        // The menus' handler has opened it by now; its signals are stocks too.
        BacktestWindow& backtest = BacktestWindow::showFor(*this, [this] { return &charts(); });
        auto* signalRows = backtest.findChild<QAbstractItemView*>(QStringLiteral("signalsTable"));
        stockMenu_->attach(signalRows);
        if (backtestSeen_ == &backtest) return;
        backtestSeen_ = &backtest;
        // A signal's chart steps through the stocks of the signals shown.
        connect(&backtest, &BacktestWindow::signalChartOpened, this,
                [this, signalRows](const QString& path) {
                    if (chartKeys_)
                        chartKeys_->chartOpened(fs::path(path.toStdString()).stem().string(),
                                                stockCodesOf(*signalRows->model()));
                });
    });

    wizard_ = new KeyboardWizard(search_->completions(), this);
    wizard_->attach(this, [this](const std::string& code) { diagnose(code); });
    connect(ui_->actionDayChart, &QAction::triggered, this, &QXDocument::showShownStockChart);
    connect(ui_->actionDiagnose, &QAction::triggered, this, [this] {
        ui_->stockCodeTokenField->setFocus(Qt::ShortcutFocusReason);
        ui_->stockCodeTokenField->selectAll();
    });
    // Every chart opened (from here, an alert, the web-search button) is the
    // stock the chart's keys step from.
    connect(webSearch_, &WebSearchMenu::dayChartOpened, this, [this](const QString& path) {
        if (!path.isEmpty() && chartKeys_)
            chartKeys_->chartOpened(fs::path(path.toStdString()).stem().string());
    });
}

void QXDocument::setUpWorkers() {
    alerts_ = new ModelBAlerts({.panel = services_.notificationPanel}, this);
    connect(alerts_, &ModelBAlerts::notificationActivated, this, [this](const QString& code) {
        shown_.choose(code.toStdString(), nameOf(code.toStdString()));
        searchTowebAction();
    });
    connect(alerts_, &ModelBAlerts::storedFileSetAside, this,
            [this](const QString& message) { status_->addNotice(message.toStdString()); });
    ruleAlerts_ = new RuleAlerts({.desktopNotificationsAnswer = sessionBusHasNotificationService,
                                  .panel = &alerts_->panel()},
                                 this);
    connect(ruleAlerts_, &RuleAlerts::storedFileSetAside, this,
            [this](const QString& message) { status_->addNotice(message.toStdString()); });
    // The held stocks' quotes, on each refresh of the holdings.
    connect(tabs_->holdings(), &MyStockHoldController::tableReloaded, this,
            [this] { ruleAlerts_->checkHeldQuotes(tabs_->holdings()->myHoldStockList()); });
    int counter = 0;
    workers_ = std::make_unique<AppWorkers>(WorkerHooks{
        .updateStatusTimes =
            [this] {
                postToMainThread([doc = QPointer(this)] {
                    if (doc) doc->status_->updateStatusTimes();
                });
            },
        .updateNotifyTrendMode =
            [this](std::stop_token stop) { menus_->updateNotifyTrendMode(stop); },
        .quoteRound =
            [this](std::stop_token stop) {
                liveDay_->refresh(stop);
                tabs_->holdings()->initStockArray();  // the files this round replaced
            },
        .holdingsRefreshed =
            [this, counter](std::stop_token stop) mutable {
                if (counter++ % kProbeEveryRounds != 0 || !freshness_->probe(stop)) return;
                postToMainThread([doc = QPointer(this)] {
                    if (doc) doc->status_->redraw();
                });
            },
    });
}

void QXDocument::setUpLiveDay() {
    priceAlerts_ = new PriceAlerts({.nameOf = nameOf,
                                    .desktopNotificationsAnswer = sessionBusHasNotificationService,
                                    .panel = services_.notificationPanel},
                                   this);
    connect(priceAlerts_, &PriceAlerts::storedFileSetAside, this,
            [this](const QString& message) { status_->addNotice(message.toStdString()); });
    connect(priceAlerts_, &PriceAlerts::alertsChanged, this, &QXDocument::updateLiveCodes);
    liveDay_ = new LiveDay(*priceAlerts_, this);
    connect(liveDay_, &LiveDay::quotesUpdated, this, &QXDocument::showLiveDay);
    // Every watched stock is quoted live and its price alerts checked.
    tabs_->watchLists()->reload();
    setWatchedCodesProvider([this] { return tabs_->watchLists()->lists().allCodes(); });
    connect(tabs_->watchLists(), &WatchListController::listsShown, this,
            &QXDocument::updateLiveCodes);
    // The watch list shows this same round's quotes, not a round of its own.
    tabs_->watchLists()->takeQuotesFromRound();
    connect(liveDay_, &LiveDay::quotesUpdated, this, [this] {
        WatchListController* watch = tabs_->watchLists();
        watch->reload();  // lists changed in another window show with this round
        std::map<std::string, WatchQuote, std::less<>> quotes;
        for (const std::string& code : watch->lists().allCodes())
            if (const StockRecord* quote = liveDay_->quoteOf(code))
                quotes.emplace(code, watchQuoteOf(*quote));
        watch->showQuotes(std::move(quotes));
    });
    connect(&shown_, &ShownStock::changed, this, [this] {
        // The verdict's box names the day it judges: "2026-12-07 收盘判断".
        const bool shown = shown_.state() == ShownStock::State::Shown && shown_.view();
        const QString judged = shown ? qs(shown_.view()->judgedDay) : QString();
        ui_->searchBox->setTitle(judged.isEmpty() ? QStringLiteral("个股诊断")
                                                  : QStringLiteral("个股诊断　") + judged);
        updateLiveCodes();
        showLiveDay();
    });

    // 五档盘口 above the tabs: the left column has no height to spare.
    auto* bookBox = new QGroupBox(QStringLiteral("五档盘口"), ui_->centralwidget);
    auto* bookLayout = new QVBoxLayout(bookBox);
    bookLayout->setContentsMargins(2, 2, 2, 2);
    orderBook_ = new OrderBookPanel(bookBox);
    bookLayout->addWidget(orderBook_);
    bookBox->setMaximumWidth(440);
    ui_->rightLayout->insertWidget(ui_->rightLayout->indexOf(ui_->switchTableView), bookBox, 0,
                                   Qt::AlignLeft);

    // Beside 股票, before 分析: the help menu stays the last.
    auto* menu = new QMenu(QStringLiteral("行情"), menuBar());
    menuBar()->insertMenu(ui_->menuAnalysis->menuAction(), menu);
    auto add = [menu](const char* text, const char* keys) {
        QAction* action = menu->addAction(QString::fromUtf8(text));
        action->setShortcut(QKeySequence(QString::fromLatin1(keys)));
        return action;
    };
    connect(add("分时", "Ctrl+T"), &QAction::triggered, this, [this] {
        if (!shown_.code().empty()) openIntraday(shown_.code());
    });
    connect(add("设置价格提醒…", "Ctrl+P"), &QAction::triggered, this, [this] {
        if (!shown_.code().empty()) editPriceAlert(shown_.code());
    });
    connect(add("价格提醒列表…", "Ctrl+Shift+P"), &QAction::triggered, this,
            &QXDocument::showPriceAlertList);
}

void QXDocument::updateLiveCodes() {
    std::vector<std::string> quoted, withMinutes;
    auto addTo = [](std::vector<std::string>& list, const std::string& code) {
        if (isValidStockCode(code) && std::find(list.begin(), list.end(), code) == list.end())
            list.push_back(code);
    };
    addTo(quoted, shown_.code());
    addTo(withMinutes, shown_.code());
    for (const PriceAlert& alert : priceAlerts_->alerts()) addTo(quoted, alert.code);
    if (watchedCodes_)
        for (const std::string& code : watchedCodes_()) addTo(quoted, code);
    if (kWindowController_)
        for (const std::string& code : kWindowController_->intradayCodes()) {
            addTo(quoted, code);
            addTo(withMinutes, code);
        }
    liveDay_->setWatchedCodes(std::move(quoted), std::move(withMinutes));
}

void QXDocument::setWatchedCodesProvider(std::function<std::vector<std::string>()> provider) {
    watchedCodes_ = std::move(provider);
    updateLiveCodes();
}

void QXDocument::showLiveDay() {
    const StockRecord* quote = liveDay_->quoteOf(shown_.code());
    dayPrices_->showLiveQuote(quote);
    orderBook_->setQuote(quote);
    if (!kWindowController_) return;
    for (const std::string& code : kWindowController_->intradayCodes())
        if (chart::IntradayView* view = kWindowController_->intradayViewOf(code))
            view->setLine(liveDay_->intraday().lineOf(code));
}

void QXDocument::openIntraday(const std::string& code) {
    if (!isValidStockCode(code)) return;
    chart::IntradayView* view = charts().addIntradayView(code);
    if (!view) return;
    view->setLine(liveDay_->intraday().lineOf(code));
    updateLiveCodes();
}

void QXDocument::editPriceAlert(const std::string& code) {
    if (!isValidStockCode(code)) return;
    const std::string name = nameOf(code);
    PriceAlertDialog dialog(code, qs(name.empty() ? code : name + "(" + code + ")"), std::nullopt,
                            this);
    if (dialog.exec() == QDialog::Accepted && dialog.alert()) priceAlerts_->add(*dialog.alert());
}

void QXDocument::showPriceAlertList() {
    PriceAlertsWindow window(*priceAlerts_, nameOf, this);
    window.exec();
}

void QXDocument::setUpMarketViews() {
    indexStrip_ = new IndexStrip({}, ui_->centralwidget);
    indexStrip_->hide();  // until the reference data names the indexes
    ui_->outerLayout->addWidget(indexStrip_);
    connect(indexStrip_, &IndexStrip::indexPicked, this,
            [this](const QString& code) { webSearch_->openDayChart(code.toStdString()); });
    QAction* marketTable = ui_->menuAnalysis->addAction(QStringLiteral("行情总览…"));
    marketTable->setShortcut(QKeySequence(QStringLiteral("Ctrl+L")));
    marketTable->setObjectName(QStringLiteral("actionMarketTable"));
    connect(marketTable, &QAction::triggered, this, &QXDocument::openMarketTable);
}

MarketTableWindow& QXDocument::marketTable() {
    if (!marketTable_) {
        marketTable_ = std::make_unique<MarketTableWindow>();
        connect(marketTable_.get(), &MarketTableWindow::stockPicked, this,
                [this](const QString& code, const QString& name) {
                    shown_.choose(code.toStdString(), name.toStdString());
                    raise();
                    activateWindow();
                });
        stockMenu_->attach(marketTable_->table());
        wizard_->attach(marketTable_.get(), [this](const std::string& code) { diagnose(code); });
    }
    return *marketTable_;
}

void QXDocument::openMarketTable() {
    MarketTableWindow& window = marketTable();
    window.show();
    window.raise();
    window.activateWindow();
}

void QXDocument::setServerSettingsOpener(std::function<void()> opener) {
    ui_->actionServerSettings->disconnect(this);
    connect(ui_->actionServerSettings, &QAction::triggered, this, std::move(opener));
}

void QXDocument::recomputeMarketReport() {
    auto panel = ProgressPanel::shared();
    panel->showProgressPanel(100);
    panel->setDisplayString(" 正在下载数据检查市场状况 ...");
    workers_->detachMmarketReportThread();
}

void QXDocument::setMarketImportOpener(std::function<void()> opener) {
    ui_->actionImportMarket->disconnect(this);
    connect(ui_->actionImportMarket, &QAction::triggered, this, std::move(opener));
}

bool QXDocument::windowControllerDidLoadNib(std::function<bool()> dataServerReady) {
    if (!dataServerReady()) return false;
    auto panel = ProgressPanel::shared();
    panel->showProgressPanel(100);
    panel->setDisplayString(" 正在下载数据检查市场状况 ...");
    // A worker that finds another run replacing the day's files waits on
    // its own thread and says so on the status line.
    DataFolderWait::install(std::make_shared<StatusLineFolderWait>(this));
    workers_->detachMmarketReportThread();
    initMyStocklist();
    shown_.clear();
    ui_->notifyBtn->hide();
    observeNotifications();
    QXStockLib::defQXStockLib().setDelegate(bridge_.get());
    ui_->switchTableView->setCurrentIndex(kReportTab);
    workers_->detachStockInfoReportThread();
    return true;
}

void QXDocument::observeNotifications() {
    auto observe = [this](const char* name, std::function<void(const Dictionary&)> handle) {
        observers_.push_back(std::make_unique<ScopedObserver>(
            NotificationBus::shared(), name,
            [doc = QPointer(this), handle = std::move(handle)](const Notification& note) {
                if (doc) handle(note.userInfo);
            },
            NotificationBus::Delivery::MainThread));
    };
    observe(names::Notifiation_Stock_rasieDown,
            [this](const Dictionary& p) { alerts_->HandNotifiation_Stock_rasieDown(p); });
    observe(names::Notifiation_TREND_MODEB,
            [this](const Dictionary& p) { alerts_->HandModeBNofification(p); });
    // A list's double-clicked stock is the shown one by now: its history.
    observe(names::Notifiation_DoubleClickStock, [this](const Dictionary&) { tabs_->showTab(2); });
    // A day of the history tab: that day's record is shown.
    observe(names::Notifiation_HistodayStockChaged, [this](const Dictionary& p) {
        const StockRecord day = StockRecord::fromDictionary(p);
        if (isValidStockCode(day.code)) xupdateStockTrendDict(day);
    });
    observe(names::Notifiation_GetStockStatus,
            [this](const Dictionary& p) { downloadOneStockData(stringFor(p, keys::STOCK_Code)); });
}

void QXDocument::initMyStocklist() {
    alerts_->loadStockModeBList();
    ruleAlerts_->load();
    ruleAlerts_->startDayResultsChecks();
    priceAlerts_->load();
    sectors_->reload();
    resetParameterSliders(*ui_);
    ui_->stockCodeTokenField->setPlaceholderText(
        CodeTable::shared().entryCount() == 0
            ? QStringLiteral("没有股票代码表：参考数据下载完成后即可搜索")
            : QStringLiteral("代码 / 名称 / 拼音首字母"));
    questionnaire_->reset();
    const StoredPropertyList settings =
        readStoredPropertyList(dataPath("Setting.plist"), StoredKind::Dictionary);
    if (settings.wasRead()) {
        const Value* key = orvane::find(settings.value.dictionary(), "searchKey");
        webSearch_->setSearchKey(key && key->isString() ? qs(key->string()) : QString());
    } else if (settings.needsReport()) {
        status_->addNotice(settings.reportText());
    }
    workers_->startScheduleAndTrendModeWorkers();
    indexStrip_->reloadIndexes();
    if (marketTable_) marketTable_->reloadStocks();
    // A stock shown before the code table and the sectors arrived learns its
    // name and sectors now.
    if (const std::string code = shown_.code(); !code.empty()) {
        shown_.setName(nameOf(code));
        showSectorsOf(code);
    }
}

void QXDocument::shutDown() {
    if (shutDown_) return;
    shutDown_ = true;
    QXStockLib::defQXStockLib().setDelegate(nullptr);
    DataFolderWait::install(nullptr);
    observers_.clear();
    workers_->stopAll();
    indexStrip_->stop();
    if (marketTable_) marketTable_->hide();
    tabs_->stopAll();
    sectors_->shutDown();
    fetch_->waitForFinished();
    ruleAlerts_->stopDayResultsChecks();
    if (auto* screen = findChild<RuleScreenWindow*>(QString(), Qt::FindDirectChildrenOnly))
        screen->waitForFinished();
}

RuleScreenWindow& QXDocument::openRuleScreen() {
    const bool first = !findChild<RuleScreenWindow*>(QString(), Qt::FindDirectChildrenOnly);
    RuleScreenWindow& screen = RuleScreenWindow::showFor(*this);
    if (first) {
        screen.setResultsListener([this](const std::vector<DayResult>& results) {
            ruleAlerts_->checkDayResults(results);
        });
        connect(&screen, &RuleScreenWindow::stockPicked, this,
                [this](const QString& code, const QString& name) {
                    shown_.choose(code.toStdString(), name.toStdString());
                });
        stockMenu_->attach(screen.findChild<QAbstractItemView*>(QStringLiteral("resultTable")));
        wizard_->attach(&screen, [this](const std::string& code) { diagnose(code); });
    }
    return screen;
}

QString QXDocument::searchKey() const {
    return webSearch_->searchKey();
}

bool QXDocument::isFetching() const {
    return fetch_->isRunning();
}

void QXDocument::closeEvent(QCloseEvent* event) {
    // Closing the main window ends the program.
    event->accept();
    QCoreApplication::quit();
}

bool QXDocument::isHeldStock(std::string_view code) const {
    return isValidStockCode(code) && tabs_->holdings()->isExsitOnHoldStockArray(std::string(code));
}

void QXDocument::codeValidationAlert() {
    alert_(QStringLiteral("错误的股票代码！"),
           QStringLiteral("股票代码必须为6位数，沪市股票代码以600，601，603开头，深市股票代码以"
                          "000，002，300开头，请确认你的股票代码是正确的。"));
}

void QXDocument::controlTextDidChange() {
    search_->controlTextDidChange();
}

void QXDocument::downloadData() {
    const std::string code = search_->text();
    if (isValidStockCode(code))
        downloadOneStockData(code);
    else
        codeValidationAlert();
}

void QXDocument::downloadOneStockData(const std::string& code) {
    if (!isValidStockCode(code) || shutDown_) return;
    fetch_->fetch(code);
}

void QXDocument::xupdateStockTrendDict(const StockRecord& record) {
    const std::string code = record.code;
    showSectorsOf(code);
    shown_.show(nameOf(code), record);
    Q_EMIT verdictShown(qs(code));
}

void QXDocument::showSectorsOf(const std::string& code) {
    status_->showStockStatus(code, sectorStatusLine(SectorGroups::shared(), code));
}

void QXDocument::searchTowebAction() {
    webSearch_->searchToweb(shown_.code().empty() ? search_->text() : shown_.code());
}

chart::KWindowController& QXDocument::charts() {
    if (!kWindowController_) {
        kWindowController_ = std::make_unique<chart::KWindowController>(
            [](const std::string& code) { return nameOf(code); });
        QWidget* chartWindow = kWindowController_->kWindow();
        chartKeys_ = new ChartKeys(
            chartWindow,
            [this](const std::string& code) {
                webSearch_->openDayChart(code, WebSearchMenu::ChartTab::Shown);
            },
            [this] {
                raise();
                activateWindow();
            });
        wizard_->attach(chartWindow, [this](const std::string& code) { openDayChart(code); });
    }
    return *kWindowController_;
}

void QXDocument::diagnose(const std::string& code) {
    if (!isValidStockCode(code)) return;
    shown_.choose(code, nameOf(code));
    downloadOneStockData(code);
    raise();
    activateWindow();
}

void QXDocument::openDayChart(const std::string& code, const std::vector<std::string>& list) {
    if (!isValidStockCode(code)) return;
    charts();
    chartKeys_->chartOpened(code, list);
    webSearch_->openDayChart(code);
}

void QXDocument::showShownStockChart() {
    const std::string code = shown_.code().empty() ? search_->text() : shown_.code();
    openDayChart(code, listOnScreenWith(code));
}

std::vector<std::string> QXDocument::listOnScreenWith(const std::string& code) const {
    for (QAbstractItemView* view : tabs_->stockViews()) {
        if (!view->isVisible() || !view->model()) continue;
        std::vector<std::string> codes = stockCodesOf(*view->model());
        if (std::find(codes.begin(), codes.end(), code) != codes.end()) return codes;
    }
    return {};
}

void QXDocument::addStock_ToMyHold() {
    const std::string code = shown_.code().empty() ? search_->text() : shown_.code();
    if (!isValidStockCode(code)) return codeValidationAlert();
    if (!tabs_->holdings()->addOneStockToMyStockList(code)) return;
    ui_->addMyStockBtn->setEnabled(false);  // held now
    if (ui_->switchTableView->currentIndex() == 0) tabs_->holdings()->initStockArray();
}

void QXDocument::switchTableViewAction(int tag) {
    tabs_->switchTableViewAction(tag);
}

void QXDocument::showTab(int index) {
    tabs_->showTab(index);
}

FilterStockUIController* QXDocument::filterStockController() const {
    return tabs_->filter();
}

Questionnaire& QXDocument::questionnaire() {
    return questionnaire_->questionnaire();
}

}  // namespace orvane::app
