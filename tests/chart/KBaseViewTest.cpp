#include "orvane/chart/KBaseView.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QTest>

#include "ChartFixtures.h"
#include "orvane/chart/KCrosshair.h"
#include "orvane/chart/KInfoView.h"
#include "orvane/chart/KMouseLine.h"
#include "orvane/chart/KWidgetFrame.h"

using namespace orvane::chart;
using namespace orvane::chart::test;

namespace {

class KBaseViewTest : public testing::Test {
  protected:
    void SetUp() override {
        view.model().setDataList(sections(zigzagDays(200)));
        view.show();
        QApplication::processEvents();
    }

    // Moves the pointer to the chart point (x, y).
    void pointAt(float x, float y) {
        const QPointF local(x, 600 - y);
        QMouseEvent move(QEvent::MouseMove, local, view.mapToGlobal(local), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&view, &move);
    }

    const KSection& day(int i) const { return view.model().dataList()[i]; }

    KBaseView view{QRect(0, 0, 800, 600)};
};

}  // namespace

TEST_F(KBaseViewTest, ArrowKeysPlaceTheCrosshairAndPanel) {
    QTest::keyClick(&view, Qt::Key_Right);
    ASSERT_EQ(view.model().focusDataIndex(), 199);
    ASSERT_NE(view.kVerticalLine(), nullptr);
    const auto frame = placeCrosshair(view.model(), false, {0, 0}, {});
    EXPECT_EQ(view.kVerticalLine()->geometry(), toWidgetRect(frame->verticalLine, 600));
    EXPECT_EQ(view.kInfoView()->geometry(), toWidgetRect(frame->infoPanel, 600));
    EXPECT_EQ(view.kInfoView()->dateField->text().toStdString(), day(199).date);
    EXPECT_EQ(view.kPriceLabel()->text().toStdString(), infoValuesFor(day(199)).close);

    QTest::keyClick(&view, Qt::Key_Escape);
    EXPECT_EQ(view.model().focusDataIndex(), -1);
    EXPECT_EQ(view.kInfoView(), nullptr);
}

TEST_F(KBaseViewTest, PointerMovesTheCrosshairWithoutRedrawingTheChart) {
    QApplication::processEvents();
    const int draws = view.chartDrawCount();
    ASSERT_GE(draws, 1);
    const int start = view.model().visibleStart();
    const KRect body = day(start + 10).sectionRect;
    pointAt(body.x + 1, 300);
    EXPECT_EQ(view.model().focusDataIndex(), start + 10);
    const auto frame = placeCrosshair(view.model(), true, {body.x + 1, 300}, {});
    EXPECT_EQ(view.kHorizontalLine()->geometry(), toWidgetRect(frame->horizontalLine, 600));

    const QRect horizontal = view.kHorizontalLine()->geometry();
    pointAt(body.x + 1, 50);  // the view passes the line's last place on: over the volume it stays
    EXPECT_EQ(view.kHorizontalLine()->geometry(), horizontal);
    pointAt(body.right() + 0.5f, 300);  // a gap: the focus stays
    EXPECT_EQ(view.model().focusDataIndex(), start + 10);

    QApplication::processEvents();
    EXPECT_EQ(view.chartDrawCount(), draws);

    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&view, &leave);
    EXPECT_EQ(view.kVerticalLine(), nullptr);
    EXPECT_EQ(view.model().focusDataIndex(), -1);
    pointAt(body.x + 1, 300);  // back in: shown again at the next move
    EXPECT_NE(view.kVerticalLine(), nullptr);
}

TEST_F(KBaseViewTest, ZoomKeysRedrawButLeaveTheCrosshair) {
    QTest::keyClick(&view, Qt::Key_Right);
    const QRect vertical = view.kVerticalLine()->geometry();
    const int visible = view.model().visibleCount();
    QApplication::processEvents();
    const int draws = view.chartDrawCount();

    QTest::keyClick(&view, Qt::Key_Up);
    EXPECT_EQ(view.model().zoomLevel(), 4.0f);
    EXPECT_LT(view.model().visibleCount(), visible);
    EXPECT_EQ(view.kVerticalLine()->geometry(), vertical);
    QApplication::processEvents();
    EXPECT_EQ(view.chartDrawCount(), draws + 1);
    QTest::keyClick(&view, Qt::Key_Down);
    EXPECT_EQ(view.model().visibleCount(), visible);
}

TEST_F(KBaseViewTest, ResizingClearsTheCrosshairButKeepsTheFocusDay) {
    QTest::keyClick(&view, Qt::Key_Left);
    QTest::keyClick(&view, Qt::Key_Left);
    view.setCurrentSectionRangeX(600, 400);
    EXPECT_EQ(view.size(), QSize(600, 400));
    EXPECT_EQ(view.model().currentSectionRangeY(), 260);
    EXPECT_EQ(view.kVerticalLine(), nullptr);
    EXPECT_EQ(view.model().focusDataIndex(), 198);
    QTest::keyClick(&view, Qt::Key_Left);
    EXPECT_EQ(view.model().focusDataIndex(), 197);
    EXPECT_EQ(view.kVerticalLine()->geometry().height(), 400);
}

TEST(KBaseViewEmpty, AnUnreadableFileGivesAnEmptyChartThatIgnoresKeysAndPointer) {
    KBaseView view(QRect(0, 0, 400, 300));
    view.initKDataFromFilePath("/nonexistent/600000.txt");
    QTest::keyClick(&view, Qt::Key_Left);
    EXPECT_EQ(view.model().focusDataIndex(), -1);
    EXPECT_EQ(view.grab().toImage().pixelColor(10, 10), QColor(Qt::black));
}
