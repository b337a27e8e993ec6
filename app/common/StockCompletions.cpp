#include "common/StockCompletions.h"

#include "mainwindow/StockSearch.h"
#include "orvane/market/CodeTable.h"

namespace orvane::app {

int StockCompletions::search(const QString& typed) {
    const auto found =
        completionStrings(CodeTable::shared(), normaliseSearchKey(typed.toStdString()));
    QStringList list;
    list.reserve(static_cast<qsizetype>(found.size()));
    for (const auto& s : found) list << QString::fromStdString(s);
    searched_ = typed;
    setStringList(list);
    return static_cast<int>(list.size());
}

std::string StockCompletions::codeAt(int row) const {
    if (row < 0 || row >= rowCount()) return {};
    return tokenDisplayString(data(index(row), Qt::DisplayRole).toString().toStdString());
}

}  // namespace orvane::app
