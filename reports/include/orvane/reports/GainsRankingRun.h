#pragma once
// The gains ranking report from a list of stocks: the list is screened (the
// accelerating-rise break score 120) and the picks written up as today's
// report. The filter window starts it on a worker thread.

#include <filesystem>

#include "orvane/core/Value.h"

namespace orvane {

class QXStockLib;

/// Screens `list` (code-table entries or market records) and writes today's
/// report; returns the report's path.
std::filesystem::path phraseTodayGainsData(QXStockLib& lib, const Array& list);

/// Runs phraseTodayGainsData on a new thread and returns at once. Only one
/// screening may run at a time (they share the engine's per-stock state):
/// while one is running nothing is started and the answer is false.
bool processFilterStockFromHuShenGainsData(QXStockLib& lib, Array list);

/// True while a report started by processFilterStockFromHuShenGainsData runs.
bool isGainsRankingRunning();

}  // namespace orvane
