// csv2hist and csv2hist-dir: daily CSV files into history texts.

#include <cstdio>
#include <filesystem>
#include <optional>

#include "CommandSupport.h"
#include "Commands.h"
#include "ProgressLine.h"
#include "orvane/core/AtomicFile.h"
#include "orvane/core/LocalTime.h"
#include "orvane/market/CsvHistory.h"

namespace orvane::cli {

namespace fs = std::filesystem;

namespace {

bool convertFile(const fs::path& src, const fs::path& dst,
                 const std::optional<std::string>& until) {
    auto csv = readFile(src);
    if (!csv) {
        std::fprintf(stderr, "orvane: cannot read %s\n", src.c_str());
        return false;
    }
    CsvConversion result = csvToHistoryText(*csv, until);
    if (!result.error.empty()) {
        std::fprintf(stderr, "orvane: %s: %s\n", src.c_str(), result.error.c_str());
        return false;
    }
    if (!writeFileAtomically(dst, result.history)) {
        std::fprintf(stderr, "orvane: cannot write %s\n", dst.c_str());
        return false;
    }
    return true;
}

std::optional<std::string> checkedUntil(const std::string& until) {
    if (until.empty()) return std::nullopt;
    if (!parseDate(until)) throw CLI::ValidationError("--until", "expects a date YYYY-MM-DD");
    return until;
}

}  // namespace

void addCsv2HistCommands(CLI::App& app) {
    auto* one = app.add_subcommand("csv2hist", "convert a daily CSV file into a history text");
    auto src = std::make_shared<std::string>(), dst = std::make_shared<std::string>();
    one->add_option("SRC", *src, "daily CSV (date, open, close, high, low, volume columns)")
        ->required();
    one->add_option("DST", *dst, "history text to write")->required();
    one->callback([src, dst] {
        if (!convertFile(*src, *dst, std::nullopt)) throw CLI::RuntimeError(kFailed);
    });

    auto* dir =
        app.add_subcommand("csv2hist-dir", "convert every CODE.csv of a folder into CODE.txt");
    auto srcDir = std::make_shared<std::string>(), dstDir = std::make_shared<std::string>();
    auto until = std::make_shared<std::string>();
    dir->add_option("SRCDIR", *srcDir)->required()->check(CLI::ExistingDirectory);
    dir->add_option("DSTDIR", *dstDir)->required();
    dir->add_option("--until", *until, "leave out the days after this date (YYYY-MM-DD)");
    dir->callback([srcDir, dstDir, until] {
        auto limit = checkedUntil(*until);
        std::error_code ec;
        fs::create_directories(*dstDir, ec);
        if (!fs::is_directory(*dstDir))
            fail("cannot create the folder " + *dstDir + ": " + whyUnreadable(*dstDir));
        std::vector<fs::path> files;
        for (const auto& e : fs::directory_iterator(*srcDir))
            if (e.is_regular_file() && e.path().extension() == ".csv") files.push_back(e.path());
        std::sort(files.begin(), files.end());
        std::size_t done = 0, failed = 0;
        ProgressLine bar("converting");
        for (const fs::path& f : files) {
            if (!convertFile(f, fs::path(*dstDir) / (f.stem().string() + ".txt"), limit)) ++failed;
            bar.update(++done, files.size());
        }
        if (failed) fail(std::to_string(failed) + " files could not be converted (see above)");
    });
}

}  // namespace orvane::cli
