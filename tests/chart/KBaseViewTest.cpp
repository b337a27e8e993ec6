#include "orvane/chart/KBaseView.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>

#include "ChartFixtures.h"
#include "orvane/chart/KAverageView.h"
#include "orvane/chart/KColours.h"
#include "orvane/chart/KCrosshair.h"
#include "orvane/chart/KDateAxis.h"
#include "orvane/chart/KDateAxisPainter.h"
#include "orvane/chart/KIndicatorPanel.h"
#include "orvane/chart/KInfoView.h"
#include "orvane/chart/KLegendView.h"
#include "orvane/chart/KMouseLine.h"
#include "orvane/chart/KWidgetFrame.h"
#include "orvane/core/NumberText.h"

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
        const QPointF local(x, view.chartHeight() - y);
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
    // The vertical line runs on through the indicator panel.
    EXPECT_EQ(view.kVerticalLine()->geometry(),
              toWidgetRect(frame->verticalLine, view.chartHeight())
                  .adjusted(0, 0, 0, static_cast<int>(kIndicatorPanelHeight)));
    EXPECT_EQ(view.kInfoView()->geometry(), toWidgetRect(frame->infoPanel, view.chartHeight()));
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
    EXPECT_EQ(view.kHorizontalLine()->geometry(),
              toWidgetRect(frame->horizontalLine, view.chartHeight()));

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
    EXPECT_EQ(view.model().currentSectionRangeY(),
              400 - kDateAxisHeight - kIndicatorPanelHeight - 140);
    EXPECT_EQ(view.kVerticalLine(), nullptr);
    EXPECT_EQ(view.model().focusDataIndex(), 198);
    QTest::keyClick(&view, Qt::Key_Left);
    EXPECT_EQ(view.model().focusDataIndex(), 197);
    EXPECT_EQ(view.kVerticalLine()->geometry().height(), 400 - kDateAxisHeight);  // to the axis
}

TEST(KBaseViewEmpty, AnUnreadableFileGivesAnEmptyChartThatIgnoresKeysAndPointer) {
    KBaseView view(QRect(0, 0, 400, 300));
    view.initKDataFromFilePath("/nonexistent/600000.txt");
    QTest::keyClick(&view, Qt::Key_Left);
    EXPECT_EQ(view.model().focusDataIndex(), -1);
    EXPECT_EQ(view.grab().toImage().pixelColor(10, 10), QColor(Qt::black));
}

namespace {

bool near(const QColor& a, const QColor& b, int tolerance) {
    return std::abs(a.red() - b.red()) <= tolerance &&
           std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance;
}

bool anyPixel(const QImage& image, const QRect& area, const std::function<bool(QColor)>& test) {
    const QRect inside = area & image.rect();
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            if (test(image.pixelColor(x, y))) return true;
    return false;
}

// Contrast of two colours as the web's accessibility rules measure it (1 to 21).
double contrast(const QColor& a, const QColor& b) {
    const auto luminance = [](const QColor& c) {
        const auto channel = [](double v) {
            return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) +
               0.0722 * channel(c.blueF());
    };
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

}  // namespace

TEST_F(KBaseViewTest, DatesLabelTheAxisUnderTheChartAndTagTheFocusDay) {
    const int top = view.chartHeight() + static_cast<int>(kIndicatorPanelHeight);
    EXPECT_EQ(top, 600 - kDateAxisHeight);
    const QImage image = view.grab().toImage();
    const QFontMetricsF metrics(dateAxisFont());
    const auto ticks = dateAxisTicks(
        view.model(),
        [&](std::string_view t) {
            return static_cast<float>(
                metrics.horizontalAdvance(QString::fromUtf8(t.data(), t.size())));
        },
        800);
    ASSERT_FALSE(ticks.empty());
    const auto light = [](QColor c) { return c.red() > 100 && c.green() > 100 && c.blue() > 100; };
    for (const KDateTick& t : ticks) {
        const int x = static_cast<int>(t.x);
        EXPECT_TRUE(anyPixel(image, QRect(x + 2, top + 1, 20, kDateAxisHeight - 1), light))
            << t.text;
        EXPECT_FALSE(anyPixel(image, QRect(x - 12, top + 4, 10, kDateAxisHeight - 4), light))
            << t.text;  // nothing just before a label
    }

    QTest::keyClick(&view, Qt::Key_Left);
    QTest::keyClick(&view, Qt::Key_Left);
    ASSERT_NE(view.kDateLabel(), nullptr);
    EXPECT_EQ(view.kDateLabel()->text().toStdString(), day(198).date);
    const QRect tag = view.kDateLabel()->geometry();
    EXPECT_EQ(tag.top(), top + 1);
    EXPECT_LE(tag.bottom(), 599);
    EXPECT_NEAR(tag.center().x(), view.kVerticalLine()->geometry().x(), 1);
    QTest::keyClick(&view, Qt::Key_Escape);
    EXPECT_EQ(view.kDateLabel(), nullptr);
}

TEST_F(KBaseViewTest, AveragesLegendShowsTheCrosshairDayOrElseTheNewestInTheLinesColours) {
    const auto shown = [this] {
        std::vector<std::string> out;
        for (const KAverageText& t : view.averageView()->texts()) out.push_back(t.text);
        return out;
    };
    const auto of = [this](int i) {
        const auto texts = averageTextsFor(day(i));
        return std::vector<std::string>{texts[0].text, texts[1].text, texts[2].text};
    };
    EXPECT_EQ(shown(), of(199));
    EXPECT_EQ(shown()[1], orvane::format("MA10 %.2f", static_cast<double>(day(199).ma10)));
    QTest::keyClick(&view, Qt::Key_Left);
    QTest::keyClick(&view, Qt::Key_Left);
    EXPECT_EQ(shown(), of(198));
    EXPECT_NE(shown(), of(199));
    QTest::keyClick(&view, Qt::Key_Escape);
    EXPECT_EQ(shown(), of(199));

    const QRect legend = view.averageView()->geometry();
    EXPECT_LE(legend.bottom(), 40);  // above the price area
    const QImage image = view.grab(legend).toImage();
    for (const QColor& colour : {colours::ma5(), colours::ma10(), colours::ma20()})
        EXPECT_TRUE(anyPixel(image, image.rect(), [&](QColor c) { return near(c, colour, 12); }))
            << colour.name().toStdString();
}

TEST_F(KBaseViewTest, DayPanelIsOpaqueFramedAndReadableOverTheCandles) {
    for (int i : {199, 150, 120}) {
        view.model().setFocusDataIndex(i);
        view.drawHVLineAndDataInfo(false, {0, 0});
        KInfoView* panel = view.kInfoView();
        const QImage image = view.grab().toImage();
        const QRect box = panel->geometry();
        const QColor border = image.pixelColor(box.topLeft());
        const QColor inside = image.pixelColor(box.topLeft() + QPoint(2, 2));
        // A frame that stands out from the black chart, and a solid ground within.
        EXPECT_GE(contrast(border, QColor(Qt::black)), 3.0);
        EXPECT_EQ(image.pixelColor(box.bottomRight()), border);
        for (int x = box.left() + 1; x < box.right(); ++x)
            ASSERT_EQ(image.pixelColor(x, box.top() + 2), inside) << x;
        for (QLabel* label : panel->findChildren<QLabel*>()) {
            const QPalette p = label->palette();
            EXPECT_EQ(p.color(QPalette::Window), inside);
            EXPECT_GE(contrast(p.color(QPalette::WindowText), inside), 4.5)
                << label->text().toStdString();
            EXPECT_GE(label->font().pixelSize(), 12);
            EXPECT_TRUE(box.contains(label->geometry().translated(box.topLeft())));
        }
    }
}

TEST_F(KBaseViewTest, KeysAndTheChoicesRowSwitchPeriodAndIndicator) {
    // 200 days one calendar day apart make 29 weeks (Monday to Sunday) and 7 months.
    const std::size_t days = view.model().dataList().size();
    QTest::keyClick(&view, Qt::Key_F8);
    EXPECT_EQ(view.model().period(), KPeriod::Week);
    EXPECT_EQ(view.model().dataList().size(),
              candlesOfPeriod(sections(zigzagDays(200)), KPeriod::Week).size());
    EXPECT_LT(view.model().dataList().size(), days / 6);
    QTest::keyClick(&view, Qt::Key_F8);
    EXPECT_EQ(view.model().period(), KPeriod::Month);
    QTest::keyClick(&view, Qt::Key_F8);
    EXPECT_EQ(view.model().dataList().size(), days);

    EXPECT_EQ(view.indicatorLegend()->texts().front().text, "MACD(12,26,9)");
    QTest::keyClick(&view, Qt::Key_F9);
    EXPECT_EQ(view.model().indicator(), KIndicator::KDJ);
    EXPECT_EQ(view.indicatorLegend()->texts().front().text, "KDJ(9,3,3)");

    // A click on 周K in the row; without a traded history only 不复权 is offered.
    KChartOptionsBar* bar = view.optionsBar();
    std::vector<std::string> texts;
    for (const auto& item : bar->items()) texts.push_back(item.text.toStdString());
    EXPECT_EQ(texts, (std::vector<std::string>{"日K", "周K", "月K", "MACD", "KDJ", "不复权"}));
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->items()[1].frame.center());
    EXPECT_EQ(view.model().period(), KPeriod::Week);
    EXPECT_EQ(view.model().indicator(), KIndicator::KDJ);
}

TEST(KBaseViewPrices, TheTradedHistoryOffersBothPricesAndShowsTheChosenFile) {
    const auto dir = std::filesystem::temp_directory_path() / "orvane-chart-prices";
    std::filesystem::create_directories(dir / "traded");
    std::vector<Day> adjusted = zigzagDays(40), traded = adjusted;
    for (Day& d : adjusted) d.open *= 0.5f, d.high *= 0.5f, d.low *= 0.5f, d.close *= 0.5f;
    std::ofstream(dir / "600000.txt") << historyText(adjusted);
    std::ofstream(dir / "traded" / "600000.txt") << historyText(traded);

    KBaseView view(QRect(0, 0, 800, 600));
    view.initKDataFromFilePath(dir / "600000.txt");
    view.setTradedHistoryPath(dir / "traded" / "600000.txt");
    // Offered, the file loaded first (forward-adjusted) is shown as 前复权.
    EXPECT_EQ(view.optionsBar()->choices().prices, KPrices::ForwardAdjusted);
    EXPECT_NEAR(view.model().dataList().back().closePrice, adjusted.back().close, 0.006);
    KChartChoices choices = view.optionsBar()->choices();
    choices.prices = KPrices::Traded;
    choices.period = KPeriod::Week;
    view.applyChoices(choices);
    EXPECT_NEAR(view.model().dataList().back().closePrice, traded.back().close, 0.006);
    EXPECT_EQ(view.model().period(), KPeriod::Week);
    // The tab is still the stock's own file.
    EXPECT_EQ(view.filePath(), dir / "600000.txt");
    std::filesystem::remove_all(dir);
}
