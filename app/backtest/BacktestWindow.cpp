#include "backtest/BacktestWindow.h"

#include <QChartView>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileDialog>
#include <QHeaderView>
#include <QStandardPaths>
#include <QTimer>
#include <algorithm>

#include "backtest/BacktestCharts.h"
#include "backtest/BacktestJob.h"
#include "backtest/BacktestPortfolioTab.h"
#include "backtest/BacktestSignalModel.h"
#include "backtest/BacktestSummaryModel.h"
#include "backtest/BacktestTexts.h"
#include "backtest/ChartAtDate.h"
#include "mainwindow/WidgetColours.h"
#include "orvane/core/AtomicFile.h"
#include "orvane/core/DataDirectory.h"
#include "orvane/market/SectorGroups.h"
#include "orvane/market/StockRuleBook.h"
#include "ui_BacktestWindow.h"

namespace orvane::app {

namespace fs = std::filesystem;
using backtest::Grouping;

namespace {

/// How many trading days after a signal its chart shows at most: the chart
/// shows the newest days, so the signal's day must not be pushed off it.
constexpr int kChartDaysAfterSignal = 40;
constexpr int kProgressEveryMs = 100;

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

fs::path pathOf(const QLineEdit& field) {
    return fs::path(field.text().trimmed().toStdString());
}

QChart& chartOf(QChartView& view) {
    return *view.chart();
}

void setUpChartView(QChartView& view) {
    view.setRenderHint(QPainter::Antialiasing);
    QChart& chart = chartOf(view);
    chart.legend()->setAlignment(Qt::AlignBottom);
    QFont title = chart.titleFont();
    title.setPointSize(11);
    title.setBold(true);
    chart.setTitleFont(title);
    chart.setMargins(QMargins(4, 4, 4, 4));
}

/// The options the controls give, or why they give none.
std::optional<backtest::Options> chosenOptions(const Ui::BacktestWindow& ui, int minimumHistory,
                                               QString& why) {
    backtest::Options o;
    o.horizons.clear();
    for (const auto& [box, days] : {std::pair{ui.horizon1Check, 1},
                                    {ui.horizon5Check, 5},
                                    {ui.horizon10Check, 10},
                                    {ui.horizon20Check, 20},
                                    {ui.horizon60Check, 60}})
        if (box->isChecked()) o.horizons.push_back(days);
    const int other = ui.otherHorizonSpin->value();
    if (other > 0 && std::find(o.horizons.begin(), o.horizons.end(), other) == o.horizons.end())
        o.horizons.push_back(other);
    std::sort(o.horizons.begin(), o.horizons.end());
    if (o.horizons.empty()) {
        why = QStringLiteral("请至少选一个持有天数。");
        return std::nullopt;
    }
    if (!ui.wholeRangeCheck->isChecked()) {
        if (ui.fromDateEdit->date() > ui.toDateEdit->date()) {
            why = QStringLiteral("开始日期晚于结束日期。");
            return std::nullopt;
        }
        o.from = ui.fromDateEdit->date().toString(Qt::ISODate).toStdString();
        o.to = ui.toDateEdit->date().toString(Qt::ISODate).toStdString();
    }
    o.entry = ui.entryCombo->currentIndex() == 1 ? backtest::EntryPrice::SignalClose
                                                 : backtest::EntryPrice::NextOpen;
    o.tradableOnly = ui.tradableOnlyCheck->isChecked();
    if (const std::string rule = ui.ruleCombo->currentText().trimmed().toStdString();
        !rule.empty()) {
        auto chosen = chooseRule(rule, readRuleBook().rules);
        if (const auto* bad = std::get_if<std::string>(&chosen)) {
            why = QStringLiteral("选股规则有误：") + qs(*bad);
            return std::nullopt;
        }
        auto& c = std::get<ChosenRule>(chosen);
        o.rule =
            backtest::RuleChoice{std::move(c.name), std::move(c.rule), &SectorGroups::shared()};
    }
    if (minimumHistory > 0) o.minHistory = minimumHistory;
    if (auto bad = backtest::checkOptions(o)) {
        why = QStringLiteral("回测条件有误：") + qs(*bad);
        return std::nullopt;
    }
    return o;
}

}  // namespace

BacktestWindow::BacktestWindow(ChartWindow charts, QWidget* parent)
    : QWidget(parent),
      ui_(std::make_unique<Ui::BacktestWindow>()),
      charts_(std::move(charts)),
      summary_(new BacktestSummaryModel(this)),
      signals_(new BacktestSignalModel(this)),
      portfolio_(new BacktestPortfolioTab(
          [this](std::uint32_t stock, std::uint32_t entryDay, std::uint32_t exitDay) {
              openChartAt(stock, entryDay, exitDay + 5);
          })),
      progressTimer_(new QTimer(this)),
      job_(std::make_unique<BacktestJob>()) {
    ui_->setupUi(this);
    setWindowFlag(Qt::Window);
    setUpControls();
    setUpChartView(*ui_->excessChart);
    setUpChartView(*ui_->distributionChart);
    colourChartForScheme(excessChart());
    colourChartForScheme(distributionChart());
    connect(progressTimer_, &QTimer::timeout, this, &BacktestWindow::showProgress);
    // Quitting the program ends a run before the windows go.
    connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this,
            &BacktestWindow::stopAndWait);
}

BacktestWindow::~BacktestWindow() {
    job_->stopAndWait();
}

BacktestWindow& BacktestWindow::showFor(QWidget& owner, ChartWindow charts) {
    auto* window = owner.findChild<BacktestWindow*>(QString(), Qt::FindDirectChildrenOnly);
    if (!window) window = new BacktestWindow(std::move(charts), &owner);
    window->show();
    window->raise();
    window->activateWindow();
    return *window;
}

fs::path BacktestWindow::demoTree() {
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    return fs::path(cache.toStdString()) / "Orvane" / "demo-tree";
}

QChart& BacktestWindow::excessChart() const {
    return chartOf(*ui_->excessChart);
}

QChart& BacktestWindow::distributionChart() const {
    return chartOf(*ui_->distributionChart);
}

void BacktestWindow::setUpControls() {
    Ui::BacktestWindow& ui = *ui_;
    setTextColour(ui.messageLabel, toPlainQColor(colours::refusalRed));
    setTextColour(ui.pastResultsNotice, toPlainQColor(colours::cautionRed));
    std::error_code ec;
    if (fs::is_directory(demoTree(), ec)) ui.treeFolderField->setText(qs(demoTree().string()));
    const QDate today = QDate::currentDate();
    ui.fromDateEdit->setDate(today.addYears(-1));
    ui.toDateEdit->setDate(today);
    connect(ui.wholeRangeCheck, &QCheckBox::toggled, this, [this](bool whole) {
        ui_->fromDateEdit->setEnabled(!whole);
        ui_->toDateEdit->setEnabled(!whole);
    });
    auto sourceFields = [this] {
        const bool csv = ui_->csvSourceRadio->isChecked();
        ui_->treeFolderField->setEnabled(!csv);
        ui_->chooseTreeFolderButton->setEnabled(!csv);
        for (QWidget* w :
             std::initializer_list<QWidget*>{ui_->csvFolderField, ui_->chooseCsvFolderButton,
                                             ui_->stockListField, ui_->chooseStockListButton})
            w->setEnabled(csv);
    };
    connect(ui.csvSourceRadio, &QRadioButton::toggled, this, sourceFields);
    sourceFields();
    connect(ui.chooseTreeFolderButton, &QToolButton::clicked, this,
            [this] { chooseFolder(ui_->treeFolderField, QStringLiteral("选择已发布的行情目录")); });
    connect(ui.chooseCsvFolderButton, &QToolButton::clicked, this,
            [this] { chooseFolder(ui_->csvFolderField, QStringLiteral("选择日线 CSV 目录")); });
    connect(ui.chooseStockListButton, &QToolButton::clicked, this, [this] {
        const QString file = QFileDialog::getOpenFileName(
            this, QStringLiteral("选择股票列表"), ui_->stockListField->text(),
            QStringLiteral("CSV 文件 (*.csv);;所有文件 (*)"));
        if (!file.isEmpty()) ui_->stockListField->setText(file);
    });

    for (Grouping g : {Grouping::Trend, Grouping::ModelB, Grouping::ScoreBand, Grouping::Month,
                       Grouping::All, Grouping::Rule})
        ui.groupingCombo->addItem(qs(groupingName(g)), int(g));
    ui.ruleCombo->addItem(QString());
    for (const NamedRule& r : readRuleBook().rules) ui.ruleCombo->addItem(qs(r.name));
    connect(ui.groupingCombo, &QComboBox::currentIndexChanged, this, &BacktestWindow::showResults);
    connect(ui.horizonCombo, &QComboBox::currentIndexChanged, this, &BacktestWindow::showResults);

    ui.summaryTable->setModel(summary_);
    ui.summaryTable->verticalHeader()->hide();
    ui.summaryTable->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    ui.summaryTable->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    ui.summaryTable->horizontalHeader()->setSectionResizeMode(BacktestSummaryModel::ExcessInterval,
                                                              QHeaderView::ResizeToContents);
    ui.summaryTable->horizontalHeader()->setSortIndicator(0, Qt::AscendingOrder);
    connect(ui.summaryTable->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { showGroupSignals(current.row()); });
    connect(ui.summaryTable, &QTableView::doubleClicked, this,
            [this] { ui_->resultTabs->setCurrentWidget(ui_->signalsTab); });

    ui.signalsTable->setModel(signals_);
    ui.signalsTable->verticalHeader()->hide();
    ui.signalsTable->horizontalHeader()->setSortIndicator(0, Qt::AscendingOrder);
    ui.signalsTable->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    // Date, code, name, trend, score, model B, entry, price, return, excess, drawdown.
    const int widths[] = {92, 64, 84, 84, 48, 50, 84, 64, 78, 78, 78};
    for (int column = 0; column < int(std::size(widths)); ++column)
        ui.signalsTable->setColumnWidth(column, widths[column]);
    connect(ui.signalsTable, &QTableView::doubleClicked, this,
            [this](const QModelIndex& index) { openSignalChart(index.row()); });
    ui.resultTabs->addTab(portfolio_, QStringLiteral("组合"));
    ui.resultsSplitter->setSizes({240, 420});

    connect(ui.startButton, &QPushButton::clicked, this, &BacktestWindow::start);
    connect(ui.stopButton, &QPushButton::clicked, this, &BacktestWindow::stop);
}

bool BacktestWindow::chooseMarket(BacktestMarket& market, QString& why) const {
    market = {};
    if (ui_->csvSourceRadio->isChecked()) {
        market.csvDir = pathOf(*ui_->csvFolderField);
        market.stockList = pathOf(*ui_->stockListField);
        if (market.csvDir.empty() || market.stockList.empty()) {
            why = QStringLiteral("请选择日线 CSV 目录和股票列表文件。");
            return false;
        }
    } else {
        market.tree = pathOf(*ui_->treeFolderField);
        if (market.tree.empty()) {
            why = QStringLiteral(
                "请选择已发布的行情目录（演示行情在 orvane-server demo 第一次运行后生成）。");
            return false;
        }
    }
    return true;
}

void BacktestWindow::chooseFolder(QLineEdit* field, const QString& title) {
    const QString folder = QFileDialog::getExistingDirectory(this, title, field->text());
    if (!folder.isEmpty()) field->setText(folder);
}

bool BacktestWindow::start() {
    if (running_) return false;
    QString why;
    BacktestMarket market;
    const auto options =
        chooseMarket(market, why) ? chosenOptions(*ui_, minimumHistory_, why) : std::nullopt;
    ui_->messageLabel->setText(why);
    ui_->messageLabel->setToolTip(QString());
    if (!options) return false;
    pendingMarket_ = market;
    setRunning(true);
    job_->start(market, *options, [this](std::shared_ptr<BacktestOutcome> outcome) {
        QMetaObject::invokeMethod(
            this, [this, outcome = std::move(outcome)] { finish(outcome); }, Qt::QueuedConnection);
    });
    showProgress();
    return true;
}

void BacktestWindow::stop() {
    if (!running_) return;
    job_->stop();
    ui_->stopButton->setEnabled(false);
    ui_->phaseLabel->setText(QStringLiteral("正在停止…"));
}

void BacktestWindow::stopAndWait() {
    job_->stopAndWait();
}

void BacktestWindow::setRunning(bool running) {
    running_ = running;
    ui_->startButton->setEnabled(!running);
    ui_->stopButton->setEnabled(running);
    ui_->marketGroup->setEnabled(!running);
    ui_->conditionsGroup->setEnabled(!running);
    if (running)
        progressTimer_->start(kProgressEveryMs);
    else
        progressTimer_->stop();
}

void BacktestWindow::showProgress() {
    const BacktestJob::Status status = job_->status();
    QProgressBar* bar = ui_->progressBar;
    if (status.loading) {
        bar->setRange(0, 0);  // read time unknown: the busy bar
    } else {
        bar->setRange(0, static_cast<int>(status.progress.total));
        bar->setValue(static_cast<int>(status.progress.done));
    }
    if (ui_->stopButton->isEnabled())
        ui_->phaseLabel->setText(qs(phaseText(status.loading, status.progress)));
}

void BacktestWindow::finish(std::shared_ptr<BacktestOutcome> outcome) {
    setRunning(false);
    QProgressBar* bar = ui_->progressBar;
    const backtest::Run& run = outcome->run;
    QStringList notes;
    for (const std::string& p : outcome->problems) notes << qs(p);
    if (outcome->sourceFailure != backtest::SourceFailure::None) {
        bar->setRange(0, 1);
        bar->setValue(0);
        ui_->phaseLabel->setText(QStringLiteral("没有回测。"));
        ui_->messageLabel->setText(QStringLiteral("无法读取行情：") + qs(outcome->sourceMessage));
    } else if (run.failure != backtest::Failure::None) {
        bar->setRange(0, 1);
        bar->setValue(0);
        const bool stopped = run.failure == backtest::Failure::Stopped;
        ui_->phaseLabel->setText(stopped ? QStringLiteral("回测已停止，可以修改条件后重新开始。")
                                         : QStringLiteral("没有回测。"));
        if (!stopped) ui_->messageLabel->setText(qs(failureText(run.failure)));
    } else {
        results_ = std::make_shared<const backtest::Results>(std::move(outcome->run.results));
        runMarket_ = pendingMarket_;
        for (std::size_t i = outcome->problems.size(); i < results_->notes.size(); ++i)
            notes << qs(results_->notes[i]);
        bar->setRange(0, static_cast<int>(results_->stocks.size()));
        bar->setValue(bar->maximum());
        ui_->phaseLabel->setText(QStringLiteral("完成：%1 只股票的 %2 个信号，用时 %3 秒。")
                                     .arg(qs(countText(results_->stocks.size())),
                                          qs(countText(results_->signals.size())))
                                     .arg(outcome->seconds, 0, 'f', 1));
        const backtest::Options& o = results_->options;
        const QDate first = QDate::fromString(qs(results_->days.front()), Qt::ISODate);
        const QDate last = QDate::fromString(qs(results_->days.back()), Qt::ISODate);
        for (QDateEdit* edit : {ui_->fromDateEdit, ui_->toDateEdit})
            edit->setDateRange(first, last);
        ui_->fromDateEdit->setDate(QDate::fromString(qs(o.from), Qt::ISODate));
        ui_->toDateEdit->setDate(QDate::fromString(qs(o.to), Qt::ISODate));
        ui_->runSummaryLabel->setText(
            QStringLiteral("%1 至 %2 · %3买入%4")
                .arg(qs(o.from), qs(o.to),
                     o.entry == backtest::EntryPrice::NextOpen ? QStringLiteral("次日开盘价")
                                                               : QStringLiteral("信号日收盘价"),
                     o.tradableOnly ? QStringLiteral(" · 剔除涨停价买入") : QString()));
        const QSignalBlocker blocker(ui_->horizonCombo);
        ui_->horizonCombo->clear();
        for (int days : o.horizons) ui_->horizonCombo->addItem(QStringLiteral("%1日").arg(days));
        const auto ten = std::find(o.horizons.begin(), o.horizons.end(), 10);
        ui_->horizonCombo->setCurrentIndex(
            ten == o.horizons.end() ? 0 : static_cast<int>(ten - o.horizons.begin()));
        showResults();
    }
    if (!notes.isEmpty() && ui_->messageLabel->text().isEmpty()) {
        ui_->messageLabel->setText(
            QStringLiteral("读取时有 %1 条数据说明（鼠标停在这里查看）。").arg(notes.size()));
        ui_->messageLabel->setToolTip(notes.mid(0, 40).join(QLatin1Char('\n')));
    }
    emit runEnded();
}

std::size_t BacktestWindow::chosenHorizon() const {
    return static_cast<std::size_t>(std::max(0, ui_->horizonCombo->currentIndex()));
}

void BacktestWindow::showResults() {
    if (!results_) return;
    const auto grouping = static_cast<Grouping>(ui_->groupingCombo->currentData().toInt());
    const std::size_t h = chosenHorizon();
    summary_->show(results_, grouping, h);
    drawCumulativeExcess(excessChart(), *results_, grouping, h);
    drawTrendDistribution(distributionChart(), *results_, h);
    colourChartForScheme(excessChart());
    colourChartForScheme(distributionChart());
    if (summary_->rowCount() > 0)
        ui_->summaryTable->selectRow(0);
    else
        showGroupSignals(-1);
}

void BacktestWindow::showGroupSignals(int summaryRow) {
    const backtest::GroupSummary* group = summary_->groupAt(summaryRow);
    if (!group || !results_) {
        signals_->show(nullptr, Grouping::All, {}, 0);
        portfolio_->show(nullptr, Grouping::All, {}, 1);
        return;
    }
    signals_->show(results_, group->grouping, group->key, chosenHorizon());
    portfolio_->show(results_, group->grouping, group->key,
                     results_->options.horizons[chosenHorizon()]);
    ui_->signalsCaption->setText(
        QStringLiteral("“%1”的 %2 个信号（点列标题排序）；双击一个信号，"
                       "打开这只股票在信号日的日K线。")
            .arg(qs(groupLabel(group->grouping, group->key)),
                 qs(countText(static_cast<std::size_t>(signals_->rowCount())))));
}

bool BacktestWindow::openSignalChart(int row) {
    const backtest::Signal* s = signals_->signalAt(row);
    if (!s || !results_) return false;
    const int after = std::min(results_->options.horizons[chosenHorizon()], kChartDaysAfterSignal);
    return openChartAt(s->stock, s->day, s->day + static_cast<std::size_t>(after));
}

bool BacktestWindow::openChartAt(std::uint32_t stock, std::uint32_t day, std::size_t lastDay) {
    chart::KWindowController* charts = charts_ ? charts_() : nullptr;
    if (!results_) return false;
    if (!charts) {
        ui_->messageLabel->setText(QStringLiteral("K线图窗口还没有准备好。"));
        return false;
    }
    const std::string& code = results_->stocks[stock].code;
    lastDay = std::min(lastDay, results_->days.size() - 1);
    const auto history = stockHistoryUntil(runMarket_, code, results_->days[lastDay]);
    const fs::path path = ensureFolder(getLine_K_Path()) / (code + ".txt");
    if (!history || !writeFileAtomically(path, *history)) {
        ui_->messageLabel->setText(QStringLiteral("无法读取或写出 %1 的历史数据。").arg(qs(code)));
        return false;
    }
    if (!openChartAtDate(*charts, path, results_->days[day])) {
        ui_->messageLabel->setText(QStringLiteral("K线图窗口的标签页已满，请先关掉几个。"));
        return false;
    }
    emit signalChartOpened(qs(path.string()));
    return true;
}

void BacktestWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::PaletteChange) {
        colourChartForScheme(excessChart());
        colourChartForScheme(distributionChart());
    }
    QWidget::changeEvent(event);
}

void BacktestWindow::closeEvent(QCloseEvent* event) {
    stopAndWait();
    event->accept();
}

}  // namespace orvane::app
