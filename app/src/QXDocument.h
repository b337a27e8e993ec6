#pragma once
// The main window: the stock search field with its completions, the verdict
// of the shown stock with its prices, sectors and the model-B badge, the
// market report line, the clock, and the tab view with the lists. It starts
// the background workers, answers the market-data library as its delegate
// and the program's named notifications, and opens a stock's day chart.
//
// Everything here runs on the main thread. Long work (the one-stock fetch,
// the market report, the quote loops) runs on workers, whose results come
// back through the main-thread dispatcher.

#include <QMainWindow>
#include <QPointer>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <stop_token>
#include <string>
#include <thread>

#include "SectorReport.h"
#include "orvane/core/NotificationBus.h"
#include "orvane/core/StyledText.h"
#include "orvane/core/Value.h"
#include "orvane/market/StockRecord.h"

class QCompleter;
class QStringListModel;
template <class T>
class QFutureWatcher;

namespace Ui {
class QXDocument;
}

namespace orvane::chart {
class KWindowController;
}

namespace orvane::app {

class AppWorkers;
class DataFreshness;
class DocumentDelegate;
class ModelBAlerts;
class Questionnaire;
class oneHisStockControlller;
class HelpWindow;
class myStockHoldControlller;
class filterStockUIController;
class QXScoreController;
class QXSmartSortController;

class QXDocument : public QMainWindow {
    Q_OBJECT
  public:
    /// Shows an alert panel with one "确定" button and returns when it is
    /// closed; tests replace it.
    using AlertPresenter = std::function<void(const QString& title, const QString& message)>;

    explicit QXDocument(QWidget* parent = nullptr);
    ~QXDocument() override;

    /// The window's title.
    static QString displayName() { return QStringLiteral("Orvane"); }
    void setAlertPresenter(AlertPresenter presenter) { alert_ = std::move(presenter); }
    /// What the menu item "数据服务器…" opens.
    void setServerSettingsOpener(std::function<void()> opener);

    /// The start-up once the window is loaded. False when the data server
    /// does not answer: the alert was shown and the application must end.
    bool windowControllerDidLoadNib();
    /// Loads the alert list, fills the sector pop-up, sets the sliders and
    /// the web-search target, and starts workers 3 and 4 (on the first call
    /// only). Runs again after a reference-data update.
    void initMyStocklist();
    void resetCounter();

    /// Stops the workers and the fetches, leaves the market-data library;
    /// after it no thread of the window runs. Idempotent.
    void shutDown();
    /// The web-search target ("日K线", or a portal's name).
    QString searchKey() const;

    // The search field and the verdict.
    void downlaodData();
    /// Fetches the stock's record on a worker and shows its verdict.
    void downloadOneStockData(const std::string& code);
    void xupdateStockTrendDict(const StockRecord& record);
    void controlTextDidChange();
    /// The web search for the search field's code: the day chart when the
    /// target is "日K线".
    void searchTowebAction();

    // The market-data library's calls, on the main thread.
    void updateGainsTitleDataDelegate(int total, int current, const std::string& code);
    void updateHisdatProgressdDelegate(int done, int total);
    void updateProgressDownloadFinishedDelegate(int progress);
    void setStatusBarMarketReportTextDelegate(const StyledText& text, int progress);
    void setActivatePlateReportDelegate(const std::string& text);

    // The named notifications.
    void HandModeBNofification(const Notification& note);
    void HandNotifiation_Stock_rasieDown(const Notification& note);
    void HandNotifiation_GetStockStatus(const Notification& note);
    void HandHistodayStockChagedNofification(const Notification& note);
    void HandDoubleClickStockNofification(const Notification& note);
    /// The new-message check: the alert panel slides in when the server's
    /// newest message is later than the last one seen.
    void updateNewMsgFormServer();
    ModelBAlerts& alerts() const { return *alerts_; }

    /// The trend-up model count check (worker 4's thread): the button shows
    /// how many models the server has beyond those seen.
    void updateNotifyTrendMode(std::stop_token stop);
    void updateStatusTimes();

    chart::KWindowController* kWindowController() const { return kWindowController_.get(); }
    const AppWorkers& workers() const { return *workers_; }
    Ui::QXDocument& ui() { return *ui_; }
    bool isFetching() const;

    // The sector area.
    void selectPlantPopAction();
    /// Screens the chosen sector on a worker; the stop button ends it.
    void filterPlantAction();
    /// The report of the last screening, shown and saved.
    void sortPlantStock();
    void setPopToCurStock(bool fromPickedCodes);
    /// Recomputes the market report on a worker.
    void sortPlantGroupAction();
    void tagArrayActivatePlateDelegate(const Array& list, bool up, bool clearOldMark);
    /// Fetches every composite index on a worker and lists the rising ones.
    void selectComposit();
    bool isScreening() const;
    /// The last sector screening's lists and count.
    const SectorScreening& lastScreening() const { return screening_; }

    // The tab buttons (tags 1001 on select tabs 0 on) and the questionnaire.
    void switchTableViewAction(int tag);
    /// Opens a tab as its button would; the history tab also computes the
    /// shown stock's past days.
    void showTab(int index);
    Questionnaire& questionnaire() { return *questionnaire_; }
    oneHisStockControlller* oneHisStockUIControlller() const { return oneHisStockUIControlller_; }
    myStockHoldControlller* myStockHoldUIController() const { return myStockHoldUIController_; }
    app::filterStockUIController* filterStockController() const { return filterStockUIController_; }
    QXScoreController* scoreUIController() const { return scoreUIController_; }

    /// Adds the search field's stock to the holdings.
    void addStock_ToMyHold();

    // Help.
    /// Opens the user guide with the desktop's PDF viewer.
    void helpAction();
    /// The trend-up model gallery (the counter button hides itself then).
    void ModeThrendUp();

  signals:
    /// A sector report was built (or the screening found nothing).
    void sectorReportShown();
    /// The composite batch finished.
    void compositeBatchDone();
    /// A verdict was shown (after a fetch or a notice).
    void verdictShown(const QString& code);
    /// The day chart of a stock was opened (or its download failed: empty).
    void dayChartOpened(const QString& path);

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void setUpSearchField();
    void setUpAlerts();
    void setUpSectorArea();
    void setUpLists();
    void setUpWebSearch();
    void setUpQuestionnaire();
    void showQuestionnaire();
    /// Runs `work` on the window's background thread unless one runs; the
    /// stop button shows meanwhile.
    bool runInBackground(std::function<void(std::stop_token)> work);
    /// The sliders' labels follow their values (the values are shown only).
    void connectSliderLabels();
    void observeNotifications();
    void showStatus(const std::string& text);
    void showStockName(const std::string& code);
    void openDayChart(const std::string& code);
    bool isHeldStock(std::string_view code) const;
    void codeValidationAlert();

    std::unique_ptr<Ui::QXDocument> ui_;
    AlertPresenter alert_;
    ModelBAlerts* alerts_ = nullptr;
    oneHisStockControlller* oneHisStockUIControlller_ = nullptr;
    myStockHoldControlller* myStockHoldUIController_ = nullptr;
    app::filterStockUIController* filterStockUIController_ = nullptr;
    QXScoreController* scoreUIController_ = nullptr;
    QXSmartSortController* smartSortUIController_ = nullptr;
    HelpWindow* doublePaoHelp_ = nullptr;
    QCompleter* completer_ = nullptr;
    QStringListModel* completions_ = nullptr;
    std::unique_ptr<chart::KWindowController> kWindowController_;
    std::unique_ptr<DocumentDelegate> delegate_;
    std::unique_ptr<AppWorkers> workers_;
    std::unique_ptr<DataFreshness> freshness_;
    std::vector<std::unique_ptr<ScopedObserver>> observers_;
    QFutureWatcher<std::optional<StockRecord>>* fetch_ = nullptr;
    std::unique_ptr<Questionnaire> questionnaire_;
    SectorScreening screening_;
    std::jthread background_;
    std::atomic<bool> backgroundBusy_{false};
    std::atomic<bool> backgroundEnded_{true};
    std::atomic<bool> mStopDownload{false};
    bool shutDown_ = false;
};

}  // namespace orvane::app
