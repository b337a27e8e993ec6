#include "orvane/chart/KBaseView.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QTest>

#include "ChartFixtures.h"
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
    QColor textColour(QLabel* label) const { return label->palette().color(QPalette::WindowText); }

    KBaseView view{QRect(0, 0, 800, 600)};
};

}  // namespace

TEST_F(KBaseViewTest, ArrowKeysPlaceTheCrosshairAndPanel) {
    QTest::keyClick(&view, Qt::Key_Right);
    ASSERT_EQ(view.model().focusDataIndex(), 199);
    ASSERT_NE(view.kVerticalLine(), nullptr);
    const KRect body = day(199).sectionRect;
    EXPECT_EQ(view.kVerticalLine()->geometry(), toWidgetRect({body.x + 3.5f, 0, 1, 600}, 600));
    EXPECT_EQ(view.kVerticalLine()->geometry().height(), 600);
    EXPECT_EQ(view.kHorizontalLine()->geometry().width(), 760);
    EXPECT_EQ(view.kInfoView()->dateField->text().toStdString(), day(199).date);
    EXPECT_EQ(view.kPriceLabel()->text().toStdString(), infoValuesFor(day(199)).close);
    EXPECT_EQ(view.kInfoView()->geometry().x(), 760 - 130);  // near the right edge

    QTest::keyClick(&view, Qt::Key_Left);
    EXPECT_EQ(view.model().focusDataIndex(), 198);
    EXPECT_EQ(view.kVerticalLine()->geometry().x(),
              toWidgetRect({day(198).sectionRect.x + 3.5f, 0, 1, 1}, 600).x());

    QTest::keyClick(&view, Qt::Key_Escape);
    EXPECT_EQ(view.model().focusDataIndex(), -1);
    EXPECT_EQ(view.kVerticalLine(), nullptr);
    EXPECT_EQ(view.kInfoView(), nullptr);
}

TEST_F(KBaseViewTest, PanelColoursFollowTheDay) {
    view.model().setFocusDataIndex(198);  // zigzag: even days rise
    view.drawHVLineAndDataInfo(false, {0, 0});
    const QColor red(255, 0, 0), green(0, 255, 0), yellow(255, 255, 0), white(255, 255, 255);
    EXPECT_EQ(textColour(view.kInfoView()->openField), red);
    EXPECT_EQ(textColour(view.kInfoView()->lowField), red);
    EXPECT_EQ(textColour(view.kInfoView()->riseFallField), red);
    EXPECT_EQ(textColour(view.kInfoView()->volumeField), yellow);
    EXPECT_EQ(textColour(view.kInfoView()->dateTitle), white);
    EXPECT_EQ(textColour(view.kPriceLabel()), red);
    view.model().setFocusDataIndex(199);
    view.drawHVLineAndDataInfo(false, {0, 0});
    EXPECT_EQ(textColour(view.kInfoView()->closeField), green);
    EXPECT_EQ(textColour(view.kInfoView()->riseFallField), green);
}

TEST_F(KBaseViewTest, PointerMovesTheCrosshairWithoutRedrawingTheChart) {
    QApplication::processEvents();
    const int draws = view.chartDrawCount();
    ASSERT_GE(draws, 1);
    const int start = view.model().visibleStart();
    const KRect body = day(start + 10).sectionRect;
    pointAt(body.x + 1, 300);
    EXPECT_EQ(view.model().focusDataIndex(), start + 10);
    const QRect horizontal = view.kHorizontalLine()->geometry();
    EXPECT_EQ(view.kInfoView()->geometry().topLeft(),
              QPoint(static_cast<int>(body.x + 1 + 15), 300 + 15));

    // Over the volume band the horizontal line stays where it was.
    const KRect other = day(start + 20).sectionRect;
    pointAt(other.x + 1, 50);
    EXPECT_EQ(view.model().focusDataIndex(), start + 20);
    EXPECT_EQ(view.kHorizontalLine()->geometry(), horizontal);
    EXPECT_EQ(view.kVerticalLine()->geometry().x(),
              toWidgetRect({other.x + 3.5f, 0, 1, 1}, 600).x());
    EXPECT_EQ(view.kInfoView()->geometry().bottom(), 599);  // resting on y = 0

    // In a gap between columns nothing moves.
    pointAt(other.right() + 0.5f, 300);
    EXPECT_EQ(view.model().focusDataIndex(), start + 20);

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
    QTest::keyClick(&view, Qt::Key_Down);
    EXPECT_EQ(view.model().zoomLevel(), 3.0f);
    view.setZoomLevel(10);
    QTest::keyClick(&view, Qt::Key_Up);
    EXPECT_EQ(view.model().zoomLevel(), 10.0f);  // 10.5 is refused
}

TEST_F(KBaseViewTest, ResizingClearsTheCrosshairButKeepsTheFocusDay) {
    QTest::keyClick(&view, Qt::Key_Left);
    QTest::keyClick(&view, Qt::Key_Left);
    view.setCurrentSectionRangeX(600, 400);
    EXPECT_EQ(view.size(), QSize(600, 400));
    EXPECT_EQ(view.model().currentSectionRangeX(), 560);
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
    EXPECT_TRUE(view.model().dataList().empty());
    QTest::keyClick(&view, Qt::Key_Left);
    QTest::keyClick(&view, Qt::Key_Right);
    EXPECT_EQ(view.model().focusDataIndex(), -1);
    QImage image = view.grab().toImage();
    EXPECT_EQ(image.pixelColor(10, 10), QColor(Qt::black));
}
