// Chart speed: a full redraw of 1,000 visible candles and of their date axis, the whole
// picture a view keeps (chart, indicator panel, date axis) at 1,000 candles,
// one crosshair move (pointer event in, child widgets placed), the weekly
// candles and indicators of 1,200 days, and loading an 891-day history file.
// Runs on Qt's offscreen platform.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "orvane/chart/KBaseView.h"
#include "orvane/chart/KChartPainter.h"
#include "orvane/chart/KDateAxisPainter.h"
#include "orvane/chart/KHistoryLoader.h"
#include "orvane/chart/KIndicatorPainter.h"
#include "orvane/chart/KIndicatorPanel.h"

using namespace orvane::chart;

namespace {

// A history text of `days` days, newest first, prices wandering around 10.
std::string syntheticHistory(int days) {
    std::string text = "Date,Open,High,Low,Close,Volume,Adj Close\n";
    unsigned seed = 12345;
    auto next = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return static_cast<float>((seed >> 16) & 0x7fff) / 32768.0f;
    };
    float close = 10;
    std::vector<std::string> lines;
    for (int i = 0; i < days; ++i) {
        const float open = close * (0.98f + 0.04f * next());
        close = open * (0.97f + 0.06f * next());
        const float high = std::max(open, close) * (1 + 0.02f * next());
        const float low = std::min(open, close) * (1 - 0.02f * next());
        char line[128];
        std::snprintf(line, sizeof line, "%04d-%02d-%02d,%.2f,%.2f,%.2f,%.2f,%.0f,%.2f\n",
                      2000 + i / 336, i / 28 % 12 + 1, i % 28 + 1, open, high, low, close,
                      500000 + 1000000 * next(), close);
        lines.emplace_back(line);
    }
    for (auto it = lines.rbegin(); it != lines.rend(); ++it) text += *it;
    return text;
}

// 2,540 pixels at zoom 0.5 (1-pixel candles) fit exactly 1,000 columns.
KChartModel thousandCandles() {
    KChartModel model(2540, 600);
    model.setZoomLevel(0.5f);
    model.setDataList(parseKSections(syntheticHistory(1200)));
    return model;
}

void BM_FullRedraw1000Candles(benchmark::State& state) {
    KChartModel model = thousandCandles();
    if (model.visibleCount() != 1000) state.SkipWithError("not 1000 visible candles");
    QImage image(2540, 600, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        QPainter painter(&image);
        KChartPainter(painter, model).drawRect();
    }
}
BENCHMARK(BM_FullRedraw1000Candles)->Unit(benchmark::kMillisecond);

// What a view draws when its picture is stale: the chart, the indicator panel
// under it and the date axis, 1,000 candles each.
void fullPicture(benchmark::State& state, KIndicator indicator) {
    KChartModel model = thousandCandles();
    model.setIndicator(indicator);
    if (model.visibleCount() != 1000) state.SkipWithError("not 1000 visible candles");
    const int below = static_cast<int>(kIndicatorPanelHeight) + kDateAxisHeight;
    QImage image(2540, 600 + below, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        QPainter painter(&image);
        KChartPainter(painter, model).drawRect();
        drawIndicatorPanel(painter, model, QRectF(0, 600, 2540, kIndicatorPanelHeight));
        drawDateAxis(painter, model, QRectF(0, 600 + kIndicatorPanelHeight, 2540, kDateAxisHeight));
    }
}

void BM_FullRedrawWithMacdPanel1000Candles(benchmark::State& state) {
    fullPicture(state, KIndicator::MACD);
}
BENCHMARK(BM_FullRedrawWithMacdPanel1000Candles)->Unit(benchmark::kMillisecond);

void BM_FullRedrawWithKdjPanel1000Candles(benchmark::State& state) {
    fullPicture(state, KIndicator::KDJ);
}
BENCHMARK(BM_FullRedrawWithKdjPanel1000Candles)->Unit(benchmark::kMillisecond);

// Switching to weeks: 1,200 days made into weekly candles with their indicators.
void BM_WeeklyCandlesOf1200Days(benchmark::State& state) {
    KChartModel model(2540, 600);
    model.setDataList(parseKSections(syntheticHistory(1200)));
    for (auto _ : state) {
        model.setPeriod(KPeriod::Week);
        model.setPeriod(KPeriod::Day);
    }
}
BENCHMARK(BM_WeeklyCandlesOf1200Days)->Unit(benchmark::kMicrosecond);

// The date axis under 1,000 candles: the labels chosen and drawn.
void BM_DateAxis1000Candles(benchmark::State& state) {
    KChartModel model = thousandCandles();
    QImage image(2540, 18, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        QPainter painter(&image);
        drawDateAxis(painter, model, QRectF(0, 0, 2540, 18));
    }
}
BENCHMARK(BM_DateAxis1000Candles)->Unit(benchmark::kMicrosecond);

// The same view without days: background, separators, price lines and labels.
void BM_FullRedrawEmpty(benchmark::State& state) {
    KChartModel model(2540, 600);
    QImage image(2540, 600, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        QPainter painter(&image);
        KChartPainter(painter, model).drawRect();
    }
}
BENCHMARK(BM_FullRedrawEmpty)->Unit(benchmark::kMillisecond);

void BM_FullRedrawDefaultZoom(benchmark::State& state) {
    KChartModel model(1000, 600);  // 113 candles, 7 pixels wide
    model.setDataList(parseKSections(syntheticHistory(891)));
    QImage image(1000, 600, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        QPainter painter(&image);
        KChartPainter(painter, model).drawRect();
    }
}
BENCHMARK(BM_FullRedrawDefaultZoom)->Unit(benchmark::kMillisecond);

// One pointer move: the event in, the crosshair's child widgets placed. The
// screen update that follows (uncovered strips copied from the kept chart
// picture, the moved children painted) is flushed outside the timing here and
// measured by BM_CrosshairMoveAndRepaint.
void crosshairMoves(benchmark::State& state, bool timeRepaint) {
    // The chart 600 high above the indicator panel and the date axis.
    KBaseView view(
        QRect(0, 0, 2540, 600 + static_cast<int>(kIndicatorPanelHeight) + kDateAxisHeight));
    view.setZoomLevel(0.5f);
    view.model().setDataList(parseKSections(syntheticHistory(1200)));
    view.show();
    QApplication::processEvents();
    int column = 0;
    for (auto _ : state) {
        // Across the columns, alternately over the prices and the volume band.
        const QPointF at(2.5 * column + 0.5, column % 2 ? 300 : 550);
        column = (column + 37) % 1000;
        QMouseEvent move(QEvent::MouseMove, at, view.mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(&view, &move);
        if (!timeRepaint) state.PauseTiming();
        QApplication::processEvents();
        if (!timeRepaint) state.ResumeTiming();
    }
    if (view.chartDrawCount() != 1) state.SkipWithError("the chart was redrawn");
}

void BM_CrosshairMove(benchmark::State& state) {
    crosshairMoves(state, false);
}
BENCHMARK(BM_CrosshairMove)->Unit(benchmark::kMicrosecond);

void BM_CrosshairMoveAndRepaint(benchmark::State& state) {
    crosshairMoves(state, true);
}
BENCHMARK(BM_CrosshairMoveAndRepaint)->Unit(benchmark::kMicrosecond);

void BM_Load891DayFile(benchmark::State& state) {
    const auto path = std::filesystem::temp_directory_path() / "orvane-bench-891.txt";
    std::ofstream(path) << syntheticHistory(891);
    for (auto _ : state) {
        auto days = loadKSections(path);
        benchmark::DoNotOptimize(days);
    }
    std::filesystem::remove(path);
}
BENCHMARK(BM_Load891DayFile)->Unit(benchmark::kMicrosecond);

// A real history file named by $ORVANE_BENCH_HISTORY, when set.
void BM_LoadGivenFile(benchmark::State& state) {
    const char* path = std::getenv("ORVANE_BENCH_HISTORY");
    if (!path) {
        state.SkipWithError("ORVANE_BENCH_HISTORY not set");
        return;
    }
    std::size_t days = 0;
    for (auto _ : state) {
        auto list = loadKSections(path);
        days = list.size();
        benchmark::DoNotOptimize(list);
    }
    state.counters["days"] = static_cast<double>(days);
}
BENCHMARK(BM_LoadGivenFile)->Unit(benchmark::kMicrosecond);

}  // namespace
