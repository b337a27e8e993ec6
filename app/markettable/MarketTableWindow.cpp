#include "markettable/MarketTableWindow.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPointer>
#include <QScrollBar>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include "markettable/MarketTableModel.h"
#include "orvane/core/MainThreadDispatcher.h"
#include "orvane/market/CodeTable.h"
#include "orvane/market/HttpRequest.h"
#include "orvane/market/MarketServers.h"
#include "orvane/market/SectorGroups.h"
#include "orvane/market/ServerPaths.h"

namespace orvane::app {

MarketTableWindow::MarketTableWindow(MarketQuoteFeed::Periods periods, QWidget* parent)
    : QWidget(parent, Qt::Window),
      model_(std::make_unique<MarketTableModel>()),
      feed_(
          [window = QPointer(this)](QuoteRound round) {
              postToMainThread([window, round = std::move(round)]() mutable {
                  if (window) window->applyRound(std::move(round));
              });
          },
          periods) {
    setWindowTitle(QStringLiteral("行情总览"));
    resize(1100, 640);
    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    countLabel_ = new QLabel(this);
    staleLabel_ = new QLabel(this);
    staleLabel_->setStyleSheet(QStringLiteral("color: rgb(255, 0, 0);"));
    top->addWidget(countLabel_);
    top->addStretch();
    top->addWidget(staleLabel_);
    layout->addLayout(top);

    table_ = new QTableView(this);
    table_->setModel(model_.get());
    table_->setSortingEnabled(true);
    table_->sortByColumn(0, Qt::AscendingOrder);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->setDefaultSectionSize(22);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    table_->horizontalHeader()->setDefaultSectionSize(80);
    // The verdict's words ("正在加速上涨 B模式") need the room of two figures.
    table_->horizontalHeader()->resizeSection(static_cast<int>(MarketColumn::Verdict), 160);
    layout->addWidget(table_);

    connect(table_, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
        const MarketRow& row = model_->rowAt(index.row());
        Q_EMIT stockPicked(QString::fromStdString(row.code),
                           QString::fromStdString(marketCellText(row, MarketColumn::Name)));
    });
    connect(table_->verticalScrollBar(), &QScrollBar::valueChanged, this,
            &MarketTableWindow::updateVisibleCodes);
    connect(model_.get(), &QAbstractItemModel::layoutChanged, this,
            &MarketTableWindow::updateVisibleCodes);
    reloadStocks();
}

MarketTableWindow::~MarketTableWindow() {
    feed_.stop();
}

void MarketTableWindow::reloadStocks() {
    std::vector<std::pair<std::string, std::string>> stocks;
    const std::vector<std::string> indexes = SectorGroups::shared().compositeCodes();
    for (const Value& entry : CodeTable::shared().getAllStockTradeData()) {
        const Value* code = orvane::find(entry.dictionary(), "STOCK_Code");
        const Value* name = orvane::find(entry.dictionary(), "STOCK_SC_Name");
        if (!code) continue;
        const std::string text = code->string();
        // The composite indexes have their strip in the main window.
        if (std::find(indexes.begin(), indexes.end(), text) != indexes.end()) continue;
        stocks.emplace_back(text, name ? name->string() : std::string());
    }
    model_->setStocks(stocks);
    trendsAsked_.clear();
    feed_.setAllCodes(model_->allCodes());
    countLabel_->setText(QStringLiteral("共 %1 只").arg(model_->rowCount()));
    updateVisibleCodes();
}

QString MarketTableWindow::staleText() const {
    return staleLabel_->text();
}

void MarketTableWindow::applyRound(QuoteRound round) {
    ++roundsApplied_;
    freshness_.record(DataFreshness::Source::QuoteService, round.answered, round.when);
    updateStaleMark();
    if (round.answered) applyPart(std::make_shared<const QuoteRound>(std::move(round)), 0);
}

void MarketTableWindow::applyPart(std::shared_ptr<const QuoteRound> round, std::size_t from) {
    const std::size_t to = std::min(from + kQuotesAtOnce, round->quotes.size());
    model_->storeQuotes(round->quotes, from, to, round->when);
    if (to < round->quotes.size()) {
        QTimer::singleShot(0, this, [this, round, to] { applyPart(round, to); });
        return;
    }
    model_->quotesStored();
}

void MarketTableWindow::updateStaleMark() {
    const auto notice = freshness_.staleNotice();
    staleLabel_->setText(notice ? QString::fromStdString(*notice) : QString());
}

std::vector<std::string> MarketTableWindow::visibleCodes() const {
    const int first = table_->rowAt(0);
    if (first < 0) return {};
    int last = table_->rowAt(table_->viewport()->height() - 1);
    if (last < 0) last = model_->rowCount() - 1;
    return model_->codesOfRows(first, last);
}

void MarketTableWindow::updateVisibleCodes() {
    std::vector<std::string> codes = visibleCodes();
    if (isVisible()) {
        fetchTrends(codes);
        fetchPastVolumes(codes);
    }
    feed_.setVisibleCodes(std::move(codes));
}

void MarketTableWindow::fetchTrends(const std::vector<std::string>& codes) {
    for (const std::string& code : codes) {
        if (!trendsAsked_.insert(code).second) continue;
        auto request = HttpRequest::requestWithURL(dataServerURL(serverpath::resultFilePath(code)));
        request->setCompletionBlock([window = QPointer(this), code](HttpRequest& r) {
            if (!window) return;
            const auto text = r.responseStatusCode() == 200 ? r.responseString() : std::nullopt;
            const auto words = text ? trendWordsOfResultFile(*text) : std::nullopt;
            // A stock without a result file keeps its blank: it is not asked again.
            if (words) window->model_->applyTrend(code, *words);
        });
        request->setFailedBlock([window = QPointer(this), code](HttpRequest&) {
            if (window) window->trendsAsked_.erase(code);  // asked again when next on screen
        });
        request->startAsynchronous();
    }
}

void MarketTableWindow::fetchPastVolumes(const std::vector<std::string>& codes) {
    const std::string today = todayText();
    for (const std::string& code : codes) {
        if (!pastVolumesAsked_.ask(code, today)) continue;
        auto request =
            HttpRequest::requestWithURL(dataServerURL(serverpath::historyFilePath(code)));
        request->setCompletionBlock([window = QPointer(this), code, today](HttpRequest& r) {
            if (!window) return;
            const auto text = r.responseStatusCode() == 200 ? r.responseString() : std::nullopt;
            if (text) window->model_->applyPastVolumes(code, pastDaysLots(*text, today));
        });
        request->setFailedBlock([window = QPointer(this), code](HttpRequest&) {
            if (window) window->pastVolumesAsked_.forget(code);
        });
        request->startAsynchronous();
    }
}

void MarketTableWindow::fetchScores() {
    auto request =
        HttpRequest::requestWithURL(dataServerURL(serverpath::sortFilePath("score.txt")));
    request->setCompletionBlock([window = QPointer(this)](HttpRequest& r) {
        if (!window || r.responseStatusCode() != 200) return;
        const auto text = r.responseString();
        if (text && isScoreListText(*text)) window->model_->applyScores(parseScoreRecords(*text));
    });
    request->startAsynchronous();
}

void MarketTableWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (model_->rowCount() == 0) reloadStocks();
    updateVisibleCodes();
    fetchScores();
    feed_.start();
}

void MarketTableWindow::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    // Nothing on screen needs figures: the feed rests until the window is shown again.
    feed_.stop();
}

}  // namespace orvane::app
