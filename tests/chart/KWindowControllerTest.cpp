#include "orvane/chart/KWindowController.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <fstream>

#include "ChartFixtures.h"
#include "TempDataDir.h"
#include "orvane/chart/IntradayView.h"
#include "orvane/chart/KBaseView.h"
#include "orvane/chart/KImageButton.h"
#include "orvane/chart/KInfoButton.h"
#include "orvane/chart/KWindow.h"

using namespace orvane::chart;
using namespace orvane::chart::test;

namespace {

class KWindowControllerTest : public testing::Test {
  protected:
    KWindowControllerTest()
        : controller([](const std::string& code) {
              return code == "600000" ? std::string("浦发银行") : std::string();
          }) {}

    std::filesystem::path file(const std::string& code) {
        const auto path = dir.path() / (code + ".txt");
        std::ofstream(path) << historyText(zigzagDays(60));
        return path;
    }
    void open(std::initializer_list<const char*> codes) {
        for (const char* code : codes) controller.addNewKLineView(file(code));
    }
    KInfoButton* button(int i) const { return controller.kLineViewCloseButtonList()[i]; }
    KBaseView* view(int i) const { return controller.kLineViewList()[i]; }
    std::string title(int i) const { return button(i)->buttonTitle().toStdString(); }
    /// The tab whose chart is showing, or -1; asserts at most one shows.
    int shownTab() const {
        int shown = -1;
        for (std::size_t i = 0; i < controller.kLineViewList().size(); ++i)
            if (!view(static_cast<int>(i))->isHidden()) {
                EXPECT_EQ(shown, -1) << "two charts show";
                shown = static_cast<int>(i);
            }
        return shown;
    }
    void click(QAbstractButton* b) {
        QTest::mouseClick(b, Qt::LeftButton);
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    orvane::test::TempDataDir dir;
    KWindowController controller;
};

}  // namespace

TEST_F(KWindowControllerTest, AddingATabShowsTheWindowAndSelectsAndFocusesTheTab) {
    EXPECT_FALSE(controller.isKWindowShown());
    open({"600000"});
    EXPECT_TRUE(controller.kWindow()->isVisible());
    EXPECT_EQ(controller.kWindow()->windowTitle().toStdString(), "浦发银行(600000)");
    EXPECT_EQ(title(0), "浦发银行 600000");
    open({"000002"});
    EXPECT_EQ(title(1), "000002");  // no name known
    EXPECT_EQ(shownTab(), 1);
    EXPECT_FALSE(button(0)->isSelected());
    EXPECT_EQ(controller.kWindow()->windowTitle().toStdString(), "000002");  // no name known
    // The keys go to the chart shown once the window is active.
    EXPECT_EQ(controller.kWindow()->focusWidget(), view(1));
    EXPECT_EQ(view(1)->model().dataList().size(), 60u);
    controller.kWindow()->resize(700, 500);  // every chart follows the window
    for (int i = 0; i < 2; ++i) EXPECT_EQ(view(i)->geometry(), QRect(0, 20, 700, 480));
    EXPECT_EQ(view(0)->model().currentSectionRangeX(), 660);
    click(button(0)->infoButton());
    EXPECT_EQ(controller.kWindow()->focusWidget(), view(0));
    EXPECT_EQ(controller.kWindow()->windowTitle().toStdString(), "浦发银行(600000)");
}

TEST_F(KWindowControllerTest, ClosingATabRenumbersTheRowAndKeepsOrMovesTheSelection) {
    const struct {
        int tabs, selected, closed, shown;
        std::vector<std::string> titles;
    } cases[] = {
        {3, 2, 1, 1, {"000001", "000003"}},            // before the selected one: it stays shown
        {4, 1, 1, 2, {"000001", "000003", "000004"}},  // the selected one: the last is shown
        {2, 1, 1, 0, {"000001"}},
    };
    for (const auto& c : cases) {
        controller.closeKWindow();
        for (int i = 1; i <= c.tabs; ++i) open({("00000" + std::to_string(i)).c_str()});
        click(button(c.selected)->infoButton());
        click(button(c.closed)->closeButton());
        ASSERT_EQ(controller.kLineViewList().size(), c.titles.size());
        for (std::size_t i = 0; i < c.titles.size(); ++i) {
            EXPECT_EQ(title(static_cast<int>(i)), c.titles[i]);
            EXPECT_EQ(button(static_cast<int>(i))->buttonID(), static_cast<int>(i));
            EXPECT_EQ(button(static_cast<int>(i))->geometry().x(),
                      (button(0)->width() + 1) * static_cast<int>(i));
        }
        EXPECT_EQ(shownTab(), c.shown) << c.tabs << " tabs, closed " << c.closed;
        EXPECT_EQ(controller.currentSelectedIndex(), c.shown);
        EXPECT_TRUE(button(c.shown)->isSelected());
    }
}

TEST_F(KWindowControllerTest, TenTabsAtMostAllInOneRowInsideTheWindow) {
    for (int i = 0; i < 11; ++i) controller.addNewKLineView(file("60000" + std::to_string(i % 10)));
    EXPECT_EQ(controller.kLineViewCloseButtonList().size(), 10u);  // the 11th was 600000 again
    EXPECT_EQ(shownTab(), 0);
    EXPECT_EQ(controller.addNewKLineView(file("000010")), nullptr);
    EXPECT_EQ(controller.kLineViewCloseButtonList().size(), 10u);
    EXPECT_EQ(controller.addNewKLineView(file("600003")), view(3));  // its own tab is still there
    EXPECT_EQ(shownTab(), 3);
    for (int i = 1; i < 10; ++i)
        EXPECT_EQ(button(i)->geometry().left(), button(i - 1)->geometry().right() + 2);
    EXPECT_LE(button(9)->geometry().right(), controller.kWindow()->width() - 1);
    EXPECT_EQ(button(0)->infoButton()->toolTip().toStdString(), "浦发银行 600000");
    // Few tabs have room for the whole name and code.
    controller.closeKWindow();
    open({"600000"});
    EXPECT_EQ(button(0)->width(), kInfoButtonWidth);
    const QFontMetrics bold(button(0)->infoButton()->font());
    EXPECT_LE(bold.horizontalAdvance(button(0)->buttonTitle()),
              button(0)->infoButton()->width() - 4);
}

TEST_F(KWindowControllerTest, OpeningAStockAgainShowsItsOwnTabWithTheFileReloaded) {
    open({"600000", "000002"});
    // The back-test writes its own cut of the history, in another folder.
    const auto cut = dir.path() / "cut";
    std::filesystem::create_directory(cut);
    std::ofstream(cut / "600000.txt") << historyText(zigzagDays(80));
    view(0)->model().setFocusDataIndex(30);
    KBaseView* shown = controller.addNewKLineView(cut / "600000.txt");
    EXPECT_EQ(controller.kLineViewList().size(), 2u);
    EXPECT_EQ(shown, view(0));
    EXPECT_EQ(shownTab(), 0);
    EXPECT_EQ(controller.currentSelectedIndex(), 0);
    EXPECT_TRUE(button(0)->isSelected());
    EXPECT_EQ(view(0)->model().dataList().size(), 80u);
    EXPECT_EQ(view(0)->model().focusDataIndex(), -1);
    EXPECT_EQ(title(0), "浦发银行 600000");
    EXPECT_EQ(controller.kWindow()->windowTitle().toStdString(), "浦发银行(600000)");
    EXPECT_EQ(controller.tabOfStock("000002"), 1);
    EXPECT_EQ(controller.tabOfStock("600006"), -1);
}

TEST_F(KWindowControllerTest, AStockShownInPlaceOfAnotherKeepsItsTab) {
    open({"600000", "000002"});
    EXPECT_EQ(controller.replaceKLineView(0, file("600006")), view(0));
    EXPECT_EQ(controller.kLineViewList().size(), 2u);
    EXPECT_EQ(shownTab(), 0);
    EXPECT_EQ(title(0), "600006");
    EXPECT_EQ(controller.tabOfStock("600000"), -1);
    // A stock with its own tab is shown there; no tab to replace adds one.
    EXPECT_EQ(controller.replaceKLineView(0, file("000002")), view(1));
    KBaseView* added = controller.replaceKLineView(5, file("600000"));
    ASSERT_EQ(controller.kLineViewList().size(), 3u);
    EXPECT_EQ(added, view(2));
}

TEST_F(KWindowControllerTest, OpeningATabBringsTheWindowBackActiveFromAnotherWindowOrMinimised) {
    open({"600000"});
    QWidget other;
    other.resize(200, 100);
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    open({"000002"});
    EXPECT_TRUE(QTest::qWaitForWindowActive(controller.kWindow()));

    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    controller.kWindow()->showMinimized();
    ASSERT_TRUE(controller.kWindow()->isMinimized());
    open({"600000"});  // a stock already open: the same
    EXPECT_FALSE(controller.kWindow()->isMinimized());
    EXPECT_TRUE(controller.kWindow()->isVisible());
    EXPECT_TRUE(QTest::qWaitForWindowActive(controller.kWindow()));
}

TEST_F(KWindowControllerTest, TheWindowOpensInsideTheScreensAvailableArea) {
    KWindow* window = controller.kWindow();
    const QRect area = window->screen()->availableGeometry();
    open({"600000"});
    EXPECT_TRUE(area.contains(window->frameGeometry()))
        << window->frameGeometry().width() << "x" << window->frameGeometry().height();
    EXPECT_EQ(view(0)->size(), QSize(window->width(), window->height() - kTabRowHeight));

    // A geometry kept from a larger screen, partly off this one.
    controller.closeKWindow();
    window->setGeometry(area.right() - 100, area.bottom() - 50, area.width() + 300, 400);
    open({"600000"});
    EXPECT_TRUE(area.contains(window->frameGeometry()));
    EXPECT_EQ(window->frameGeometry().right(), area.right());  // moved no further than needed
    EXPECT_EQ(window->height(), 400);
}
TEST_F(KWindowControllerTest, ClosingTheWindowOrItsLastTabForgetsEverything) {
    QSignalSpy closed(&controller, &KWindowController::kWindowClosed);
    open({"000001", "000002"});
    controller.kWindow()->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(controller.kLineViewList().empty());
    EXPECT_FALSE(controller.isKWindowShown());
    EXPECT_EQ(closed.count(), 1);
    EXPECT_TRUE(controller.kWindow()->findChildren<KBaseView*>().empty());

    open({"000003"});
    click(button(0)->closeButton());
    EXPECT_FALSE(controller.kWindow()->isVisible());
    EXPECT_EQ(closed.count(), 2);
}

TEST_F(KWindowControllerTest, AStocks分时HasItsOwnTabBesideItsKLine) {
    open({"600000"});
    IntradayView* intraday = controller.addIntradayView("600000");
    ASSERT_TRUE(intraday);
    EXPECT_EQ(title(1), "分时 浦发银行 600000");
    EXPECT_EQ(controller.kWindow()->windowTitle().toStdString(), "分时 浦发银行(600000)");
    EXPECT_TRUE(view(0)->isHidden());
    EXPECT_FALSE(intraday->isHidden());
    EXPECT_EQ(controller.addIntradayView("600000"), intraday);  // once a stock
    EXPECT_EQ(controller.tabOfStock("600000"), 0);
    EXPECT_EQ(controller.intradayCodes(), std::vector<std::string>{"600000"});
    controller.kWindow()->resize(700, 500);
    EXPECT_EQ(intraday->geometry(), QRect(0, 20, 700, 480));
    click(button(0)->infoButton());
    EXPECT_TRUE(intraday->isHidden());
    controller.removeKLineView(1);
    EXPECT_FALSE(controller.intradayViewOf("600000"));
    EXPECT_EQ(controller.kLineViewList().size(), 1u);
}
