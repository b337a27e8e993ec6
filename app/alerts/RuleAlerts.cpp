#include "alerts/RuleAlerts.h"

#include <QPointer>
#include <algorithm>
#include <condition_variable>
#include <mutex>

#include "alerts/NotificationPanelController.h"
#include "common/DisplayText.h"
#include "orvane/core/MainThreadDispatcher.h"
#include "orvane/core/StringTable.h"
#include "orvane/core/UserNotificationCenter.h"
#include "orvane/market/SectorGroups.h"
#include "orvane/stocklib/DayResultsFetch.h"

namespace orvane::app {

namespace {

// The fields a quote gives: every other field needs the day's verdict.
bool decidedByQuote(const StockRule& rule) {
    const std::vector<RuleField> fields = rule.fields();
    return std::all_of(fields.begin(), fields.end(), [](RuleField f) {
        return f == RuleField::Close || f == RuleField::Change || f == RuleField::LimitUp ||
               f == RuleField::Board || f == RuleField::St || f == RuleField::Sector;
    });
}

using AlertingRule = RuleAlerts::AlertingRule;

// The rules marked 提醒 whose text reads; `note` says when the book was set aside.
std::vector<AlertingRule> alertingRules(const std::filesystem::path& file, std::string& note) {
    std::vector<AlertingRule> out;
    RuleBookRead book = readRuleBook(file);
    note = std::move(book.note);
    for (NamedRule& r : book.rules) {
        if (!r.alert) continue;
        auto parsed = parseStockRule(r.text);
        if (auto* rule = std::get_if<StockRule>(&parsed))
            out.push_back({std::move(r), std::move(*rule)});
    }
    return out;
}

std::string percentText(const std::optional<double>& v) {
    if (!v) return "—";
    return QString::number(*v, 'f', 2).toStdString() + "%";
}

}  // namespace

StockFacts quoteFacts(const StockRecord& q) {
    StockFacts f;
    f.code = q.code;
    f.name = q.name.value_or("");
    if (q.closePrice && q.close() > 0) f.close = q.close();
    if (f.close) f.change = changePercent(*f.close, q.yesClose());
    if (f.close && q.date && q.yesClose() > 0)
        f.limitUp =
            closedAtLimitUp(*f.close, q.yesClose(), f.board(), q.date->substr(0, 10), f.st());
    f.sectors = SectorGroups::shared().groupsOf(q.code);
    return f;
}

RuleAlerts::RuleAlerts(RuleAlertsSetup setup, QObject* parent)
    : QObject(parent), setup_(std::move(setup)), book_(setup_.alertBook) {}

RuleAlerts::~RuleAlerts() {
    stopDayResultsChecks();
}

void RuleAlerts::load() {
    const StoredPropertyList read = book_.load();
    if (read.needsReport()) Q_EMIT storedFileSetAside(qs(read.reportText()));
}

void RuleAlerts::startDayResultsChecks() {
    if (checks_.joinable()) return;
    checks_ = std::jthread([self = QPointer(this)](std::stop_token stop) {
        std::mutex m;
        std::condition_variable_any wake;
        while (!stop.stop_requested()) {
            FetchedDayResults day = fetchDayResults(stop);
            if (day.error.empty() && !stop.stop_requested())
                postToMainThread([self, results = std::move(day.results)] {
                    if (self) self->checkDayResults(results);
                });
            std::unique_lock lock(m);
            wake.wait_for(lock, stop, kDayResultsPeriod, [] { return false; });
        }
    });
}

void RuleAlerts::stopDayResultsChecks() {
    if (!checks_.joinable()) return;
    checks_.request_stop();
    checks_.join();
}

void RuleAlerts::checkDayResults(const std::vector<DayResult>& results) {
    if (results.empty()) return;
    const std::vector<AlertingRule> rules = rulesToCheck();
    if (rules.empty()) return;
    std::vector<StockFacts> facts;
    facts.reserve(results.size());
    // The day of the results is the newest (a suspended stock's line is older).
    std::string date;
    for (const DayResult& r : results) {
        facts.push_back(factsOf(r, &SectorGroups::shared()));
        date = std::max(date, r.date);
    }
    tellNewlyMet(rules, facts, "day:", date);
}

void RuleAlerts::checkHeldQuotes(const std::vector<StockRecord>& quotes) {
    std::vector<AlertingRule> rules = rulesToCheck();
    std::erase_if(rules, [](const AlertingRule& r) { return !decidedByQuote(r.rule); });
    if (rules.empty() || quotes.empty()) return;
    std::vector<StockFacts> facts;
    std::string date;
    for (const StockRecord& q : quotes) {
        if (!q.closePrice || !q.date) continue;
        facts.push_back(quoteFacts(q));
        date = std::max(date, q.date->substr(0, 10));
    }
    if (facts.empty()) return;
    tellNewlyMet(rules, facts, "held:", date);
}

void RuleAlerts::tellNewlyMet(const std::vector<AlertingRule>& rules,
                              const std::vector<StockFacts>& facts, const std::string& source,
                              const std::string& date) {
    for (const AlertingRule& r : rules) {
        std::vector<std::string> met;
        std::map<std::string, const StockFacts*> byCode;
        for (const StockFacts& f : facts)
            if (evaluateRule(r.rule, f) == RuleMatch::Met) {
                met.push_back(f.code);
                byCode[f.code] = &f;
            }
        std::vector<const StockFacts*> stocks;
        for (const std::string& code : book_.newlyMet(source + r.named.name, date, met))
            stocks.push_back(byCode[code]);
        if (!stocks.empty()) tell(r.named, date, stocks);
    }
    book_.saveIfChanged();
}

std::vector<AlertingRule> RuleAlerts::rulesToCheck() {
    std::string note;
    std::vector<AlertingRule> rules = alertingRules(setup_.ruleBook, note);
    if (!note.empty()) Q_EMIT storedFileSetAside(qs(note));
    return rules;
}

void RuleAlerts::tell(const NamedRule& rule, const std::string& date,
                      const std::vector<const StockFacts*>& stocks) {
    const QString title = textOf("ruleAlertTitle").arg(qs(rule.name));
    if (stocks.size() > kMaxSingleAlerts) {
        QStringList names;
        for (const StockFacts* f : stocks) names << qs(f->name.empty() ? f->code : f->name);
        deliver({rule.name, "", "", date, title.toStdString(),
                 textOf("ruleAlertManySubtitle").arg(qs(date)).arg(stocks.size()).toStdString(),
                 textOf("ruleAlertManyText")
                     .arg(qs(rule.text))
                     .arg(names.mid(0, 20).join(QStringLiteral("、")))
                     .toStdString()});
        return;
    }
    for (const StockFacts* f : stocks)
        deliver({rule.name, f->code, f->name, date, title.toStdString(),
                 textOf("ruleAlertSubtitle").arg(qs(date), qs(f->name), qs(f->code)).toStdString(),
                 textOf("ruleAlertText")
                     .arg(qs(rule.text), qs(percentText(f->change)),
                          f->close ? QString::number(*f->close, 'f', 2) : QStringLiteral("—"))
                     .toStdString()});
}

void RuleAlerts::deliver(const RuleAlertRecord& r) {
    book_.add(r);
    if (setup_.desktopNotificationsAnswer && setup_.desktopNotificationsAnswer()) {
        UserNotificationCenter::shared()->deliverNotification(UserNotification{
            .title = r.title,
            .subtitle = r.subtitle,
            .informativeText = r.text,
            .userInfo = Dictionary{{"rule", r.rule}, {"code", r.code}},
            .actionButtonTitle = "确定",
            .otherButtonTitle = "取消",
        });
    } else if (setup_.panel) {
        setup_.panel->setAlertText(qs(r.title), qs(r.subtitle + "\n" + r.text));
        setup_.panel->showStockRaiseDownNotificationWindow();
    }
    Q_EMIT alerted(qs(r.title), qs(r.subtitle + "\n" + r.text));
}

}  // namespace orvane::app
