#pragma once
// Reading a user's daily data: one CSV a stock (CODE.csv) and a stock list
// (columns found by header: "symbol" or "code", "name", "industry" and an
// optional "pinyin"), and the composite indexes computed from them.

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "orvane/publisher/DailySeries.h"
#include "orvane/publisher/ReferenceData.h"

namespace orvane::server {

/// The stock list; `problem` names the file and line of anything skipped.
std::vector<ListedStock> readStockList(const std::filesystem::path& listCsv,
                                       const std::function<void(const std::string&)>& problem);

/// Every CODE.csv of the folder with a valid code, checked strictly; a file
/// that fails the check is reported (file and line) and skipped. Stocks
/// missing from the list get their code as name.
std::vector<StockSeries> readDailyFolder(const std::filesystem::path& csvDir,
                                         const std::vector<ListedStock>& listing,
                                         const std::function<void(const std::string&)>& problem);

/// The composite indexes of a market: 399001 (the Shenzhen stocks), 399006
/// (the growth board, codes 300 and 301), 510050 (the 50 Shanghai stocks with
/// the largest traded value on the last day) and 510300 (the 300 largest of
/// both exchanges). Indexes without members are left out.
std::vector<CompositeIndex> chooseComposites(const std::vector<StockSeries>& stocks);

/// An index's daily bars: equal-weighted, each day moving by the mean move
/// of the members that traded that day and the day before, from 1000 on the
/// first day; volume is the members' sum.
StockSeries compositeSeries(const CompositeIndex& index, const std::vector<StockSeries>& stocks);

}  // namespace orvane::server
