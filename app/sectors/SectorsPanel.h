#pragma once
// The sector area of the main window: the sector pop-up (marked by the
// market report), screening one sector with its report and picked codes,
// the market report's recompute button, and the composite-index batch.
// Screenings run on the panel's own thread, each with its own stop; records
// they fetch and the stocks the user picks go to the window by signals.

#include <QObject>
#include <atomic>
#include <functional>
#include <memory>
#include <stop_token>
#include <string>
#include <thread>

#include "orvane/core/Value.h"
#include "orvane/market/StockRecord.h"
#include "sectors/SectorReport.h"

class QComboBox;
class QPlainTextEdit;
class QPushButton;

namespace orvane::app {

struct SectorFields {
    QComboBox* plantPopbtn;
    QPushButton* filterPlatebtn;
    QComboBox* sortPlantGainsPopbtn;
    QComboBox* filterPlantPopbtn;
    QPushButton* sortPlantGroupBtn;
    QPushButton* selectCompositBtn;
    QPlainTextEdit* sortPlantGrouptextView;
};

class SectorsPanel : public QObject {
    Q_OBJECT
  public:
    using AlertPresenter = std::function<void(const QString& title, const QString& message)>;

    SectorsPanel(SectorFields fields, AlertPresenter alert, QObject* parent = nullptr);
    ~SectorsPanel() override;

    /// Fills the sector pop-up from the sector groups (again after an update).
    void reload();
    void selectPlantPopAction();
    /// Screens the chosen sector on the panel's thread.
    void filterPlantAction();
    /// The report of the last screening, shown and saved.
    void sortPlantStock();
    /// Fetches every composite index and lists the rising ones.
    void selectComposit();
    void tagArrayActivatePlateDelegate(const Array& list, bool up, bool clearOldMark);
    void setActivatePlateReportDelegate(const std::string& text);

    /// Ends the run in progress (the stop button).
    void stopRun();
    /// Stops and waits for the run; after it nothing of the panel runs.
    void shutDown();
    bool isScreening() const { return busy_; }
    const SectorScreening& lastScreening() const { return screening_; }

  Q_SIGNALS:
    void runStarted();
    void runEnded();
    /// The user picked a code of the report: show its verdict.
    void stockPicked(const std::string& code);
    /// A record the composite batch fetched.
    void recordFetched(const StockRecord& record);
    void statusMessage(const std::string& text);
    void marketReportRequested();
    /// A sector report was built (or the screening found nothing).
    void sectorReportShown();
    /// The composite batch finished.
    void compositeBatchDone();

  private:
    /// Runs `work` on the panel's thread unless a run goes; the run's stop
    /// is its own (the flag the screening loops read, and the thread's token).
    bool runInBackground(std::function<void(std::stop_token, const std::atomic<bool>&)> work);

    SectorFields fields_;
    AlertPresenter alert_;
    SectorScreening screening_;
    std::jthread background_;
    std::shared_ptr<std::atomic<bool>> runStop_;
    std::atomic<bool> busy_{false};
    std::atomic<bool> ended_{true};
    bool shutDown_ = false;
};

}  // namespace orvane::app
