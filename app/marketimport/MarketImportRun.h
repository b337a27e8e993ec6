#pragma once
// One import of a user's market, without the window: the folder surveyed
// (its layout and how many stocks it holds), then read and published into
// the app's tree, ending between steps or between stocks when asked to stop.
// A stopped or failed import leaves the tree that was there.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <stop_token>
#include <string>
#include <vector>

#include "orvane/market/MarketLayout.h"

namespace orvane::app {

/// What the import dialog shows of a folder before it is imported.
struct MarketSurvey {
    bool found = false;  // false: no layout known (or nothing readable), see `problem`
    MarketLayout layout = MarketLayout::Own;
    std::size_t stocks = 0;
    std::vector<std::string> notes;  // what is left out on purpose
    std::string problem;
};

/// Detects the layout of `source` and reads it to count the stocks.
MarketSurvey surveyMarket(const std::filesystem::path& source, int jobs = 0);

/// The layout as the window names it.
std::string layoutDisplayName(MarketLayout layout);

/// The newest modification time (seconds since the epoch) of the files the
/// layout of `source` reads; 0 when it is in no layout known.
std::int64_t newestSourceTime(const std::filesystem::path& source);

struct ImportRequest {
    std::filesystem::path source;
    std::filesystem::path stockList;  // empty: none
    std::filesystem::path events;     // empty: none
    std::filesystem::path tree;
    int jobs = 0;  // 0: one per processor
};

enum class ImportStep { Reading, Publishing };

struct ImportProgress {
    ImportStep step = ImportStep::Reading;
    std::size_t done = 0;
    std::size_t total = 0;  // 0 while reading
};

struct ImportOutcome {
    enum class Result { Published, Stopped, Failed };
    Result result = Result::Failed;
    std::string message;  // why it failed
    MarketLayout layout = MarketLayout::Own;
    std::size_t stocks = 0;
    std::size_t skipped = 0;            // files and lines skipped as unreadable
    std::vector<std::string> notes;     // what was left out on purpose
    std::int64_t newestSourceTime = 0;  // of the files read
    double seconds = 0;
};

/// Lowers the calling thread's scheduling priority (and so that of the
/// threads it starts), so that a long import on every processor never keeps
/// the window thread waiting for one.
void yieldToTheWindow();

/// Reads `request.source` and publishes it into `request.tree`; `progress`
/// is called from the import's threads, one call at a time.
ImportOutcome importMarket(const ImportRequest& request,
                           const std::function<void(const ImportProgress&)>& progress,
                           std::stop_token stop);

}  // namespace orvane::app
