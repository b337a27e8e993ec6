#pragma once
// A portfolio run's figures beside the market's, for the terminal.

#include <string>

#include "orvane/backtest/Backtest.h"
#include "orvane/backtest/Portfolio.h"

namespace orvane::cli {

std::string portfolioTable(const backtest::Results& results, const backtest::PortfolioRun& run,
                           const backtest::PortfolioOptions& options, const std::string& group);

}  // namespace orvane::cli
