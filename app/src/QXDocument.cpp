#include "QXDocument.h"

#include <QAbstractItemView>
#include <QCloseEvent>
#include <QComboBox>
#include <QCompleter>
#include <QElapsedTimer>
#include <QFutureWatcher>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QStringListModel>
#include <QTime>
#include <QtConcurrent>
#include <cstdlib>
#include <filesystem>

#include "AlertSound.h"
#include "AppWorkers.h"
#include "BacktestWindow.h"
#include "DataFreshness.h"
#include "HelpWindow.h"
#include "ListMainWindowFields.h"
#include "ModelBAlerts.h"
#include "NewMessageTime.h"
#include "NotificationPanelController.h"
#include "OneHisStockController.h"
#include "QXScoreController.h"
#include "QXSmartSortController.h"
#include "QXTrendMode.h"
#include "Questionnaire.h"
#include "StockSearch.h"
#include "StoredPropertyList.h"
#include "TrendModeCount.h"
#include "VerdictDisplay.h"
#include "WebSearch.h"
#include "filterStockUIController.h"
#include "myStockHoldControlller.h"
#include "orvane/analysis/AnalysisSession.h"
#include "orvane/chart/KWindowController.h"
#include "orvane/core/AtomicFile.h"
#include "orvane/core/DataDirectory.h"
#include "orvane/core/LocalTime.h"
#include "orvane/core/Log.h"
#include "orvane/core/MainThreadDispatcher.h"
#include "orvane/core/NotificationNames.h"
#include "orvane/core/NumberText.h"
#include "orvane/core/ProgressPanel.h"
#include "orvane/core/PropertyList.h"
#include "orvane/core/StringTable.h"
#include "orvane/core/Workspace.h"
#include "orvane/market/CodeTable.h"
#include "orvane/market/HttpRequest.h"
#include "orvane/market/MarketServers.h"
#include "orvane/market/SectorGroups.h"
#include "orvane/market/ServerPaths.h"
#include "orvane/market/StockCode.h"
#include "orvane/market/StockKeys.h"
#include "orvane/reports/GainsRankingRun.h"
#include "orvane/reports/StockScreening.h"
#include "orvane/stocklib/QXStockLib.h"
#include "ui_QXDocument.h"

namespace orvane::app {

using namespace orvane::keys;

namespace fs = std::filesystem;
namespace names = orvane::notifications;

namespace {

constexpr int kConnectivityTimeOutSeconds = 5;
/// The holdings worker probes the services every sixth round (30 s).
constexpr int kProbeEveryRounds = 6;

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

/// Status texts carry the program's "\r\n" line ends; a label wants "\n".
QString displayText(const std::string& text) {
    return qs(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

QColor toQColor(const Rgb& c) {
    return QColor::fromRgbF(static_cast<float>(c.red), static_cast<float>(c.green),
                            static_cast<float>(c.blue));
}

void setTextColour(QWidget* w, const QColor& colour) {
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText, colour);
    p.setColor(QPalette::Text, colour);
    w->setPalette(p);
}

std::optional<std::string> nameOf(std::string_view code) {
    return CodeTable::shared().getStockCodeName(code);
}

/// The start-up check: one request to the data server that completes
/// without a transfer error.
bool dataServerAnswers() {
    return !dataServerProblem(kConnectivityTimeOutSeconds);
}

void defaultAlert(QWidget* parent, const QString& title, const QString& message) {
    QMessageBox box(QMessageBox::Warning, title, message, QMessageBox::NoButton, parent);
    box.addButton(QStringLiteral("确定"), QMessageBox::AcceptRole);
    box.exec();
}

}  // namespace

/// The window as the market-data library's delegate: every call is handed
/// to the main thread, where the window answers it (workers call it).
class DocumentDelegate final : public QXStockLibUpdateDelegate {
  public:
    explicit DocumentDelegate(QXDocument* doc) : doc_(doc) {}

    void updateHisdatProgressdDelegate(int done, int total) override {
        post([=](QXDocument& d) { d.updateHisdatProgressdDelegate(done, total); });
    }
    void updateGainsTitleDataDelegate(int total, int current, const std::string& code) override {
        post([=](QXDocument& d) { d.updateGainsTitleDataDelegate(total, current, code); });
    }
    void updateStockTrendDictDelegate(const StockRecord& record) override {
        post([=](QXDocument& d) { d.xupdateStockTrendDict(record); });
    }
    void updateProgressDownloadFinishedDelegate(const std::string&, int progress) override {
        post([=](QXDocument& d) { d.updateProgressDownloadFinishedDelegate(progress); });
    }
    void setStatusBarMarketReportTextDelegate(const StyledText& text, int progress) override {
        post([=](QXDocument& d) { d.setStatusBarMarketReportTextDelegate(text, progress); });
    }
    void setActivatePlateReportDelegate(const std::string& text) override {
        post([=](QXDocument& d) { d.setActivatePlateReportDelegate(text); });
    }
    void processUISeletedStockDelegate(const std::vector<StockRecord>&) override {
        post([](QXDocument& d) { d.filterStockController()->processUISeletedStockResult(); });
    }
    void tagArrayActivatePlateDelegate(const Array& list, bool up, bool clear) override {
        post([=](QXDocument& d) { d.tagArrayActivatePlateDelegate(list, up, clear); });
    }

  private:
    void post(std::function<void(QXDocument&)> call) {
        postToMainThread([doc = doc_, call = std::move(call)] {
            if (doc) call(*doc);
        });
    }
    QPointer<QXDocument> doc_;
};

QXDocument::QXDocument(QWidget* parent)
    : QMainWindow(parent),
      ui_(std::make_unique<Ui::QXDocument>()),
      delegate_(std::make_unique<DocumentDelegate>(this)),
      freshness_(std::make_unique<DataFreshness>()) {
    ui_->setupUi(this);
    setWindowTitle(displayName());
    setWindowIcon(QIcon(QStringLiteral(":/app/orvane.svg")));
    alert_ = [this](const QString& title, const QString& message) {
        defaultAlert(this, title, message);
    };
    ui_->modeB_ImageView->setPixmap(QIcon(QStringLiteral(":/app/modeB.svg")).pixmap(72, 30));
    ui_->progressIndicator->hide();
    ui_->stopDownloadBtn->hide();
    ui_->notifyBtn->hide();
    // The count of new models, in white on a red badge.
    ui_->notifyBtn->setStyleSheet(
        QStringLiteral("QPushButton { background: #e8413c; color: white; font-weight: bold;"
                       " border-radius: 9px; padding: 2px 10px; }"));
    ui_->sortPlantGainsPopbtn->addItems({QStringLiteral("5"), QStringLiteral("10")});
    setUpSearchField();
    setUpAlerts();
    setUpSectorArea();
    setUpWebSearch();
    setUpQuestionnaire();
    connect(ui_->switchTableView, &QTabWidget::tabBarClicked, this,
            [this](int index) { switchTableViewAction(1001 + index); });
    connect(ui_->downloadData, &QPushButton::clicked, this, &QXDocument::downlaodData);
    connect(ui_->searchToWeb, &QToolButton::clicked, this, &QXDocument::searchTowebAction);
    connect(ui_->notifyBtn, &QPushButton::clicked, this, &QXDocument::ModeThrendUp);
    connect(ui_->actionTrendUpModels, &QAction::triggered, this,
            [] { QXTrendMode::defQXTrendMode().showTrendUpModeForWindow(); });
    connect(ui_->actionBacktest, &QAction::triggered, this, [this] {
        BacktestWindow::showFor(*this, [this] { return kWindowController_.get(); });
    });
    connect(ui_->actionGuide, &QAction::triggered, this, &QXDocument::helpAction);
    connect(ui_->actionDoublePaoHelp, &QAction::triggered, this, [this] {
        if (!doublePaoHelp_)
            doublePaoHelp_ = new HelpWindow(std::string(serverpath::kDoubleCannonHelp),
                                            QStringLiteral("双炮形态"), this);
        doublePaoHelp_->help_DoublePao();
    });
    setUpLists();
    connect(ui_->stopDownloadBtn, &QPushButton::clicked, this, [this] {
        mStopDownload = true;
        ui_->stopDownloadBtn->hide();
    });
    connect(ui_->actionQuit, &QAction::triggered, this, &QWidget::close);
    connectSliderLabels();

    int counter = 0;
    workers_ = std::make_unique<AppWorkers>(WorkerHooks{
        .updateStatusTimes =
            [this] {
                postToMainThread([doc = QPointer(this)] {
                    if (doc) doc->updateStatusTimes();
                });
            },
        .updateNotifyTrendMode = [this](std::stop_token stop) { updateNotifyTrendMode(stop); },
        .holdingsRefreshed =
            [this, counter](std::stop_token stop) mutable {
                if (counter++ % kProbeEveryRounds != 0 || !freshness_->probe(stop)) return;
                postToMainThread([doc = QPointer(this)] {
                    if (!doc) return;
                    const auto notice = doc->freshness_->staleNotice();
                    doc->ui_->timeField->setToolTip(notice ? qs(*notice) : QString());
                    setTextColour(doc->ui_->timeField,
                                  notice ? QColor(200, 0, 0) : QColor(Qt::black));
                    doc->showStatus(notice.value_or("数据服务器已恢复连接"));
                });
            },
    });
}

QXDocument::~QXDocument() {
    shutDown();
}

void QXDocument::setUpLists() {
    myStockHoldUIController_ = new myStockHoldControlller(
        {ui_->stockCodeTokenField, ui_->stockCodeName}, ui_->holdingsTab);
    ui_->holdingsTabLayout->addWidget(myStockHoldUIController_);
    oneHisStockUIControlller_ =
        new oneHisStockControlller(ui_->stockCodeTokenField, ui_->historyTab);
    ui_->historyTabLayout->addWidget(oneHisStockUIControlller_);
    const ListMainWindowFields fields{
        ui_->stockCodeTokenField, ui_->stockCodeName,   nullptr,       nullptr,
        ui_->statusField,         ui_->stopDownloadBtn, &mStopDownload};
    filterStockUIController_ = new app::filterStockUIController(fields, ui_->filterTab);
    ui_->filterTabLayout->addWidget(filterStockUIController_);
    scoreUIController_ = new QXScoreController(fields, ui_->scoreTab);
    smartSortUIController_ = new QXSmartSortController(fields, ui_->scoreTab);
    ui_->scoreTabLayout->addWidget(scoreUIController_);
    ui_->scoreTabLayout->addWidget(smartSortUIController_);
    connect(ui_->addMyStockBtn, &QPushButton::clicked, this, &QXDocument::addStock_ToMyHold);
}

void QXDocument::addStock_ToMyHold() {
    const std::string code = ui_->stockCodeTokenField->text().trimmed().toStdString();
    if (!isValidStockCode(code)) return codeValidationAlert();
    myStockHoldUIController_->addOneStockToMyStockList(code);
    ui_->addMyStockBtn->setEnabled(false);
    if (ui_->switchTableView->currentIndex() == 0) myStockHoldUIController_->initStockArray();
}

void QXDocument::setUpAlerts() {
    alerts_ = new ModelBAlerts({}, this);
    connect(alerts_, &ModelBAlerts::notificationActivated, this, [this](const QString& code) {
        showStockName(code.toStdString());
        searchTowebAction();
    });
    connect(alerts_, &ModelBAlerts::storedFileSetAside, this,
            [this](const QString& message) { ui_->statusField->setText(message); });
}

void QXDocument::setServerSettingsOpener(std::function<void()> opener) {
    ui_->actionServerSettings->disconnect(this);
    connect(ui_->actionServerSettings, &QAction::triggered, this, std::move(opener));
}

void QXDocument::connectSliderLabels() {
    auto label = [this](QSlider* slider, QLabel* text, auto describe) {
        connect(slider, &QSlider::valueChanged, text,
                [text, describe](int value) { text->setText(qs(describe(value))); });
        text->setText(qs(describe(slider->value())));
    };
    label(ui_->thresholdSlide, ui_->thresholdValueText,
          [](int v) { return format("%s:%d", "突破关键点阀值", v); });
    label(ui_->trendUpthredholdSlide, ui_->trendUpThredHoldText,
          [](int v) { return format("%s:%d", "上涨趋势阀值", v); });
    label(ui_->hushenGainsSlider, ui_->hushenGainsTextField,
          [](int v) { return format("沪深涨幅前 %d 位", v); });
}

void QXDocument::setUpSearchField() {
    completions_ = new QStringListModel(this);
    completer_ = new QCompleter(completions_, this);
    completer_->setWidget(ui_->stockCodeTokenField);
    completer_->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
    completer_->setMaxVisibleItems(12);
    QLineEdit* field = ui_->stockCodeTokenField;
    connect(field, &QLineEdit::textEdited, this, [this](const QString& text) {
        const auto found =
            completionStrings(CodeTable::shared(), normaliseSearchKey(text.toStdString()));
        QStringList list;
        list.reserve(static_cast<qsizetype>(found.size()));
        for (const auto& s : found) list << qs(s);
        completions_->setStringList(list);
        if (!list.isEmpty()) completer_->complete();
        controlTextDidChange();
    });
    connect(completer_, qOverload<const QString&>(&QCompleter::activated), this,
            [this](const QString& picked) {
                ui_->stockCodeTokenField->setText(qs(tokenDisplayString(picked.toStdString())));
                controlTextDidChange();
            });
    connect(field, &QLineEdit::returnPressed, this, [this] {
        if (!completer_->popup()->isVisible()) downlaodData();
    });
}

bool QXDocument::windowControllerDidLoadNib() {
    if (!dataServerAnswers()) {
        alert_(QStringLiteral("链接不上服务器,请确定您的电脑已经连接互联网!"),
               QStringLiteral("       Orvane 必须在有互联网的环境下才能使用 , "
                              "没有网络的环境下应用程序即将退出！或者稍后在试"));
        return false;
    }
    auto panel = ProgressPanel::shared();
    panel->showProgressPanel(100);
    panel->setDisplayString(" 正在下载数据检查市场状况 ...");
    workers_->detachMmarketReportThread();
    initMyStocklist();
    resetCounter();
    if (!kWindowController_)
        kWindowController_ = std::make_unique<chart::KWindowController>(
            [](const std::string& code) { return nameOf(code).value_or(std::string()); });
    ui_->notifyBtn->hide();
    ui_->addMyStockBtn->setEnabled(false);
    observeNotifications();
    QXStockLib::defQXStockLib().setDelegate(delegate_.get());
    ui_->switchTableView->setCurrentIndex(1);
    workers_->detachStockInfoReportThread();
    return true;
}

void QXDocument::observeNotifications() {
    auto& bus = NotificationBus::shared();
    auto observe = [&](const char* name, void (QXDocument::*handler)(const Notification&)) {
        observers_.push_back(std::make_unique<ScopedObserver>(
            bus, name,
            [doc = QPointer(this), handler](const Notification& note) {
                if (doc) (doc->*handler)(note);
            },
            NotificationBus::Delivery::MainThread));
    };
    observe(names::Notifiation_Stock_rasieDown, &QXDocument::HandNotifiation_Stock_rasieDown);
    observe(names::Notifiation_TREND_MODEB, &QXDocument::HandModeBNofification);
    observe(names::Notifiation_DoubleClickStock, &QXDocument::HandDoubleClickStockNofification);
    observe(names::Notifiation_HistodayStockChaged,
            &QXDocument::HandHistodayStockChagedNofification);
    observe(names::Notifiation_GetStockStatus, &QXDocument::HandNotifiation_GetStockStatus);
}

void QXDocument::initMyStocklist() {
    alerts_->loadStockModeBList();
    ui_->plantPopbtn->clear();
    for (const std::string& name : SectorGroups::shared().getPlateGroupNameArray())
        ui_->plantPopbtn->addItem(qs(name));
    ui_->filterPlantPopbtn->clear();
    ui_->thresholdSlide->setRange(110, 200);
    ui_->thresholdSlide->setValue(148);
    ui_->hushenGainsSlider->setRange(10, 200);
    ui_->hushenGainsSlider->setValue(120);
    ui_->sortPlantGrouptextView->clear();
    ui_->stockCodeTokenField->setPlaceholderText(
        CodeTable::shared().entryCount() == 0
            ? QStringLiteral("没有股票代码表：参考数据下载完成后即可搜索")
            : QStringLiteral("代码 / 名称 / 拼音首字母"));
    questionnaire_->initQA();
    showQuestionnaire();
    const StoredPropertyList settings =
        readStoredPropertyList(dataPath("Setting.plist"), StoredKind::Dictionary);
    if (settings.wasRead()) {
        const Value* key = orvane::find(settings.value.dictionary(), "searchKey");
        ui_->searchURLField->setText(key && key->isString() ? qs(key->string())
                                                            : QStringLiteral("日K线"));
    } else if (settings.needsReport()) {
        showStatus(settings.reportText());
    }
    workers_->startScheduleAndTrendModeWorkers();
}

void QXDocument::resetCounter() {
    for (QLabel* field : {ui_->today_Field, ui_->openPrice, ui_->closePrice, ui_->yesClosePrice,
                          ui_->pricedChanged, ui_->priceChangedRatio})
        field->clear();
    ui_->modeB_ImageView->hide();
}

void QXDocument::shutDown() {
    if (shutDown_) return;
    shutDown_ = true;
    QXStockLib::defQXStockLib().setDelegate(nullptr);
    observers_.clear();
    workers_->stopAll();
    oneHisStockUIControlller_->stopCalculations();
    myStockHoldUIController_->stopRefreshLoop();
    smartSortUIController_->stopWatch();
    mStopDownload = true;
    // A ranking report ends after its current stock once asked to stop.
    QElapsedTimer waited;
    waited.start();
    while (isGainsRankingRunning() && waited.elapsed() < 15000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    if (background_.joinable()) {
        background_.request_stop();
        // It may be waiting for this thread to show a record: keep serving
        // until it has ended (after quit the dispatcher drops the tasks).
        while (!backgroundEnded_) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        background_.join();
    }
    if (fetch_) fetch_->waitForFinished();
}

QString QXDocument::searchKey() const {
    return ui_->searchURLField->text();
}

bool QXDocument::isFetching() const {
    return fetch_ && fetch_->isRunning();
}

void QXDocument::closeEvent(QCloseEvent* event) {
    // Closing the main window ends the program.
    event->accept();
    QCoreApplication::quit();
}

void QXDocument::showStatus(const std::string& text) {
    ui_->statusField->setText(displayText(text));
}

void QXDocument::showStockName(const std::string& code) {
    if (auto name = nameOf(code)) {
        ui_->stockCodeName->setText(qs(*name));
        ui_->stockCodeTokenField->setText(qs(code));
    }
}

bool QXDocument::isHeldStock(std::string_view code) const {
    return isValidStockCode(code) &&
           myStockHoldUIController_->isExsitOnHoldStockArray(std::string(code));
}

void QXDocument::codeValidationAlert() {
    alert_(QStringLiteral("错误的股票代码！"),
           QStringLiteral("股票代码必须为6位数，沪市股票代码以600，601，603开头，深市股票代码以"
                          "000，002，300开头，请确认你的股票代码是正确的。"));
}

void QXDocument::controlTextDidChange() {
    const std::string text = ui_->stockCodeTokenField->text().toStdString();
    const SearchFieldChange change =
        searchTextChanged(text, {CodeTable::shared(), SectorGroups::shared(),
                                 [this](std::string_view code) { return isHeldStock(code); },
                                 localizedString("title")});
    ui_->addMyStockBtn->setEnabled(change.addEnabled);
    oneHisStockUIControlller_->updateOneStockCaptureInfo();
    if (change.status) showStatus(*change.status);
    if (change.name) ui_->stockCodeName->setText(qs(*change.name));
    if (change.searchText) ui_->stockCodeTokenField->setText(qs(*change.searchText));
    if (change.clearVerdict) ui_->selectedResultCapture->clear();
    if (change.caption) ui_->QATextEdit->setText(qs(*change.caption));
}

void QXDocument::downlaodData() {
    const std::string code = ui_->stockCodeTokenField->text().trimmed().toStdString();
    if (isValidStockCode(code))
        downloadOneStockData(code);
    else
        codeValidationAlert();
}

void QXDocument::downloadOneStockData(const std::string& code) {
    if (!isValidStockCode(code) || shutDown_) return;
    showStockName(code);
    // The fetch may wait for the network: it runs on a worker, the fetch
    // button waits for it, and a newer fetch takes the place of an older one
    // (whose answer is then dropped).
    if (fetch_) fetch_->disconnect(this);
    auto* watcher = new QFutureWatcher<std::optional<StockRecord>>(this);
    fetch_ = watcher;
    ui_->downloadData->setEnabled(false);
    ui_->progressIndicator->show();
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher] {
        watcher->deleteLater();
        if (fetch_ != watcher) return;
        fetch_ = nullptr;
        ui_->downloadData->setEnabled(true);
        ui_->progressIndicator->hide();
        if (const std::optional<StockRecord> record = watcher->result())
            xupdateStockTrendDict(*record);
        else
            alert_(QStringLiteral("无法判断！"), QStringLiteral("股票交易数据太少，无法判断"));
    });
    watcher->setFuture(QtConcurrent::run(
        [code] { return QXStockLib::defQXStockLib().getOneStockDataInfoFormServer(code); }));
}

void QXDocument::xupdateStockTrendDict(const StockRecord& record) {
    const VerdictView view = makeVerdictView(record, std::rand());
    showStatus(sectorStatusLine(SectorGroups::shared(), view.code));
    QLineEdit* field = ui_->stockCodeTokenField;
    setTextColour(field, toQColor(view.codeColour));
    field->setText(qs(view.code));
    if (auto name = nameOf(view.code)) ui_->stockCodeName->setText(qs(*name));
    ui_->selectedResultCapture->setText(displayText(view.verdict));
    setTextColour(ui_->selectedResultCapture, toQColor(view.verdictColour));
    ui_->modeB_ImageView->setVisible(view.modeB);
    ui_->today_Field->setText(qs(view.day));
    ui_->openPrice->setText(qs(view.open));
    ui_->closePrice->setText(qs(view.close));
    ui_->yesClosePrice->setText(qs(view.yesClose));
    ui_->pricedChanged->setText(qs(view.change));
    ui_->priceChangedRatio->setText(qs(view.range));
    setTextColour(ui_->closePrice, toQColor(view.closeColour));
    setTextColour(ui_->pricedChanged, toQColor(view.changeColour));
    emit verdictShown(qs(view.code));
}

void QXDocument::searchTowebAction() {
    const std::string code = ui_->stockCodeTokenField->text().trimmed().toStdString();
    if (!isValidStockCode(code)) return;
    const std::string target = searchKey().toStdString();
    if (target == kDayChartTarget)
        openDayChart(code);
    else if (const auto url = portalPageURL(target, code))
        Workspace::shared()->openURL(*url);
}

void QXDocument::setUpWebSearch() {
    auto* menu = new QMenu(ui_->searchToWeb);
    for (const std::string& target : webSearchTargets()) {
        QAction* action = menu->addAction(qs(target));
        action->setCheckable(true);
    }
    // The highlighted target shows its mark and becomes the target while
    // highlighted; choosing it opens it.
    connect(menu, &QMenu::hovered, this, [this, menu](QAction* hovered) {
        for (QAction* a : menu->actions()) a->setChecked(a == hovered);
        ui_->searchURLField->setText(hovered->text().isEmpty() ? QStringLiteral("日K线")
                                                               : hovered->text());
    });
    connect(menu, &QMenu::aboutToShow, this, [] { ORVANE_LOG("menuWillOpen"); });
    connect(menu, &QMenu::triggered, this, [this](QAction* chosen) {
        ui_->searchURLField->setText(chosen->text());
        searchTowebAction();
    });
    ui_->searchToWeb->setMenu(menu);
}

void QXDocument::setUpQuestionnaire() {
    questionnaire_ = std::make_unique<Questionnaire>(
        [](const std::string& key) { return localizedString(key); });
    connect(ui_->startButton, &QPushButton::clicked, this, [this] {
        questionnaire_->startQA();
        showQuestionnaire();
    });
    connect(ui_->answerYes, &QRadioButton::clicked, this, [this] {
        questionnaire_->answerAction(true);
        showQuestionnaire();
    });
    connect(ui_->answerNo, &QRadioButton::clicked, this, [this] {
        questionnaire_->answerAction(false);
        showQuestionnaire();
    });
    connect(ui_->nextBtn, &QPushButton::clicked, this, [this] {
        questionnaire_->nextQAAction();
        showQuestionnaire();
    });
    connect(ui_->lastBtn, &QPushButton::clicked, this, [this] {
        questionnaire_->lastQAAction();
        showQuestionnaire();
    });
}

void QXDocument::showQuestionnaire() {
    const Questionnaire::View& v = questionnaire_->view();
    ui_->QuestionTextField->setText(displayText(v.question));
    ui_->answerTextField->setText(displayText(v.result));
    ui_->answerMatrix->setVisible(v.answersShown);
    // Both cells off is a state radio buttons only reach without exclusivity.
    for (auto [button, on] : {std::pair{ui_->answerYes, v.yes}, {ui_->answerNo, v.no}}) {
        button->setAutoExclusive(false);
        button->setChecked(on);
        button->setAutoExclusive(true);
    }
    ui_->lastBtn->setEnabled(v.previousEnabled);
    ui_->nextBtn->setEnabled(v.nextEnabled);
    ui_->startButton->setVisible(v.startShown);
}

void QXDocument::switchTableViewAction(int tag) {
    if (tag < 1001) return;
    const int index = tag - 1001;
    ui_->switchTableView->setCurrentIndex(index);
    switch (index) {
        case 0:
            myStockHoldUIController_->initStockArray();
            break;
        case 2:
            oneHisStockUIControlller_->updateOneStockCaptureInfo();
            break;
        case 4:
            filterStockUIController_->updateAllStock();
            break;
        case 5:
            scoreUIController_->updateAllStock();
            break;
        default:
            break;
    }
}

void QXDocument::showTab(int index) {
    switchTableViewAction(1001 + index);
    if (index == 2) oneHisStockUIControlller_->calOneStockHisInfo();
}

bool QXDocument::isScreening() const {
    return backgroundBusy_;
}

bool QXDocument::runInBackground(std::function<void(std::stop_token)> work) {
    if (backgroundBusy_ || shutDown_) return false;
    if (background_.joinable()) background_.join();  // the last one has ended
    backgroundBusy_ = true;
    backgroundEnded_ = false;
    mStopDownload = false;
    ui_->stopDownloadBtn->show();
    background_ = std::jthread([this, work = std::move(work)](std::stop_token stop) {
        work(stop);
        backgroundEnded_ = true;
        postToMainThread([doc = QPointer(this)] {
            if (!doc) return;
            doc->ui_->stopDownloadBtn->hide();
            doc->backgroundBusy_ = false;
        });
    });
    return true;
}

void QXDocument::setUpSectorArea() {
    connect(ui_->plantPopbtn, &QComboBox::activated, this, [this] { selectPlantPopAction(); });
    connect(ui_->filterPlatebtn, &QPushButton::clicked, this, &QXDocument::filterPlantAction);
    connect(ui_->sortPlantGainsPopbtn, &QComboBox::activated, this, [this] { sortPlantStock(); });
    connect(ui_->filterPlantPopbtn, &QComboBox::activated, this,
            [this] { setPopToCurStock(true); });
    connect(ui_->sortPlantGroupBtn, &QPushButton::clicked, this, &QXDocument::sortPlantGroupAction);
    connect(ui_->selectCompositBtn, &QPushButton::clicked, this, &QXDocument::selectComposit);
}

void QXDocument::selectPlantPopAction() {
    const std::string group = ui_->plantPopbtn->currentText().toStdString();
    ui_->sortPlantGrouptextView->setPlainText(
        qs(sectorSizeText(group, SectorGroups::shared().getPlantGroupNum(group))));
}

void QXDocument::filterPlantAction() {
    const std::string group = ui_->plantPopbtn->currentText().toStdString();
    if (group.empty()) return;
    screening_ = SectorScreening{};
    runInBackground([this, group](std::stop_token) {
        SectorScreening result{group, 0, {}, {}};
        result.today = processFilterStockFromSubPlateGroup(
            QXStockLib::defQXStockLib(), group, result.processed, result.before5, &mStopDownload);
        postToMainThread([doc = QPointer(this), result = std::move(result)] {
            if (!doc) return;
            doc->screening_ = result;
            ProgressPanel::shared()->closeProgressPanel();
            if (result.today.empty())
                doc->alert_(QStringLiteral("没有选出符合条件的股票！"),
                            QStringLiteral("没有选出符合条件的股票,请重新选择。"));
            doc->sortPlantStock();
            emit doc->sectorReportShown();
        });
    });
}

void QXDocument::sortPlantStock() {
    const int window = ui_->sortPlantGainsPopbtn->currentText().toInt();
    const auto report = app::sortPlantStock(screening_, window, nameOf);
    if (!report) return;
    ui_->filterPlantPopbtn->clear();
    for (const std::string& code : report->pickedCodes) ui_->filterPlantPopbtn->addItem(qs(code));
    ui_->sortPlantGrouptextView->setPlainText(displayText(report->text));
    const fs::path file =
        ensureFolder(getGainsPath()) / sectorReportFileName(screening_.group, toLocal(now()));
    std::error_code ec;
    fs::remove(file, ec);
    writeFileAtomically(file, report->text);  // a failed write leaves the report shown
}

void QXDocument::setPopToCurStock(bool fromPickedCodes) {
    ui_->stockCodeTokenField->setText(fromPickedCodes ? ui_->filterPlantPopbtn->currentText()
                                                      : QString());
    downlaodData();
}

void QXDocument::sortPlantGroupAction() {
    auto panel = ProgressPanel::shared();
    panel->showProgressPanel(100);
    panel->setDisplayString(" 正在下载数据检查市场状况 ...");
    workers_->detachMmarketReportThread();
}

void QXDocument::tagArrayActivatePlateDelegate(const Array& list, bool up, bool clearOldMark) {
    QComboBox* sectors = ui_->plantPopbtn;
    if (clearOldMark)
        for (int i = 0; i < sectors->count(); ++i) sectors->setItemIcon(i, QIcon());
    const QIcon marker(up ? QStringLiteral(":/app/sortup.svg")
                          : QStringLiteral(":/app/sortdown.svg"));
    const std::size_t marked = std::min<std::size_t>(list.size(), 8);
    for (std::size_t i = 0; i < marked; ++i) {
        if (!list[i].isDictionary()) continue;
        const int item = sectors->findText(qs(stringFor(list[i].dictionary(), KEY_Plate_Group)));
        if (item < 0) continue;
        if (i == 0) sectors->setCurrentIndex(item);
        sectors->setItemIcon(item, marker);
    }
}

void QXDocument::selectComposit() {
    runInBackground([this](std::stop_token stop) {
        std::vector<std::string> rising, breakingOut;
        for (const std::string& code : SectorGroups::shared().compositeCodes()) {
            if (stop.stop_requested() || mStopDownload) break;
            if (code.size() != 6) continue;
            { AnalysisSession reset; }
            const auto record = QXStockLib::defQXStockLib().getOneStockDataInfoFormServer(code);
            if (!record) continue;
            // The trend of the record just fetched: when it came from the
            // server's result file the engine has analysed nothing.
            const int trend = record->trend.value_or(0);
            if (trend == 1000 || trend == 1001) breakingOut.push_back(code);
            if (trend == 1) rising.push_back(code);
            postToMainThread([doc = QPointer(this), record = *record] {
                if (doc) doc->xupdateStockTrendDict(record);
            });
        }
        postToMainThread([doc = QPointer(this), text = compositeBatchText(rising, breakingOut)] {
            if (!doc) return;
            doc->showStatus(text);
            emit doc->compositeBatchDone();
        });
    });
}

void QXDocument::openDayChart(const std::string& code) {
    const fs::path path = ensureFolder(getLine_K_Path()) / (code + ".txt");
    std::error_code ec;
    fs::remove(path, ec);
    auto request = HttpRequest::requestWithURL(dataServerURL(serverpath::historyFilePath(code)));
    request->setDownloadDestinationPath(path);
    request->setCompletionBlock([doc = QPointer(this), path](HttpRequest& r) {
        if (!doc) return;
        if (r.responseStatusCode() != 200) {
            // An error page is no history: nothing to chart.
            ORVANE_LOG("error=HTTP %ld", r.responseStatusCode());
            std::error_code ec;
            fs::remove(path, ec);
            emit doc->dayChartOpened(QString());
            return;
        }
        doc->kWindowController_->addNewKLineView(path);
        emit doc->dayChartOpened(QString::fromStdString(path.string()));
    });
    request->setFailedBlock([doc = QPointer(this)](HttpRequest& r) {
        ORVANE_LOG("error=%s", r.error().value_or("").c_str());
        if (doc) emit doc->dayChartOpened(QString());
    });
    request->startAsynchronous();
}

void QXDocument::updateGainsTitleDataDelegate(int total, int current, const std::string& code) {
    const std::string text = format("总共  %d 只股票, 正在下载分析第 %d 只股票数据，\n代码为:%s",
                                    total, current, code.c_str());
    showStatus(text);
    showStockName(code);
    auto panel = ProgressPanel::shared();
    if (total < 1 || current < 1 || total <= current) {
        panel->closeProgressPanel();
    } else if (current == 1) {
        panel->showProgressPanel(total);
        panel->setDisplayString(text);
    } else {
        panel->setDisplayString(text);
        panel->setIndicatorCurrentProgress(current);
    }
}

void QXDocument::updateHisdatProgressdDelegate(int done, int total) {
    auto panel = ProgressPanel::shared();
    if (done < 1 || total <= done) {
        panel->closeProgressPanel();
    } else if (done == 1) {
        panel->showProgressPanel(total);
        panel->setDisplayString("正在分析 ");
    } else {
        panel->setDisplayString("正在分析 ");
        panel->setIndicatorCurrentProgress(done);
    }
}

void QXDocument::updateProgressDownloadFinishedDelegate(int progress) {
    auto panel = ProgressPanel::shared();
    panel->setIndicatorCurrentProgress(progress);
    panel->setDisplayString("数据下载完成，正在分析...");
}

void QXDocument::setStatusBarMarketReportTextDelegate(const StyledText& text, int progress) {
    ProgressPanel::shared()->setIndicatorCurrentProgress(progress);
    QLabel* line = ui_->marketReportTextField;
    line->setTextFormat(Qt::PlainText);
    line->setText(qs(text.text));
    QFont font = line->font();
    font.setBold(text.font == StyledText::Font::Bold);
    line->setFont(font);
    setTextColour(line, QColor::fromRgb(text.colour));
}

void QXDocument::setActivatePlateReportDelegate(const std::string& text) {
    ui_->sortPlantGrouptextView->setPlainText(displayText(text));
}

void QXDocument::HandModeBNofification(const Notification& note) {
    alerts_->HandModeBNofification(note.userInfo);
}

void QXDocument::HandNotifiation_Stock_rasieDown(const Notification& note) {
    alerts_->HandNotifiation_Stock_rasieDown(note.userInfo);
}

void QXDocument::updateNewMsgFormServer() {
    auto& panel = NotificationPanelController::defaultNotificationPanelController();
    if (isLaterMessageTime(getServerNewMessageTime(), getLocalNewMessageTime())) {
        AlertSound::playNewMessage();
        panel.showNotificationWindow();
    } else {
        panel.closeNotificationWindow();
    }
}

void QXDocument::HandNotifiation_GetStockStatus(const Notification& note) {
    const Value* code = orvane::find(note.userInfo, STOCK_Code);
    if (code && code->isString()) downloadOneStockData(code->string());
}

void QXDocument::HandHistodayStockChagedNofification(const Notification& note) {
    if (isValidStockCode(stringFor(note.userInfo, STOCK_Code)))
        xupdateStockTrendDict(StockRecord::fromDictionary(note.userInfo));
}

void QXDocument::HandDoubleClickStockNofification(const Notification&) {
    ui_->switchTableView->setCurrentIndex(2);
    oneHisStockUIControlller_->updateOneStockCaptureInfo();
    oneHisStockUIControlller_->calOneStockHisInfo();
}

void QXDocument::ModeThrendUp() {
    QXTrendMode::defQXTrendMode().showTrendUpModeForWindow();
    ui_->notifyBtn->hide();
}

void QXDocument::helpAction() {
    // Installed beside the program's share folder; in a build tree too.
    const fs::path guide = fs::path(QCoreApplication::applicationDirPath().toStdString()) /
                           "../share/orvane/Guide.pdf";
    std::error_code ec;
    if (!fs::exists(guide, ec) || !Workspace::shared()->openFile(fs::weakly_canonical(guide, ec)))
        showStatus("没有找到使用指南 Guide.pdf，或没有可以打开它的程序");
}

void QXDocument::updateStatusTimes() {
    const LocalDateTime t = toLocal(now());
    ui_->timeField->setText(qs(format("%02d:%02d:%02d", t.hour, t.minute, t.second)));
}

void QXDocument::updateNotifyTrendMode(std::stop_token stop) {
    const int diff = getServerTrendModeNum(stop) - getLocalTrendModeNum();
    if (stop.stop_requested()) return;
    postToMainThread([doc = QPointer(this), diff] {
        if (!doc) return;
        QPushButton* button = doc->ui_->notifyBtn;
        if (diff >= 1) {
            button->setText(QString::number(diff));
            AlertSound::playNewMessage();
        }
        button->setVisible(diff >= 1);
    });
}

}  // namespace orvane::app
