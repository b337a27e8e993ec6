#pragma once
// Paths below the data server's base URL. Codes must be validated before
// they are put into a path.

#include <string>
#include <string_view>

namespace orvane::serverpath {

inline constexpr std::string_view kUpdateConfigFile = "/const/updateconfigfile.txt";
inline constexpr std::string_view kConstDataZip = "/const/constdata.zip";
inline constexpr std::string_view kResultFolder = "/const/hisdata/retdata/";
inline constexpr std::string_view kHistoryFolder = "/const/hisdata/stockdata/";
// The histories as traded, beside adjusted ones.
inline constexpr std::string_view kTradedHistoryFolder = "/const/hisdata/stockdata_raw/";
inline constexpr std::string_view kQuoteFolder = "/const/hisdata/sinadata/";
inline constexpr std::string_view kSortFolder = "/const/hisdata/sortdata/";
inline constexpr std::string_view kTrendUpModeFolder = "/const/trendupmode/";
inline constexpr std::string_view kTrendUpModeIni = "/const/trendupmode/modeini.txt";
/// The day's results of every stock in one file (DayResults.h); a tree
/// published before it existed has none.
inline constexpr std::string_view kDayResultsFile = "/const/hisdata/dayresults.txt";
/// The double-cannon pattern explained, for the help window.
inline constexpr std::string_view kDoubleCannonHelp = "/const/help/doublepao.html";

/// Today's result file of a stock.
std::string resultFilePath(std::string_view code);
/// The result file of the n-th trading day back.
std::string pastResultFilePath(std::string_view code, int daysBack);
std::string historyFilePath(std::string_view code);
std::string tradedHistoryFilePath(std::string_view code);
std::string quoteCopyPath(std::string_view code);
std::string sortFilePath(std::string_view fileName);

}  // namespace orvane::serverpath
