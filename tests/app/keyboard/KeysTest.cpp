// The keyboard wizard and the keys of the main and chart windows, typed as
// a user types them (offscreen), against the test market's server.

#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

#include "OpenWindowTest.h"
#include "keyboard/ChartBrowseList.h"
#include "keyboard/ChartKeys.h"
#include "keyboard/KeyboardWizard.h"
#include "keyboard/StockWizard.h"
#include "keyboard/TypedKeys.h"
#include "orvane/chart/KWindow.h"
#include "orvane/chart/KWindowController.h"

using namespace orvane;
using namespace orvane::app;
using test::waitUntil;

TEST(ChartBrowseList, StepsThroughTheListItWasOpenedFromAndStopsAtItsEnds) {
    using S = BrowseStep;
    ChartBrowseList list;
    list.opened("600001", {"600000", "600001", "600002", "600001"});
    EXPECT_EQ(list.codes(), (std::vector<std::string>{"600000", "600001", "600002"}));
    const std::pair<S, std::optional<std::string>> steps[] = {
        {S::Next, "600002"},         {S::Next, std::nullopt},  {S::First, "600000"},
        {S::Previous, std::nullopt}, {S::First, std::nullopt}, {S::Last, "600002"},
        {S::Previous, "600001"},
    };
    for (const auto& [step, to] : steps) EXPECT_EQ(list.step(step), to) << int(step);
    // A stock of the list opened alone keeps the list; any other is a list of one.
    list.opened("600000");
    EXPECT_EQ(list.position(), 0);
    EXPECT_EQ(list.codes().size(), 3u);
    list.opened("000001");
    EXPECT_EQ(list.codes(), std::vector<std::string>{"000001"});
    EXPECT_EQ(list.step(S::Next), std::nullopt);
}

TEST(TypedKeys, DigitsAndLatinLettersWithoutCtrlAltOrMetaOpenTheWizard) {
    const struct {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        QString text, starts;
    } keys[] = {
        {Qt::Key_6, Qt::NoModifier, "6", "6"},
        {Qt::Key_6, Qt::KeypadModifier, "6", "6"},
        {Qt::Key_P, Qt::NoModifier, "p", "p"},
        {Qt::Key_P, Qt::ShiftModifier, "P", "P"},
        {Qt::Key_P, Qt::ControlModifier, "\x10", ""},
        {Qt::Key_P, Qt::AltModifier, "p", ""},
        {Qt::Key_Minus, Qt::NoModifier, "-", ""},
        {Qt::Key_Space, Qt::NoModifier, " ", ""},
        {Qt::Key_F5, Qt::NoModifier, "", ""},
        {Qt::Key_unknown, Qt::NoModifier, "浦", ""},  // Chinese comes through the field
    };
    for (const auto& k : keys) {
        const QKeyEvent event(QEvent::KeyPress, k.key, k.modifiers, k.text);
        EXPECT_EQ(wizardStartText(event), k.starts) << k.text.toStdString();
    }
}

namespace {

class KeysWindow : public test::OpenWindowTest {
  protected:
    /// The chart window's selected stock, once its chart is open.
    bool chartShows(const std::string& stock) {
        return waitUntil(
            [&] {
                const chart::KWindowController* charts = doc().kWindowController();
                return charts && charts->tabOfStock(stock) >= 0 &&
                       charts->currentSelectedIndex() == charts->tabOfStock(stock);
            },
            10000);
    }
};

}  // namespace

TEST_F(KeysWindow, TypingOutsideAFieldOpensTheWizardWhoseEnterShowsTheStock) {
    QTableView* table = doc().findChild<QTableView*>("myStockTableView");
    ASSERT_TRUE(table);
    const std::string a = code(0);
    // Typed into the search field, a key is the field's own.
    QTest::keyClick(doc().ui().stockCodeTokenField, Qt::Key_6);
    StockWizard* wizard = doc().keyboardWizard().wizardOf(&doc());
    ASSERT_TRUE(wizard);
    EXPECT_FALSE(wizard->isVisible());
    doc().ui().stockCodeTokenField->clear();

    // Into a table: the wizard opens at the window's bottom right, pre-filled.
    QTest::keyClick(table, a[0]);
    ASSERT_TRUE(wizard->isVisible());
    EXPECT_EQ(wizard->field()->text().toStdString(), a.substr(0, 1));
    const QRect window(doc().mapToGlobal(QPoint(0, 0)), doc().size());
    EXPECT_TRUE(window.contains(wizard->geometry()));
    EXPECT_GT(wizard->geometry().left(), window.center().x());
    EXPECT_GT(wizard->geometry().top(), window.center().y());
    // The completions follow the typing; the whole code leaves its one stock.
    QTest::keyClicks(wizard->field(), QString::fromStdString(a.substr(1)));
    ASSERT_EQ(wizard->list()->model()->rowCount(), 1);
    EXPECT_TRUE(
        wizard->list()->model()->index(0, 0).data().toString().contains(QString::fromStdString(a)));
    EXPECT_FALSE(wizard->notice()->isVisible());
    QSignalSpy shown(&doc(), &QXDocument::verdictShown);
    QTest::keyClick(wizard->field(), Qt::Key_Return);
    EXPECT_FALSE(wizard->isVisible());
    EXPECT_EQ(doc().shownStock().code(), a);
    ASSERT_TRUE(waitUntil([&] { return shown.count() == 1; }));

    // An unknown code says so and stays; Esc closes.
    QTest::keyClick(table, Qt::Key_9);
    QTest::keyClicks(wizard->field(), "99999");
    EXPECT_TRUE(wizard->notice()->isVisible());
    EXPECT_EQ(wizard->notice()->text(), "没有找到");
    QTest::keyClick(wizard->field(), Qt::Key_Return);
    EXPECT_TRUE(wizard->isVisible());
    QTest::keyClick(wizard->field(), Qt::Key_Escape);
    EXPECT_FALSE(wizard->isVisible());
    EXPECT_EQ(doc().shownStock().code(), a);
}

TEST_F(KeysWindow, F5TogglesTheChartWhosePagingKeysWalkTheListItCameFrom) {
    const std::string a = code(0), b = code(1), c = code(2);
    doc().diagnose(b);
    QTest::keyClick(&doc(), Qt::Key_F5);  // the shown stock's chart
    ASSERT_TRUE(chartShows(b));
    chart::KWindow* chartWindow = doc().kWindowController()->kWindow();

    // Opened from a list, the chart walks it.
    doc().openDayChart(b, {a, b, c});
    ASSERT_TRUE(chartShows(b));
    const std::pair<Qt::Key, std::string> walk[] = {{Qt::Key_PageDown, c},
                                                    {Qt::Key_Home, a},
                                                    {Qt::Key_PageUp, a},
                                                    {Qt::Key_End, c},
                                                    {Qt::Key_PageUp, b}};
    for (const auto& [key, to] : walk) {
        QTest::keyClick(chartWindow, key);
        EXPECT_TRUE(chartShows(to)) << to;
    }

    // Typed in the chart, the wizard switches the chart to the stock chosen.
    StockWizard* wizard = doc().keyboardWizard().wizardOf(chartWindow);
    ASSERT_TRUE(wizard);
    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : chartWindow, a[0]);
    ASSERT_TRUE(wizard->isVisible());
    QTest::keyClicks(wizard->field(), QString::fromStdString(a.substr(1)));
    QTest::keyClick(wizard->field(), Qt::Key_Enter);
    EXPECT_TRUE(chartShows(a));

    // F5 in the chart: back to the main window.
    QTest::keyClick(chartWindow, Qt::Key_F5);
    EXPECT_TRUE(waitUntil([&] { return QApplication::activeWindow() == &doc(); }));
}

TEST_F(KeysWindow, EveryMenuActionShowsItsShortcut) {
    // Menus added in code go before 帮助, which stays the last.
    EXPECT_EQ(doc().menuBar()->actions().back()->text(), QStringLiteral("帮助"));
    for (QAction* menu : doc().menuBar()->actions())
        for (QAction* action : menu->menu()->actions())
            if (!action->isSeparator() && !action->menu())
                EXPECT_FALSE(action->shortcut().isEmpty()) << action->text().toStdString();
}
