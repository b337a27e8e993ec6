#include "orvane/publisher/StockFiles.h"

#include "orvane/core/FileWrites.h"
#include "orvane/market/ServerPaths.h"
#include "orvane/publisher/ResultFileText.h"

namespace orvane::server {

namespace fs = std::filesystem;

namespace {
// Five trading days back from the newest line: the before-5-days record.
constexpr int kBeforeFiveDays = 5;

fs::path below(const fs::path& tree, const std::string& serverPath) {
    return tree / fs::path(serverPath).relative_path();
}
}  // namespace

bool writeTreeFile(const fs::path& path, std::string_view bytes) {
    return writeNewFile(path, bytes);
}

StockFilesReport writeStockFiles(const fs::path& tree, std::string_view code,
                                 std::string_view historyText, int daysBack) {
    StockFilesReport report;
    auto count = [&](bool ok) { ++(ok ? report.files : report.unwritten); };
    count(writeTreeFile(below(tree, serverpath::historyFilePath(code)), historyText));

    const auto verdicts =
        computeDayVerdicts(code, historyText, std::max(daysBack, kBeforeFiveDays));
    if (const auto& today = verdicts[0]) {
        const auto& before5 = verdicts[kBeforeFiveDays];
        count(writeTreeFile(below(tree, serverpath::resultFilePath(code)),
                            todayResultFile(code, *today, before5 ? &*before5 : nullptr)));
        report.today = *today;
    }
    for (int n = 1; n <= daysBack; ++n) {
        const auto& day = verdicts[static_cast<std::size_t>(n)];
        if (!day) continue;
        count(writeTreeFile(below(tree, serverpath::pastResultFilePath(code, n)),
                            earlierResultFile(code, *day)));
    }
    for (const auto& day : verdicts)
        if (day && day->result.modeB) report.modelBDays.push_back(*day);
    return report;
}

}  // namespace orvane::server
