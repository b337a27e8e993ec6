#pragma once
// A watch list's table: one row a watched stock of the group shown, one
// column a WatchColumn, each cell as WatchRows says. Every column sorts (the
// rows keep the order of the column last sorted by through every refresh).
// Main thread only.

#include <map>
#include <string>
#include <unordered_map>
#include <vector>

#include "common/OrderedRowsModel.h"
#include "common/PriceSpeed.h"
#include "lists/RowCell.h"
#include "watchlists/WatchRows.h"

namespace orvane::app {

class WatchListModel : public OrderedRowsModel<std::string> {
    Q_OBJECT
  public:
    explicit WatchListModel(QObject* parent = nullptr);

    /// The group's codes, in the group's order until a column is sorted by.
    void setCodes(const std::vector<std::string>& codes);
    /// New quotes and verdicts (of any codes: those of other groups wait
    /// until their group is shown).
    void setQuotes(std::map<std::string, WatchQuote, std::less<>> quotes);
    void setVerdict(const std::string& code, StockRecord verdict);
    /// A stock's last days' volumes (lots, oldest first), for its 量比.
    void setPastVolumes(const std::string& code, std::vector<double> lots);

    /// The row's code, or empty.
    std::string codeAt(int row) const;
    WatchRow rowOf(const std::string& code) const;
    RowCell cell(int row, int column) const;

    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

  protected:
    double sortKey(const std::string& code, int column) const override;
    void prepareSortKeys(int column) override;

  private:
    void rowChanged(const std::string& code);
    /// Rows in the order given (no column sorted by yet) or sorted anew.
    void showRows(std::vector<std::string> codes);

    bool sorted_ = false;
    std::map<std::string, WatchQuote, std::less<>> quotes_;
    PriceSpeed speed_;
    std::map<std::string, double, std::less<>> speeds_;
    std::map<std::string, StockRecord, std::less<>> verdicts_;
    std::map<std::string, std::vector<double>, std::less<>> pastLots_;
    /// The rank of each code's text under the text column being sorted.
    std::unordered_map<std::string, double> textRank_;
};

}  // namespace orvane::app
