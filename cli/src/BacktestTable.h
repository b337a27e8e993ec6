#pragma once
// The back-test's groups as text tables, one a grouping, for the terminal.

#include <string>

#include "orvane/backtest/Backtest.h"

namespace orvane::cli {

std::string backtestTables(const backtest::Results& results);

}  // namespace orvane::cli
