// analyze and analyze-dir: verdicts from history texts.

#include "Commands.h"

namespace orvane::cli {

void addAnalyzeCommands(CLI::App&) {}

}  // namespace orvane::cli
