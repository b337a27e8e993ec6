// One rule three ways in the window: written in the rule dialog (its fault
// marked where it is), screening the served market's day's results, and
// alerting on the stocks that newly meet it.

#include <gtest/gtest.h>

#include <QLabel>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTextBrowser>
#include <algorithm>

#include "ServedMarketTest.h"
#include "alerts/NotificationPanelController.h"
#include "alerts/RuleAlerts.h"
#include "orvane/core/AtomicFile.h"
#include "orvane/core/StringTable.h"
#include "orvane/market/RuleScreen.h"
#include "platform/QtStringTable.h"
#include "rules/RuleScreenModel.h"
#include "rules/RuleScreenWindow.h"
#include "rules/StockRuleDialog.h"
#include "ui_RuleScreenWindow.h"
#include "ui_StockRuleDialog.h"

using namespace orvane;
using namespace orvane::app;

namespace {

class RuleWindows : public test::ServedMarketTest {
  protected:
    void SetUp() override {
        test::ServedMarketTest::SetUp();
        StringTable::install(std::make_shared<QtStringTable>());
    }
    void TearDown() override {
        StringTable::install(nullptr);
        test::ServedMarketTest::TearDown();
    }
    std::filesystem::path book() const { return dir.path() / "StockRules.plist"; }
};

DayResult result(std::string code, std::string name, std::string date, double close,
                 double yesClose, int score = 100) {
    DayResult r;
    r.code = std::move(code);
    r.name = std::move(name);
    r.date = std::move(date);
    r.score = score;
    r.close = close;
    r.yesClose = yesClose;
    return r;
}

}  // namespace

TEST_F(RuleWindows, TheDialogMarksTheFaultAndSavesTheBook) {
    StockRuleDialog dialog(nullptr, book());
    Ui::StockRuleDialog& ui = dialog.ui();
    ui.ruleNameField->setText(QStringLiteral("突破"));
    ui.ruleTextEdit->setPlainText(QStringLiteral("score >= 150 and 涨幅 < 20"));
    EXPECT_TRUE(ui.ruleErrorLabel->text().startsWith(QStringLiteral("第 18 个字符：")))
        << ui.ruleErrorLabel->text().toStdString();
    const auto marks = ui.ruleTextEdit->extraSelections();
    ASSERT_EQ(marks.size(), 1);
    EXPECT_EQ(marks[0].cursor.selectedText(), QStringLiteral("涨"));
    EXPECT_FALSE(dialog.saveRule());
    EXPECT_FALSE(std::filesystem::exists(book()));

    ui.ruleTextEdit->setPlainText(QStringLiteral("trend in (1001,1000) and NOT st"));
    EXPECT_TRUE(ui.ruleErrorLabel->text().isEmpty());
    EXPECT_EQ(ui.ruleReadAsLabel->text(), QStringLiteral("读作：trend in (1001, 1000) and not st"));
    ui.alertCheck->setChecked(true);
    QSignalSpy changed(&dialog, &StockRuleDialog::rulesChanged);
    ASSERT_TRUE(dialog.saveRule());
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(readRuleBook(book()).rules,
              (std::vector<NamedRule>{{"突破", "trend in (1001,1000) and NOT st", true}}));

    ui.ruleNameField->clear();
    EXPECT_FALSE(dialog.saveRule());
    EXPECT_EQ(ui.saveStatusLabel->text(), QStringLiteral("请填写规则名称"));
}

TEST_F(RuleWindows, TheScreenListsTheServedMarketsStocksMeetingTheRuleOrSaysThereAreNone) {
    const DayResultsRead day = parseDayResults(
        readFile(served().tree() / std::string(serverpath::kDayResultsFile).substr(1))
            .value_or(""));
    ASSERT_EQ(day.results.size(), market().size());
    ASSERT_FALSE(writeRuleBook(
        {{"高分", "score >= 100 and not st", false}, {"无", "score >= 1000", false}}, book()));
    std::size_t expected =
        screenDayResults(day.results, std::get<StockRule>(parseStockRule("score >= 100")), nullptr)
            .met.size();
    ASSERT_GT(expected, 0u);

    RuleScreenWindow window(nullptr, book());
    std::vector<DayResult> heard;
    window.setResultsListener([&](const std::vector<DayResult>& r) { heard = r; });
    EXPECT_EQ(window.ui().ruleCombo->count(), 2);
    window.ui().ruleCombo->setCurrentText(QStringLiteral("高分"));
    QSignalSpy screened(&window, &RuleScreenWindow::screened);
    window.screen();
    ASSERT_TRUE(test::waitUntil([&] { return screened.count() == 1; }));
    EXPECT_EQ(static_cast<std::size_t>(window.model().rowCount()), expected);
    for (const DayResult& r : window.model().rows()) EXPECT_GE(r.score, 100);
    // In the order the header shows (by code, rising, until the user sorts).
    EXPECT_TRUE(std::is_sorted(window.model().rows().begin(), window.model().rows().end(),
                               [](const auto& a, const auto& b) { return a.code < b.code; }));
    EXPECT_EQ(heard, day.results);
    EXPECT_NE(window.ui().screenStatusLabel->text().indexOf(
                  QStringLiteral("%1 只符合规则").arg(expected)),
              -1);

    window.ui().ruleCombo->setCurrentText(QStringLiteral("无"));
    window.screen();
    ASSERT_TRUE(test::waitUntil([&] { return screened.count() == 2; }));
    EXPECT_EQ(window.model().rowCount(), 0);
    EXPECT_NE(window.ui().screenStatusLabel->text().indexOf(QStringLiteral("没有符合规则“无”")), -1)
        << window.ui().screenStatusLabel->text().toStdString();

    // A text that does not read is named at once, without a fetch.
    window.ui().ruleCombo->setCurrentText(QStringLiteral("score = 3"));
    window.screen();
    EXPECT_EQ(screened.count(), 3);
    EXPECT_NE(window.ui().screenStatusLabel->text().indexOf(QStringLiteral("column 7")), -1);
}

TEST_F(RuleWindows, AnAlertingRuleTellsEachStockThatNewlyMeetsItOnce) {
    ASSERT_FALSE(writeRuleBook({{"大涨", "change >= 5", true},
                                {"不提醒", "change >= 0", false},
                                {"高分", "score >= 150", true}},
                               book()));
    NotificationPanelController panel;
    panel.setAnimationDuration(0);
    RuleAlerts alerts({.ruleBook = book(),
                       .alertBook = dir.path() / "RuleAlerts.plist",
                       .desktopNotificationsAnswer = [] { return false; },
                       .panel = &panel});
    alerts.load();
    QSignalSpy told(&alerts, &RuleAlerts::alerted);

    // Day one: A is up 6%; day two: A again (not new) and B up 5%.
    alerts.checkDayResults({result("600001", "甲", "2025-12-04", 10.6, 10),
                            result("600002", "乙", "2025-12-04", 10.1, 10)});
    ASSERT_EQ(told.count(), 1);
    EXPECT_EQ(told[0][0].toString(), QStringLiteral("规则提醒：大涨"));
    EXPECT_NE(told[0][1].toString().indexOf(QStringLiteral("甲（600001）")), -1);
    EXPECT_NE(panel.contentTextView()->toPlainText().indexOf(QStringLiteral("甲（600001）")), -1);
    EXPECT_EQ(panel.newMsgPanel()->findChild<QLabel*>("titleLabel")->text(),
              QStringLiteral("规则提醒：大涨"));
    alerts.checkDayResults({result("600001", "甲", "2025-12-04", 10.6, 10)});  // seen again
    EXPECT_EQ(told.count(), 1);
    alerts.checkDayResults({result("600001", "甲", "2025-12-05", 11.2, 10.6),
                            result("600002", "乙", "2025-12-05", 10.605, 10.1)});
    ASSERT_EQ(told.count(), 2);
    EXPECT_NE(told[1][1].toString().indexOf(QStringLiteral("乙（600002）")), -1);

    // Kept in a file of their own, read back by the next launch.
    RuleAlertBook stored(dir.path() / "RuleAlerts.plist");
    ASSERT_TRUE(stored.load().wasRead());
    ASSERT_EQ(stored.alerts().size(), 2u);
    EXPECT_EQ(stored.alerts()[0].code, "600002");
    EXPECT_EQ(stored.alerts()[0].rule, "大涨");

    // Many at once make one alert that counts them.
    std::vector<DayResult> many;
    for (int i = 0; i < 7; ++i)
        many.push_back(
            result("60001" + std::to_string(i), "股" + std::to_string(i), "2025-12-08", 11, 10));
    alerts.checkDayResults(many);
    ASSERT_EQ(told.count(), 3);
    EXPECT_NE(told[2][1].toString().indexOf(QStringLiteral("有 7 只股票新符合规则")), -1);

    // A rule book that is no list of rules is set aside, and the status line told.
    ASSERT_TRUE(writeFileAtomically(book(), "no rules"));
    QSignalSpy setAside(&alerts, &RuleAlerts::storedFileSetAside);
    alerts.checkDayResults(many);
    ASSERT_EQ(setAside.count(), 1);
    EXPECT_NE(setAside[0][0].toString().indexOf(QStringLiteral("已另存为")), -1);
    ASSERT_FALSE(writeRuleBook({{"大涨", "change >= 5", true}}, book()));

    // Held stocks' quotes: only a rule a quote decides (the score needs the
    // day's verdict); each stock once a day.
    StockRecord quote;
    quote.code = "300001";
    quote.name = "丙";
    quote.date = "2025-12-09 10:31:02";
    quote.yesClosePrice = "20";
    quote.closePrice = "21.2";
    alerts.checkHeldQuotes({quote});
    ASSERT_EQ(told.count(), 4);
    EXPECT_NE(told[3][1].toString().indexOf(QStringLiteral("丙（300001）")), -1);
    // A refresh that tells nothing leaves the file alone (refreshes come every 5 s).
    const auto written = std::filesystem::last_write_time(dir.path() / "RuleAlerts.plist");
    alerts.checkHeldQuotes({quote});
    EXPECT_EQ(told.count(), 4);
    EXPECT_EQ(std::filesystem::last_write_time(dir.path() / "RuleAlerts.plist"), written);
}
