#include "orvane/chart/KChartPainter.h"

#include <gtest/gtest.h>

#include <QImage>
#include <cmath>

#include "ChartFixtures.h"
#include "orvane/chart/KColours.h"
#include "orvane/chart/KCrosshair.h"
#include "orvane/chart/KHistoryLoader.h"

using namespace orvane::chart;
using namespace orvane::chart::test;

namespace {

QImage render(KChartModel& model) {
    QImage image(static_cast<int>(model.viewWidth()), static_cast<int>(model.viewHeight()),
                 QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::magenta);
    QPainter painter(&image);
    KChartPainter(painter, model).drawRect();
    return image;
}

// The image pixel holding the chart point (x, y) as drawn: shifted half a
// pixel and flipped.
QColor at(const QImage& image, float x, float y) {
    const int px = static_cast<int>(std::floor(x + 0.5f));
    const int py = static_cast<int>(std::floor(static_cast<float>(image.height()) - 0.5f - y));
    return image.pixelColor(px, py);
}

bool near(const QColor& a, const QColor& b) {
    return std::abs(a.red() - b.red()) <= 3 && std::abs(a.green() - b.green()) <= 3 &&
           std::abs(a.blue() - b.blue()) <= 3;
}

#define EXPECT_COLOUR(actual, expected) \
    EXPECT_TRUE(near(actual, expected)) \
        << (actual).name().toStdString() << " vs " << (expected).name().toStdString()

bool anyRed(const QImage& image, int x0, int x1, int y0, int y1) {
    for (int y = std::max(y0, 0); y < std::min(y1, image.height()); ++y)
        for (int x = x0; x < x1; ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.red() > 120 && c.green() < 60 && c.blue() < 60) return true;
        }
    return false;
}

// 200 × 390: plot width 160, price area 250 high. Prices run from 5 to 30,
// so y(p) = (p − 5) × 10 + 100; columns are 7 wide at x = 8.5 c.
std::vector<Day> sixDays() {
    return {
        {20, 30, 5, 10, 100},         // falling, sets the range
        {10, 11, 9.5f, 10, 100},      //
        {10, 11, 9.5f, 10, 100},      //
        {10, 11, 9.5f, 10, 100},      // unchanged: a flat falling body at y 150
        {19, 20.5f, 18.5f, 20, 200},  // rising, body 240...250, greatest volume
        {10.5f, 11, 9.5f, 10, 100},   // falling, body 150...155
    };
}

}  // namespace

TEST(KChartPainter, EmptyChartShowsBackgroundSeparatorsAndDashedLinesButNoPrices) {
    KChartModel model(200, 390);
    const QImage image = render(model);
    const QColor grey = colours::darkGrey();
    EXPECT_COLOUR(at(image, 50, 100), grey);   // volume band's top edge, 2 wide
    EXPECT_COLOUR(at(image, 160, 300), grey);  // the price scale's left edge
    // Dashes 3 on, 2 off from x = 0, every 25 from the volume band up.
    for (int x : {1, 2, 4, 6, 9})
        EXPECT_COLOUR(at(image, static_cast<float>(x), 125), x % 5 < 3 ? grey : QColor(Qt::black))
            << x;
    EXPECT_COLOUR(at(image, 1, 350), grey);  // the highest of the dashed lines
    EXPECT_COLOUR(at(image, 1, 140), QColor(Qt::black));
    // Without a day there is no price to label.
    EXPECT_FALSE(anyRed(image, 162, 200, 0, 390));
}

TEST(KChartPainter, CandlesWicksVolumeAndAverages) {
    KChartModel model(200, 390);
    model.setDataList(sections(sixDays()));
    ASSERT_EQ(model.visibleCount(), 6);
    const QImage image = render(model);
    const QColor rising = colours::risingDay();
    const QColor falling = colours::fallingDay();

    EXPECT_COLOUR(at(image, 34 + 3.5f, 245), rising);         // rising body
    EXPECT_COLOUR(at(image, 42.5f + 3.5f, 152.5f), falling);  // falling body
    EXPECT_COLOUR(at(image, 37, 252.5f), rising);             // upper wick on the centre line
    EXPECT_COLOUR(at(image, 37, 245 - 6.5f), rising);         // lower wick, down to 235
    EXPECT_COLOUR(at(image, 25.5f + 3, 150), falling);        // unchanged day: a flat body
    // The greatest volume reaches the legend's line at 84, half of it 42;
    // the volume's MA5 (120: y 50.4) runs over both.
    EXPECT_COLOUR(at(image, 37, 83), rising);
    EXPECT_COLOUR(at(image, 37, 86), QColor(Qt::black));
    EXPECT_COLOUR(at(image, 46, 41), falling);
    EXPECT_COLOUR(at(image, 46, 44), QColor(Qt::black));
    // The 5-day average is 12 on the last two days: a white segment at y 170
    // between the two centre lines, nothing before the fifth day.
    EXPECT_COLOUR(at(image, 41, 170), QColor(Qt::white));
    EXPECT_COLOUR(at(image, 30, 170), QColor(Qt::black));
    // Labels stand right of the scale line: the lowest on its line, the others 5 below theirs.
    EXPECT_TRUE(anyRed(image, 162, 200, 389 - 100 - 13, 389 - 100));
    EXPECT_FALSE(anyRed(image, 162, 200, 389 - 100 + 1, 389 - 100 + 6));
    EXPECT_TRUE(anyRed(image, 162, 200, 389 - 220 - 13 + 5, 389 - 220 + 5));
}

TEST(KChartPainter, PricesOfAThousandOrMoreHaveOneDecimal) {
    for (const auto& [price, text] : {std::pair{999.994f, "999.99"}, {1000.0f, "1000.0"}})
        EXPECT_EQ(priceLabelText(price), text);
}

TEST(KChartPainter, ExtremeNumbersDrawWithoutTrouble) {
    KChartModel model(300, 300);
    model.setDataList(parseKSections(
        "h\n"
        "2024-01-06,1e39,1e39,1e39,1e39,1e39,0\n"  // beyond single precision: infinite
        "2024-01-05,3e38,3.4e38,1.5,3e38,3e38,0\n"
        "2024-01-04,0.002,0.003,1.0,0.002,-5,0\n"
        "2024-01-03,10,11,-3,10.5,1e9,0\n"
        "2024-01-02,10,11,9,10.5,nan,0\n"));
    ASSERT_EQ(model.dataList().size(), 5u);
    const QImage image = render(model);
    EXPECT_EQ(image.pixelColor(5, 5), QColor(Qt::black));
    model.setFocusDataIndex(2);
    EXPECT_TRUE(placeCrosshair(model, false, {0, 0}, {}));
}

TEST(KChartPainter, AveragesOfOlderHigherPricesStopAtTheTopOfThePriceArea) {
    // 19 columns fit: the ten days at 30 are out of view, but the first visible
    // days' averages still hold them, far above the visible range (9.5 to 11).
    std::vector<Day> days(10, Day{30, 30.5f, 29.5f, 30, 100});
    for (int i = 0; i < 19; ++i) days.push_back({10, 11, 9.5f, 10.5f, 100});
    KChartModel model(200, 390);
    model.setDataList(sections(days));
    ASSERT_EQ(model.visibleStart(), 10);
    ASSERT_GT(model.dataList()[11].ma5, 20);
    const QImage image = render(model);
    // The margin above the price area (image rows 0 to 38) stays black.
    for (int y = 0; y < 39; ++y)
        for (int x = 0; x < 160; ++x)
            ASSERT_EQ(image.pixelColor(x, y), QColor(Qt::black)) << x << "," << y;
    // Just below the top the line that comes down into view is drawn.
    bool drawn = false;
    for (int y = 40; y < 46; ++y)
        for (int x = 0; x < 160; ++x) drawn = drawn || near(image.pixelColor(x, y), colours::ma5());
    EXPECT_TRUE(drawn);
}
