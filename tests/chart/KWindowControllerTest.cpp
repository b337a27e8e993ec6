#include "orvane/chart/KWindowController.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QSignalSpy>
#include <QTest>
#include <fstream>

#include "ChartFixtures.h"
#include "TempDataDir.h"
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
    open({"000002"});
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
            EXPECT_EQ(button(static_cast<int>(i))->geometry().x(), 101 * static_cast<int>(i));
        }
        EXPECT_EQ(shownTab(), c.shown) << c.tabs << " tabs, closed " << c.closed;
        EXPECT_EQ(controller.currentSelectedIndex(), c.shown);
        EXPECT_TRUE(button(c.shown)->isSelected());
    }
}

TEST_F(KWindowControllerTest, TenTabsAtMost) {
    for (int i = 0; i < 11; ++i) controller.addNewKLineView(file("00000" + std::to_string(i % 10)));
    EXPECT_EQ(controller.kLineViewCloseButtonList().size(), 10u);
    EXPECT_EQ(shownTab(), 9);
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
