#pragma once
// The screen (分析 › 规则选股…): today's stocks of the whole market that meet
// a rule, chosen by its name from the book or written as its text, with the
// verdict columns. The day's results are fetched and screened on a worker
// (one request: the data server's day's results file) and the rows handed to
// the window thread; a rule that meets nothing says so, as does a server
// without the file. A double-clicked row shows its stock in the main window.

#include <QWidget>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include "orvane/market/DayResults.h"
#include "orvane/market/StockRuleBook.h"

namespace Ui {
class RuleScreenWindow;
}

namespace orvane::app {

class RuleScreenModel;

class RuleScreenWindow : public QWidget {
    Q_OBJECT
  public:
    explicit RuleScreenWindow(QWidget* parent = nullptr,
                              std::filesystem::path book = defaultRuleBookFile());
    ~RuleScreenWindow() override;

    /// The one screen window of `owner`, shown and raised.
    static RuleScreenWindow& showFor(QWidget& owner);

    /// The rule names of the book in the choice, the typed text kept.
    void reloadRules();
    /// Screens by the chosen or written rule; a text that does not read is
    /// named with its character at once, without a fetch.
    void screen();
    bool isRunning() const { return running_; }
    /// Waits for the fetch in flight; its answer is dropped.
    void waitForFinished();

    /// Called on the window thread with every day's results fetched (the
    /// rule alerts read them).
    void setResultsListener(std::function<void(const std::vector<DayResult>&)> listener) {
        listener_ = std::move(listener);
    }

    RuleScreenModel& model() const { return *model_; }
    Ui::RuleScreenWindow& ui() { return *ui_; }

  Q_SIGNALS:
    void stockPicked(const QString& code, const QString& name);
    /// The screen's outcome is shown (rows or why there are none).
    void screened();

  private:
    struct Outcome;
    void showOutcome(std::uint64_t generation, const Outcome& outcome);

    std::unique_ptr<Ui::RuleScreenWindow> ui_;
    RuleScreenModel* model_;
    std::filesystem::path book_;
    std::function<void(const std::vector<DayResult>&)> listener_;
    std::jthread worker_;
    std::uint64_t generation_ = 0;
    bool running_ = false;
};

}  // namespace orvane::app
