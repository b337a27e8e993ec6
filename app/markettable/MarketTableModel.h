#pragma once
// The market table's rows: every stock of the code table, its latest quote
// and the day's score, ordered by the column the user sorted by (the code
// until then) and ordered again after each refresh, the selection moving
// along. Text columns sort in pinyin order, their order worked out once
// for as long as the texts stay. Main thread only.

#include <string>
#include <unordered_map>
#include <vector>

#include "common/OrderedRowsModel.h"
#include "common/PriceSpeed.h"
#include "markettable/MarketRows.h"
#include "orvane/core/Clock.h"

namespace orvane::app {

class MarketTableModel : public OrderedRowsModel<int> {
  public:
    explicit MarketTableModel(QObject* parent = nullptr);

    /// Replaces every row (codes and names; no quotes yet).
    void setStocks(const std::vector<std::pair<std::string, std::string>>& codesAndNames);
    /// The quotes seen at `when` go into their rows (codes not in the table
    /// are ignored, and so is a quote seen before the row's own), 涨速 and
    /// 量比 are worked out, and the rows are ordered again.
    void applyQuotes(const std::vector<MarketQuote>& quotes, TimePoint when);
    /// applyQuotes in parts, so that a whole market never holds the window
    /// thread long: quotes [from, to) into their rows, nothing shown yet...
    void storeQuotes(const std::vector<MarketQuote>& quotes, std::size_t from, std::size_t to,
                     TimePoint when);
    /// ...then the rows ordered again and shown.
    void quotesStored();
    /// The day's verdicts and scores from the server's score list.
    void applyScores(const std::vector<ScoreRecord>& scores);
    /// A stock's trend words from its result file.
    void applyTrend(const std::string& code, const std::string& words);
    /// A stock's last days' volumes (lots, oldest first), for its 量比.
    void applyPastVolumes(const std::string& code, std::vector<double> lots);

    const MarketRow& rowAt(int row) const { return stocks_[std::size_t(rows_[std::size_t(row)])]; }
    /// The codes of the rows first to last (inclusive, clamped to the table).
    std::vector<std::string> codesOfRows(int first, int last) const;
    /// Every code, in the code table's order.
    std::vector<std::string> allCodes() const;

    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  protected:
    double sortKey(const int& row, int column) const override;
    void prepareSortKeys(int column) override;

  private:
    std::vector<MarketRow> stocks_;
    std::unordered_map<std::string, int> stockOf_;
    PriceSpeed speed_;
    // Rank of each stock's text under a text column, for as long as the texts stay.
    int rankedColumn_ = -1;
    bool namesChanged_ = false;
    std::vector<double> textRank_;
};

}  // namespace orvane::app
