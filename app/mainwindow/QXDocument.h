#pragma once
// The main window's shell: it loads the window, owns the shown stock and
// the panels that draw it (search, verdict, day prices), the sector area,
// the tabs with their lists, the workers and the notices' handlers, and
// connects them. The panels and tabs talk to it by signals; it answers the
// market-data library through its bridge.
//
// Everything here runs on the main thread. Long work (the one-stock fetch,
// the market report, screenings, the quote loops) runs on workers, whose
// results come back through the main-thread dispatcher.

#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <memory>
#include <stop_token>
#include <string>

#include "mainwindow/ShownStock.h"
#include "orvane/core/NotificationBus.h"
#include "orvane/core/StyledText.h"
#include "orvane/core/Value.h"

namespace Ui {
class QXDocument;
}

namespace orvane::chart {
class KWindowController;
}

namespace orvane::app {

class AppWorkers;
class ChartKeys;
class KeyboardWizard;
class StockMenu;
class AppearanceSwitch;
class DataFreshness;
class DayPricesPanel;
class FilterStockUIController;
class LiveDay;
class OrderBookPanel;
class PriceAlerts;
class IndexStrip;
class MarketTableWindow;
class ModelBAlerts;
class RuleAlerts;
class RuleScreenWindow;
class NotificationPanelController;
class QXTrendMode;
class Questionnaire;
class QuestionnairePanel;
class SearchPanel;
class SectorsPanel;
class StatusLine;
class StockFetch;
class StockLibBridge;
class VerdictPanel;
class WebSearchMenu;
class WindowMenus;
class WindowTabs;

/// The application's windows the main window opens; when not given, the
/// window makes its own (tests).
struct WindowServices {
    NotificationPanelController* notificationPanel = nullptr;
    QXTrendMode* gallery = nullptr;
    /// The 外观 menu's switch; without one the window has no such menu.
    AppearanceSwitch* appearance = nullptr;
};

class QXDocument : public QMainWindow {
    Q_OBJECT
  public:
    /// Shows an alert panel with one "确定" button and returns when it is
    /// closed; tests replace it.
    using AlertPresenter = std::function<void(const QString& title, const QString& message)>;

    explicit QXDocument(WindowServices services = {}, QWidget* parent = nullptr);
    ~QXDocument() override;

    static QString displayName() { return QStringLiteral("Orvane"); }
    void setAlertPresenter(AlertPresenter presenter) { alert_ = std::move(presenter); }
    /// What the menu item "数据服务器…" opens.
    void setServerSettingsOpener(std::function<void()> opener);
    /// What the menu item "导入本地行情…" opens.
    void setMarketImportOpener(std::function<void()> opener);

    /// The start-up once the window is loaded: false when the data server
    /// does not answer and the user chose to quit.
    bool windowControllerDidLoadNib(std::function<bool()> dataServerReady);
    /// Loads the alert list, fills the sector pop-up, sets the sliders and
    /// the web-search target, and starts workers 3 and 4 (on the first call
    /// only). Runs again after a reference-data update.
    void initMyStocklist();
    /// Runs the market report again on a worker (重新计算市场报告, and a
    /// new market); it waits for a reference archive on its way.
    void recomputeMarketReport();
    /// Stops the workers, the runs and the fetch, leaves the market-data
    /// library; after it no thread of the window runs. Idempotent.
    void shutDown();
    /// The web-search target ("日K线", or a portal's name).
    QString searchKey() const;

    // The shown stock.
    ShownStock& shownStock() { return shown_; }
    void downloadData();
    /// Fetches the stock's record on a worker and shows its verdict.
    void downloadOneStockData(const std::string& code);
    /// Shows a record (of any stock and day) as the shown stock's.
    void xupdateStockTrendDict(const StockRecord& record);
    void controlTextDidChange();
    void searchTowebAction();
    bool isFetching() const;

    /// The status line, the clock and the market report line.
    StatusLine& statusLine() const { return *status_; }

    ModelBAlerts& alerts() const { return *alerts_; }
    RuleAlerts& ruleAlerts() const { return *ruleAlerts_; }
    /// The screen by rule (分析 › 规则选股…), shown and raised.
    RuleScreenWindow& openRuleScreen();

    // The live day: quotes every 5 s, 五档, 分时 and price alerts.
    LiveDay& liveDay() const { return *liveDay_; }
    PriceAlerts& priceAlerts() const { return *priceAlerts_; }
    OrderBookPanel& orderBook() const { return *orderBook_; }
    /// Opens (or brings to the front) the stock's 分时 tab in the chart window.
    void openIntraday(const std::string& code);
    /// The dialog for a new price alert of the stock (设置价格提醒…).
    void editPriceAlert(const std::string& code);
    /// The list of every price alert, editable.
    void showPriceAlertList();
    /// More stocks to quote every 5 s and sample for 分时 (the watch lists').
    void setWatchedCodesProvider(std::function<std::vector<std::string>()> provider);

    chart::KWindowController* kWindowController() const { return kWindowController_.get(); }
    /// The composite indexes along the window's bottom edge.
    IndexStrip& indexStrip() const { return *indexStrip_; }
    /// 行情总览 (分析 › 行情总览…), made on first use.
    MarketTableWindow& marketTable();
    void openMarketTable();
    const AppWorkers& workers() const { return *workers_; }
    Ui::QXDocument& ui() { return *ui_; }

    // The sector area.
    SectorsPanel& sectorsPanel() const { return *sectors_; }
    WindowMenus& menus() const { return *menus_; }

    // The tabs (buttons tagged 1001 on select tabs 0 on).
    WindowTabs& tabs() const { return *tabs_; }
    void switchTableViewAction(int tag);
    void showTab(int index);
    Questionnaire& questionnaire();
    FilterStockUIController* filterStockController() const;
    /// Adds the shown stock to the holdings.
    void addStock_ToMyHold();

    // Keys and the stock menu.
    /// A stock shown in this window, its verdict fetched, the window in front
    /// (诊断, and the keyboard wizard's choice here).
    void diagnose(const std::string& code);
    /// Opens a stock's day chart; PageUp and PageDown in the chart then step
    /// through `list` (a stock of the list opened before keeps that list).
    void openDayChart(const std::string& code, const std::vector<std::string>& list = {});
    /// F5: the shown stock's day chart, stepping through the list on screen
    /// that holds it.
    void showShownStockChart();
    /// The menu of every table row that is a stock; other windows' tables
    /// attach to it, and plug their items into its providers.
    StockMenu& stockMenu() const { return *stockMenu_; }
    KeyboardWizard& keyboardWizard() const { return *wizard_; }
    /// The chart window's keys, once the chart window exists.
    ChartKeys* chartKeys() const { return chartKeys_; }

  Q_SIGNALS:
    void sectorReportShown();
    void compositeBatchDone();
    /// A verdict was shown (after a fetch or a notice).
    void verdictShown(const QString& code);
    /// The day chart of a stock was opened (or its download failed: empty).
    void dayChartOpened(const QString& path);

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void setUpPanels();
    void setUpTabs();
    void setUpMenus();
    void setUpWorkers();
    void setUpLiveDay();
    /// Tells the live day which stocks to quote and which need minutes.
    void updateLiveCodes();
    /// A new round of quotes: 当日行情, 五档 and the open 分时 tabs.
    void showLiveDay();
    void setUpMarketViews();
    void setUpStockMenuAndKeys();
    /// The stocks of the table on screen that holds `code` (or none).
    std::vector<std::string> listOnScreenWith(const std::string& code) const;
    void observeNotifications();
    template <class Run>
    void connectStopButton(Run* run);
    void codeValidationAlert();
    /// The status line names the stock's sectors while it is on screen.
    void showSectorsOf(const std::string& code);
    bool isHeldStock(std::string_view code) const;
    chart::KWindowController& charts();

    std::unique_ptr<Ui::QXDocument> ui_;
    AlertPresenter alert_;
    ShownStock shown_;
    std::unique_ptr<NotificationPanelController> ownPanel_;
    std::unique_ptr<QXTrendMode> ownGallery_;
    WindowServices services_;
    std::unique_ptr<DataFreshness> freshness_;
    StatusLine* status_ = nullptr;
    SearchPanel* search_ = nullptr;
    VerdictPanel* verdict_ = nullptr;
    DayPricesPanel* dayPrices_ = nullptr;
    SectorsPanel* sectors_ = nullptr;
    StockFetch* fetch_ = nullptr;
    WebSearchMenu* webSearch_ = nullptr;
    QuestionnairePanel* questionnaire_ = nullptr;
    ModelBAlerts* alerts_ = nullptr;
    RuleAlerts* ruleAlerts_ = nullptr;
    PriceAlerts* priceAlerts_ = nullptr;
    LiveDay* liveDay_ = nullptr;
    OrderBookPanel* orderBook_ = nullptr;
    std::function<std::vector<std::string>()> watchedCodes_;
    WindowTabs* tabs_ = nullptr;
    WindowMenus* menus_ = nullptr;
    StockMenu* stockMenu_ = nullptr;
    KeyboardWizard* wizard_ = nullptr;
    ChartKeys* chartKeys_ = nullptr;
    QPointer<QWidget> backtestSeen_;  // the back-test window whose charts are followed
    std::unique_ptr<chart::KWindowController> kWindowController_;
    IndexStrip* indexStrip_ = nullptr;
    std::unique_ptr<MarketTableWindow> marketTable_;
    std::unique_ptr<StockLibBridge> bridge_;
    std::unique_ptr<AppWorkers> workers_;
    std::vector<std::unique_ptr<ScopedObserver>> observers_;
    int runsGoing_ = 0;
    bool shutDown_ = false;
};

}  // namespace orvane::app
