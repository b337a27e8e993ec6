#pragma once
// The gains ranking report from a list of stocks: the list is screened (the
// accelerating-rise break score 120) and the picks written up as today's
// report. The filter window starts it on a worker thread.

#include <filesystem>
#include <functional>

#include "orvane/core/Value.h"
#include "orvane/reports/GainsRankingReport.h"

namespace orvane {

class QXStockLib;

/// Asked before each stock of the screening; true ends it early.
using ScreeningStop = std::function<bool()>;

/// Screens `list` (code-table entries or market records) and writes today's
/// report; the report's path, or why it could not be written. An empty list
/// or a screening stopped early writes nothing (an empty or partial ranking
/// would pass for today's): both are empty.
GainsReportOutcome phraseTodayGainsData(QXStockLib& lib, const Array& list,
                                        const ScreeningStop& stop = {});

/// Runs phraseTodayGainsData on a new thread and returns at once; `finished`
/// (when given) is called on that thread with the outcome once the run
/// ended, stopped or not.
/// Only one screening may run at a time (they share the engine's per-stock
/// state): while one is running nothing is started and the answer is false.
bool processFilterStockFromHuShenGainsData(
    QXStockLib& lib, Array list, ScreeningStop stop = {},
    std::function<void(const GainsReportOutcome&)> finished = {});

/// True while a report started by processFilterStockFromHuShenGainsData runs.
bool isGainsRankingRunning();

}  // namespace orvane
