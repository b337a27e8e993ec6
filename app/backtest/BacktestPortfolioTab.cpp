#include "backtest/BacktestPortfolioTab.h"

#include <QAreaSeries>
#include <QChart>
#include <QChartView>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QGraphicsLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineSeries>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QValueAxis>
#include <cmath>

#include "backtest/BacktestCharts.h"
#include "backtest/BacktestTexts.h"
#include "common/DisplayText.h"
#include "common/FigureColours.h"
#include "orvane/backtest/Backtest.h"
#include "orvane/backtest/Portfolio.h"
#include "orvane/core/NumberText.h"

namespace orvane::app {

using namespace orvane::backtest;

namespace {

QDateTime dayTime(const std::string& day) {
    return QDateTime(QDate::fromString(QString::fromStdString(day), Qt::ISODate), QTime(12, 0));
}

void clear(QChart& chart) {
    chart.removeAllSeries();
    for (QAbstractAxis* axis : chart.axes()) {
        chart.removeAxis(axis);
        delete axis;
    }
}

QChartView* viewOf(QChart* chart) {
    chart->setMargins(QMargins(2, 2, 2, 2));
    chart->setBackgroundRoundness(0);
    chart->layout()->setContentsMargins(0, 0, 0, 0);
    auto* view = new QChartView(chart);
    view->setRenderHint(QPainter::Antialiasing);
    return view;
}

QString exitText(ExitReason reason) {
    switch (reason) {
        case ExitReason::Hold:
            return QStringLiteral("到期卖出");
        case ExitReason::StopLoss:
            return QStringLiteral("止损");
        case ExitReason::TakeProfit:
            return QStringLiteral("止盈");
        case ExitReason::OpenAtEnd:
            return QStringLiteral("期末持有");
    }
    return {};
}

std::string figure(double value, const char* form, double scale = 1) {
    return std::isnan(value) ? "-" : withoutSignOnZero(format(form, value * scale));
}

// The two series of one figure, portfolio and market, as a table row.
QString figureRow(const QString& name, const std::string& mine, const std::string& market) {
    return QStringLiteral("<tr><td>%1</td><td align=right>%2</td><td align=right>%3</td></tr>")
        .arg(name, qs(mine), qs(market));
}

QString figuresTable(const Results& r, const PortfolioRun& run) {
    const PortfolioFigures& p = run.figures;
    const PortfolioFigures& m = run.market;
    // The largest drawdown's days, the trough's year only when not the peak's.
    auto span = [&](const PortfolioFigures& f) {
        if (std::isnan(f.maxDrawdown) || f.maxDrawdown == 0) return std::string("-");
        const std::string& from = r.days[f.peakDay];
        const std::string& to = r.days[f.troughDay];
        return from + " 至 " + (to.substr(0, 4) == from.substr(0, 4) ? to.substr(5) : to);
    };
    QString html = QStringLiteral(
        "<table cellspacing=0 cellpadding=2><tr><th></th><th align=right>组合</th>"
        "<th align=right>全市场等权</th></tr>");
    auto percentRow = [&](const char* name, double mine, double market, const char* form) {
        html +=
            figureRow(QString::fromUtf8(name), figure(mine, form, 100), figure(market, form, 100));
    };
    percentRow("总收益", p.totalReturn, m.totalReturn, "%+.2f%%");
    percentRow("年化收益", p.annualReturn, m.annualReturn, "%+.2f%%");
    percentRow("年化波动", p.volatility, m.volatility, "%.2f%%");
    html +=
        figureRow(QStringLiteral("夏普比率"), figure(p.sharpe, "%.2f"), figure(m.sharpe, "%.2f"));
    percentRow("最大回撤", p.maxDrawdown, m.maxDrawdown, "%.2f%%");
    html += figureRow(QStringLiteral("回撤起止"), span(p), span(m));
    html +=
        figureRow(QStringLiteral("卡玛比率"), figure(p.calmar, "%.2f"), figure(m.calmar, "%.2f"));
    html += figureRow(QStringLiteral("胜率"), figure(p.winRate, "%.1f%%", 100), "-");
    html += figureRow(QStringLiteral("平均持有天数"), figure(p.meanHoldingDays, "%.1f"), "-");
    html += figureRow(QStringLiteral("年换手率"), figure(p.turnover, "%.1f 倍"), "-");
    return html + QStringLiteral("</table>");
}

QString countsText(const PortfolioRun& run) {
    return QStringLiteral(
               "%1 笔交易；未买入的信号：%2 个无空仓位，%3 个不能买（已持有、停牌或开盘涨停），"
               "%4 个资金不够一手；%5 笔卖出因停牌或跌停顺延。年化按每年 242 个交易日。")
        .arg(run.trades.size())
        .arg(run.noSlot)
        .arg(run.notBuyable)
        .arg(run.noCash)
        .arg(run.delayedSales);
}

}  // namespace

BacktestPortfolioTab::BacktestPortfolioTab(TradeChart openChart, QWidget* parent)
    : QWidget(parent),
      openChart_(std::move(openChart)),
      caption_(new QLabel(this)),
      figures_(new QLabel(this)),
      counts_(new QLabel(this)),
      equity_(new QChart),
      drawdown_(new QChart),
      trades_(new QTableWidget(this)),
      run_(std::make_unique<PortfolioRun>()) {
    caption_->setWordWrap(true);
    counts_->setWordWrap(true);
    figures_->setTextFormat(Qt::RichText);
    figures_->setWordWrap(true);
    figures_->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    equity_->legend()->setAlignment(Qt::AlignTop);
    drawdown_->legend()->hide();
    colourChartForScheme(*equity_);
    colourChartForScheme(*drawdown_);
    auto* drawdownView = viewOf(drawdown_);
    drawdownView->setMinimumHeight(110);
    drawdownView->setMaximumHeight(150);

    trades_->setColumnCount(9);
    trades_->setHorizontalHeaderLabels(
        {QStringLiteral("代码"), QStringLiteral("名称"), QStringLiteral("买入日"),
         QStringLiteral("买入价"), QStringLiteral("卖出日"), QStringLiteral("卖出价"),
         QStringLiteral("股数"), QStringLiteral("扣费收益"), QStringLiteral("卖出原因")});
    trades_->verticalHeader()->hide();
    trades_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    trades_->setSelectionBehavior(QAbstractItemView::SelectRows);
    trades_->setSelectionMode(QAbstractItemView::SingleSelection);
    trades_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    connect(trades_, &QTableWidget::cellDoubleClicked, this, [this](int row, int) {
        if (!results_ || row < 0 || row >= static_cast<int>(run_->trades.size())) return;
        const Trade& t = run_->trades[static_cast<std::size_t>(row)];
        if (openChart_) openChart_(t.stock, t.entryDay, t.exitDay);
    });

    auto* top = new QWidget;
    auto* topLayout = new QHBoxLayout(top);
    topLayout->setContentsMargins(0, 0, 0, 0);
    auto* curves = new QWidget;
    auto* curvesLayout = new QVBoxLayout(curves);
    curvesLayout->setContentsMargins(0, 0, 0, 0);
    curvesLayout->setSpacing(0);
    curvesLayout->addWidget(viewOf(equity_), 1);
    curvesLayout->addWidget(drawdownView);
    topLayout->addWidget(curves, 3);
    topLayout->addWidget(figures_, 2);
    auto* split = new QSplitter(Qt::Vertical);
    split->addWidget(top);
    auto* bottom = new QWidget;
    auto* bottomLayout = new QVBoxLayout(bottom);
    bottomLayout->setContentsMargins(0, 0, 0, 0);
    bottomLayout->addWidget(counts_);
    bottomLayout->addWidget(trades_, 1);
    split->addWidget(bottom);
    split->setSizes({330, 170});
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(caption_);
    layout->addWidget(split, 1);
}

BacktestPortfolioTab::~BacktestPortfolioTab() = default;

std::size_t BacktestPortfolioTab::equityDays() const {
    return run_->equity.size();
}

double BacktestPortfolioTab::startingValue() const {
    return run_->equity.empty() ? 0 : run_->equity.front().net;
}

std::size_t BacktestPortfolioTab::tradeCount() const {
    return run_->trades.size();
}

QChart& BacktestPortfolioTab::equityChart() const {
    return *equity_;
}

void BacktestPortfolioTab::show(std::shared_ptr<const Results> results, Grouping grouping,
                                const std::string& key, int hold) {
    results_ = std::move(results);
    *run_ = {};
    clear(*equity_);
    clear(*drawdown_);
    trades_->setRowCount(0);
    if (!results_ || !results_->prices || results_->baseline.size() < 2) {
        caption_->setText(QStringLiteral("运行回测后，这里显示买入所选分组信号的组合。"));
        figures_->clear();
        counts_->clear();
        return;
    }
    const Results& r = *results_;
    PortfolioOptions options;
    options.hold = hold;
    const auto candidates = candidatesByDay(r, [&](const Signal& s) {
        return grouping == Grouping::All || groupKey(r, s, grouping) == key;
    });
    *run_ = runPortfolio(r, candidates, options);
    caption_->setText(
        QStringLiteral("“%1”的信号：每天按评分从高到低，在下一个交易日开盘买入；100 万元分成 %2 "
                       "份，每份按买入时的净值计，一手 100 股，扣除交易成本；持有 %3 个交易日后"
                       "收盘卖出（T+1，停牌、跌停顺延）。双击一笔交易，打开这只股票的日K线。")
            .arg(qs(groupLabel(grouping, key)))
            .arg(options.slots)
            .arg(hold));

    auto* dates = new QDateTimeAxis;
    dates->setFormat(QStringLiteral("yyyy-MM-dd"));
    dates->setRange(dayTime(r.days[run_->equity.front().day]),
                    dayTime(r.days[run_->equity.back().day]));
    dates->setTickCount(5);
    dates->setLabelsVisible(false);  // the drawdown's dates below serve both
    auto* yuan = new QValueAxis;
    yuan->setTitleText(QStringLiteral("万元"));
    yuan->setLabelFormat(QStringLiteral("%.0f"));
    auto* mine = new QLineSeries;
    mine->setName(QStringLiteral("组合"));
    mine->setPen(QPen(QColor(214, 39, 40), 1.6));
    auto* market = new QLineSeries;
    market->setName(QStringLiteral("全市场等权"));
    market->setPen(QPen(QColor(128, 128, 128), 1.2));
    auto* depth = new QLineSeries;
    auto* zero = new QLineSeries;
    double peak = 0, low = 1e300, high = 0, deepest = 0;
    for (const EquityDay& e : run_->equity) {
        const double when = static_cast<double>(dayTime(r.days[e.day]).toMSecsSinceEpoch());
        mine->append(when, e.net / 1e4);
        market->append(when, e.market / 1e4);
        low = std::min({low, e.net, e.market});
        high = std::max({high, e.net, e.market});
        peak = std::max(peak, e.net);
        const double down = (e.net / peak - 1) * 100;
        deepest = std::min(deepest, down);
        depth->append(when, down);
        zero->append(when, 0);
    }
    equity_->addAxis(dates, Qt::AlignBottom);
    equity_->addAxis(yuan, Qt::AlignLeft);
    for (QLineSeries* s : {market, mine}) {
        equity_->addSeries(s);
        s->attachAxis(dates);
        s->attachAxis(yuan);
    }
    yuan->setRange(low / 1e4 * 0.98, high / 1e4 * 1.02);

    auto* area = new QAreaSeries(zero, depth);
    area->setColor(QColor(44, 160, 44, 110));
    area->setBorderColor(QColor(44, 160, 44));
    auto* downDates = new QDateTimeAxis;
    downDates->setFormat(QStringLiteral("yyyy-MM-dd"));
    downDates->setRange(dates->min(), dates->max());
    downDates->setTickCount(5);
    auto* downAxis = new QValueAxis;
    downAxis->setTitleText(QStringLiteral("回撤%"));
    downAxis->setLabelFormat(QStringLiteral("%.0f"));
    downAxis->setTickCount(3);
    downAxis->setRange(std::min(deepest * 1.1, -1.0), 0);
    drawdown_->addAxis(downDates, Qt::AlignBottom);
    drawdown_->addAxis(downAxis, Qt::AlignLeft);
    drawdown_->addSeries(area);
    area->attachAxis(downDates);
    area->attachAxis(downAxis);
    colourChartForScheme(*equity_);
    colourChartForScheme(*drawdown_);

    figures_->setText(figuresTable(r, *run_));
    counts_->setText(countsText(*run_));
    showTrades();
}

void BacktestPortfolioTab::changeEvent(QEvent* event) {
    if (event->type() == QEvent::PaletteChange) {
        colourChartForScheme(*equity_);
        colourChartForScheme(*drawdown_);
    }
    QWidget::changeEvent(event);
}

void BacktestPortfolioTab::showTrades() {
    const Results& r = *results_;
    trades_->setRowCount(static_cast<int>(run_->trades.size()));
    int row = 0;
    for (const Trade& t : run_->trades) {
        const QString cells[] = {
            qs(r.stocks[t.stock].code),
            qs(r.stocks[t.stock].name),
            qs(r.days[t.entryDay]),
            qs(format("%.2f", t.entryPrice)),
            qs(r.days[t.exitDay]),
            qs(format("%.2f", t.exitPrice)),
            QString::number(t.shares),
            qs(percentText(t.ret, true)),
            exitText(t.reason) + (t.delayed ? QStringLiteral("（顺延）") : QString())};
        for (int column = 0; column < static_cast<int>(std::size(cells)); ++column) {
            auto* item = new QTableWidgetItem(cells[column]);
            if (column >= 3 && column <= 7)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            if (column == 7) item->setForeground(figureColour(t.ret));
            trades_->setItem(row, column, item);
        }
        ++row;
    }
}

}  // namespace orvane::app
