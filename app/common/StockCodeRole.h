#pragma once
// Every table whose rows are stocks answers the row's stock code under this
// role (any column), so the stock menu, the Delete key and the chart's
// stepping work on any of them alike.

#include <QAbstractItemModel>
#include <string>
#include <vector>

namespace orvane::app {

inline constexpr int kStockCodeRole = Qt::UserRole + 0x5c;

/// The stock code of a row ("" for a row that is no stock).
inline std::string stockCodeAt(const QAbstractItemModel& model, int row) {
    return model.data(model.index(row, 0), kStockCodeRole).toString().toStdString();
}

/// The stocks of a table in the order it shows them.
inline std::vector<std::string> stockCodesOf(const QAbstractItemModel& model) {
    std::vector<std::string> codes;
    for (int row = 0; row < model.rowCount(); ++row)
        if (std::string code = stockCodeAt(model, row); !code.empty())
            codes.push_back(std::move(code));
    return codes;
}

}  // namespace orvane::app
