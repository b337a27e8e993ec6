#pragma once
// The alerts of the rules marked 提醒: a desktop notification (or, without a
// notification service, the sliding alert panel) for each stock that newly
// meets such a rule, with the rule's own text; kept in "RuleAlerts.plist"
// (RuleAlertBook.h).
//
// Two sources, both handed in on the main thread:
// - the day's results of the whole market, when they arrive (checked at
//   launch and every kDayResultsPeriod on a worker of its own, and whenever
//   the screen fetches them);
// - the held stocks' quotes on each refresh: a rule is decided there only
//   when every field it reads is known from a quote (the close, the day's
//   move, the limit up, the board, ST, the sectors), never from yesterday's
//   verdict.
// More than kMaxSingleAlerts new stocks of one rule at once make a single
// alert that counts them.

#include <QObject>
#include <QString>
#include <chrono>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include "alerts/RuleAlertBook.h"
#include "orvane/market/DayResults.h"
#include "orvane/market/StockRecord.h"
#include "orvane/market/StockRuleBook.h"

namespace orvane::app {

class NotificationPanelController;

inline constexpr std::size_t kMaxSingleAlerts = 5;
inline constexpr std::chrono::minutes kDayResultsPeriod{10};

struct RuleAlertsSetup {
    std::filesystem::path ruleBook = defaultRuleBookFile();
    std::filesystem::path alertBook = RuleAlertBook::defaultFile();
    /// Asked before each alert: may it go to the desktop?
    std::function<bool()> desktopNotificationsAnswer;
    NotificationPanelController* panel = nullptr;  // required
};

/// The facts of a held stock's quote record.
StockFacts quoteFacts(const StockRecord& quote);

class RuleAlerts : public QObject {
    Q_OBJECT
  public:
    /// A rule marked 提醒 and what its text reads as.
    struct AlertingRule {
        NamedRule named;
        StockRule rule;
    };

    explicit RuleAlerts(RuleAlertsSetup setup, QObject* parent = nullptr);
    ~RuleAlerts() override;

    /// Reads "RuleAlerts.plist" (an unusable one is set aside and reported).
    void load();
    /// Fetches the day's results now and every kDayResultsPeriod on a worker.
    void startDayResultsChecks();
    void stopDayResultsChecks();

    void checkDayResults(const std::vector<DayResult>& results);
    void checkHeldQuotes(const std::vector<StockRecord>& quotes);

    const RuleAlertBook& book() const { return book_; }

  Q_SIGNALS:
    void storedFileSetAside(const QString& message);
    /// An alert was shown (for the status line and the tests).
    void alerted(const QString& title, const QString& text);

  private:
    /// The rules marked 提醒 whose text reads; a book set aside is reported.
    std::vector<AlertingRule> rulesToCheck();
    /// Tells each rule's stocks that meet it and did not before (their
    /// marks kept under `source` + the rule's name), and saves the marks.
    void tellNewlyMet(const std::vector<AlertingRule>& rules, const std::vector<StockFacts>& facts,
                      const std::string& source, const std::string& date);
    void tell(const NamedRule& rule, const std::string& date,
              const std::vector<const StockFacts*>& stocks);
    void deliver(const RuleAlertRecord& record);

    RuleAlertsSetup setup_;
    RuleAlertBook book_;
    std::jthread checks_;
};

}  // namespace orvane::app
