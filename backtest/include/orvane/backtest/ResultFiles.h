#pragma once
// A back-test's results as files: signals.csv (one line per stock and day),
// summary.csv (one line per group and horizon) and baseline.csv (the market
// day by day); a portfolio run adds equity.csv and trades.csv. Figures are
// percentages; an empty field has no figure.

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>

#include "orvane/backtest/Backtest.h"
#include "orvane/backtest/Portfolio.h"

namespace orvane::backtest {

void writeSignalsCsv(const Results& results, std::ostream& out);
void writeSummaryCsv(const Results& results, std::ostream& out);
void writeBaselineCsv(const Results& results, std::ostream& out);

/// A portfolio run as files: equity.csv (one line a day: cash, holdings, net
/// value and the market's net value, yuan) and trades.csv (one line a trade).
void writeEquityCsv(const Results& results, const PortfolioRun& run, std::ostream& out);
void writeTradesCsv(const Results& results, const PortfolioRun& run, std::ostream& out);

/// Why `folder` cannot take a back-test's results (it is a file, holds other
/// files, or no staging folder can be made beside it), or nothing: asked
/// before the work starts, and again by `writeResultFolder`.
std::optional<std::string> resultFolderProblem(const std::filesystem::path& folder);

/// The three files into `folder`, built in a staging folder beside it and
/// swapped in whole (a folder of an earlier back-test is replaced; one with
/// other files is refused): false, with the reason in `error`, when they
/// cannot be written; `folder` is then as it was.
bool writeResultFolder(const Results& results, const std::filesystem::path& folder,
                       std::string& error);
/// The same with a portfolio run's two files.
bool writePortfolioFolder(const Results& results, const PortfolioRun& run,
                          const std::filesystem::path& folder, std::string& error);

}  // namespace orvane::backtest
