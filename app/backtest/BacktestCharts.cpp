#include "backtest/BacktestCharts.h"

#include <QBarCategoryAxis>
#include <QBoxPlotSeries>
#include <QBoxSet>
#include <QChart>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QLineSeries>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

#include "backtest/BacktestTexts.h"
#include "common/ColourScheme.h"

namespace orvane::app {

using backtest::Grouping;
using backtest::Results;

namespace {

double quantile(const std::vector<float>& sorted, double q) {
    const double at = q * static_cast<double>(sorted.size() - 1);
    const auto below = static_cast<std::size_t>(std::floor(at));
    const std::size_t above = std::min(below + 1, sorted.size() - 1);
    return sorted[below] + (at - static_cast<double>(below)) * (sorted[above] - sorted[below]);
}

void clear(QChart& chart) {
    chart.removeAllSeries();
    for (QAbstractAxis* axis : chart.axes()) {
        chart.removeAxis(axis);
        delete axis;
    }
}

QDateTime dayTime(const std::string& day) {
    return QDateTime(QDate::fromString(QString::fromStdString(day), Qt::ISODate), QTime(12, 0));
}

QValueAxis* percentAxis(const QString& title) {
    auto* axis = new QValueAxis;
    axis->setTitleText(title);
    axis->setLabelFormat(QStringLiteral("%.1f%%"));
    return axis;
}

QString horizonTitle(const Results& r, std::size_t h) {
    return QStringLiteral("持有%1个交易日").arg(r.options.horizons[h]);
}

/// A group's line colour: rises in reds, falls in greens (as prices are
/// coloured), the rest apart from each other; the market's line is grey.
QColor lineColour(const backtest::GroupSummary& g, std::size_t index) {
    if (g.grouping == Grouping::Trend) {
        switch (std::stoi(g.key)) {
            case 1000:
                return {214, 39, 40};
            case 1001:
                return {148, 0, 110};
            case 1:
                return {255, 127, 14};
            case 3:
                return {31, 119, 180};
            case 0:
                return {140, 86, 75};
            case 2:
                return {44, 160, 44};
            case -1:
                return {0, 100, 60};
            default:
                break;
        }
    }
    static const QColor colours[] = {{214, 39, 40},   {31, 119, 180}, {255, 127, 14},
                                     {148, 103, 189}, {44, 160, 44},  {140, 86, 75}};
    return colours[index % std::size(colours)];
}

}  // namespace

BoxFigures boxFigures(std::vector<float> values) {
    BoxFigures box;
    box.count = values.size();
    if (values.empty()) return box;
    std::sort(values.begin(), values.end());
    box.low = quantile(values, 0.05);
    box.lowerQuartile = quantile(values, 0.25);
    box.median = quantile(values, 0.5);
    box.upperQuartile = quantile(values, 0.75);
    box.high = quantile(values, 0.95);
    return box;
}

void drawCumulativeExcess(QChart& chart, const Results& r, Grouping grouping, std::size_t h) {
    clear(chart);
    if (r.days.empty() || h >= r.options.horizons.size()) return;
    if (grouping == Grouping::Month) grouping = Grouping::All;
    auto* dates = new QDateTimeAxis;
    dates->setFormat(QStringLiteral("yyyy-MM-dd"));
    dates->setTitleText(QStringLiteral("信号日"));
    dates->setRange(dayTime(r.options.from), dayTime(r.options.to));
    dates->setTickCount(7);
    auto* excess = percentAxis(QStringLiteral("累计超额收益（%）"));
    chart.addAxis(dates, Qt::AlignBottom);
    chart.addAxis(excess, Qt::AlignLeft);
    auto add = [&](QLineSeries* series) {
        chart.addSeries(series);
        series->attachAxis(dates);
        series->attachAxis(excess);
    };

    auto* market = new QLineSeries;
    market->setName(QStringLiteral("市场基准（等权，超额为 0）"));
    market->append(double(dayTime(r.options.from).toMSecsSinceEpoch()), 0);
    market->append(double(dayTime(r.options.to).toMSecsSinceEpoch()), 0);
    QPen dashed(QColor(110, 110, 110), 1.5, Qt::DashLine);
    market->setPen(dashed);
    add(market);

    // Every signal day the group's signals bought with 1/h of the money and
    // held h days: the running sum of the days' mean excess, over h.
    const double horizon = r.options.horizons[h];
    double lowest = 0, highest = 0;
    std::size_t drawn = 0;
    for (const backtest::GroupSummary& g : r.groups) {
        if (g.grouping != grouping) continue;
        const auto points = backtest::cumulativeExcess(g, h);
        if (points.empty()) continue;  // no complete horizon: nothing to draw
        auto* line = new QLineSeries;
        line->setName(QString::fromStdString(groupLabel(g.grouping, g.key)));
        line->setPen(QPen(lineColour(g, drawn++), 2));
        for (const auto& [day, sum] : points) {
            const double percent = sum / horizon * 100;
            line->append(double(dayTime(r.days[day]).toMSecsSinceEpoch()), percent);
            lowest = std::min(lowest, percent);
            highest = std::max(highest, percent);
        }
        add(line);
    }
    const double margin = std::max(1.0, (highest - lowest) * 0.05);
    excess->setRange(lowest - margin, highest + margin);
    excess->applyNiceNumbers();
    chart.setTitle(QStringLiteral("各组信号相对市场的累计超额收益（每天买入当日信号，各投 1/%1 "
                                  "资金，%2）")
                       .arg(r.options.horizons[h])
                       .arg(horizonTitle(r, h)));
}

void drawTrendDistribution(QChart& chart, const Results& r, std::size_t h) {
    clear(chart);
    if (h >= r.options.horizons.size()) return;
    auto byTrend = backtest::returnsByGroup(r, Grouping::Trend, h);
    std::vector<std::pair<int, std::vector<float>*>> ordered;
    for (auto& [key, values] : byTrend) ordered.emplace_back(std::stoi(key), &values);
    std::sort(ordered.begin(), ordered.end());

    auto* boxes = new QBoxPlotSeries;
    boxes->setName(QStringLiteral("箱体：四分位；中线：中位数；须线：5%–95%"));
    QStringList categories;
    for (auto& [trend, values] : ordered) {
        const BoxFigures f = boxFigures(std::move(*values));
        const QString label = QString::fromUtf8(trendName(trend));
        categories << label;
        boxes->append(new QBoxSet(f.low * 100, f.lowerQuartile * 100, f.median * 100,
                                  f.upperQuartile * 100, f.high * 100, label));
    }
    boxes->setBrush(QColor(232, 65, 60, 110));
    chart.addSeries(boxes);
    auto* trends = new QBarCategoryAxis;
    trends->append(categories);
    trends->setTitleText(QStringLiteral("信号日的趋势判断"));
    auto* returns = percentAxis(QStringLiteral("%1日收益（%）").arg(r.options.horizons[h]));
    chart.addAxis(trends, Qt::AlignBottom);
    chart.addAxis(returns, Qt::AlignLeft);
    boxes->attachAxis(trends);
    boxes->attachAxis(returns);
    returns->applyNiceNumbers();
    chart.setTitle(
        QStringLiteral("各趋势信号的收益分布（%1，不含未满期的信号）").arg(horizonTitle(r, h)));
}

void colourChartForScheme(QChart& chart) {
    const bool dark = shownColourScheme() == ColourScheme::Dark;
    const QColor background = dark ? QColor(30, 30, 32) : QColor(Qt::white);
    const QColor text = dark ? QColor(230, 230, 230) : QColor(Qt::black);
    const QColor grid = dark ? QColor(70, 70, 74) : QColor(220, 220, 220);
    chart.setBackgroundBrush(background);
    chart.setTitleBrush(text);
    chart.legend()->setLabelColor(text);
    for (QAbstractAxis* axis : chart.axes()) {
        axis->setLabelsColor(text);
        axis->setTitleBrush(text);
        axis->setGridLineColor(grid);
        axis->setLinePenColor(grid);
    }
}

}  // namespace orvane::app
