#pragma once
// 行情总览: a window listing every stock of the code table with its quote,
// 涨速, 量比, amplitude, volume and amount, and the day's verdict (the trend
// from the stock's result file, fetched once for each row that comes on
// screen, and the score list's patterns) and score;
// every column sorts. While the window is shown, a MarketQuoteFeed refreshes
// the rows on screen every 5 s and the whole market every 30 s; a round the
// quote service does not answer leaves the last good figures, and the stale
// mark says since when they are old. A double-click shows the stock in the
// main window; the owner attaches the stocks' shared right-click menu to
// the table.

#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <unordered_set>

#include "application/DataFreshness.h"
#include "common/PastVolumes.h"
#include "markettable/MarketQuoteFeed.h"

class QLabel;
class QTableView;

namespace orvane::app {

class MarketTableModel;

class MarketTableWindow : public QWidget {
    Q_OBJECT
  public:
    explicit MarketTableWindow(MarketQuoteFeed::Periods periods = {}, QWidget* parent = nullptr);
    ~MarketTableWindow() override;

    /// Reads the code table again (after a reference update) into the rows.
    void reloadStocks();

    MarketTableModel& model() const { return *model_; }
    QTableView* table() const { return table_; }
    /// The stale mark's text; empty while the quote service answers.
    QString staleText() const;
    /// The rounds applied so far (whole and visible).
    int roundsApplied() const { return roundsApplied_; }
    /// Applies a round as the feed's delivery does: a whole market in parts
    /// of kQuotesAtOnce, the window thread serving its events between them.
    void applyRound(QuoteRound round);
    static constexpr std::size_t kQuotesAtOnce = 500;
    /// The codes of the rows on screen now.
    std::vector<std::string> visibleCodes() const;

  Q_SIGNALS:
    void stockPicked(const QString& code, const QString& name);

  protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    void fetchScores();
    /// The day's trend of each row on screen not asked for yet.
    void fetchTrends(const std::vector<std::string>& codes);
    /// The last days' volumes (for 量比) of each row on screen, once a day.
    void fetchPastVolumes(const std::vector<std::string>& codes);
    void updateVisibleCodes();
    void updateStaleMark();
    void applyPart(std::shared_ptr<const QuoteRound> round, std::size_t from);

    std::unique_ptr<MarketTableModel> model_;
    QTableView* table_ = nullptr;
    QLabel* countLabel_ = nullptr;
    QLabel* staleLabel_ = nullptr;
    DataFreshness freshness_;
    MarketQuoteFeed feed_;
    int roundsApplied_ = 0;
    std::unordered_set<std::string> trendsAsked_;
    PastVolumesAsked pastVolumesAsked_;
};

}  // namespace orvane::app
