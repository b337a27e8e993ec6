#include "orvane/market/MarketLayout.h"

#include <algorithm>
#include <fstream>

#include "orvane/market/CsvLayout.h"
#include "orvane/market/UserText.h"

namespace orvane {

namespace fs = std::filesystem;

namespace {

constexpr MarketLayout kLayouts[] = {MarketLayout::Own, MarketLayout::DayFiles,
                                     MarketLayout::Akshare, MarketLayout::Tushare,
                                     MarketLayout::Baostock};

MarketLayout marketLayoutOf(CsvLayout layout) {
    switch (layout) {
        case CsvLayout::Akshare:
            return MarketLayout::Akshare;
        case CsvLayout::Tushare:
            return MarketLayout::Tushare;
        case CsvLayout::Baostock:
            return MarketLayout::Baostock;
        case CsvLayout::Own:
            break;
    }
    return MarketLayout::Own;
}

std::vector<fs::path> filesEndingIn(const fs::path& folder, std::string_view extension) {
    std::vector<fs::path> out;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec); !ec && it != fs::directory_iterator();
         it.increment(ec)) {
        std::string ext = it->path().extension().string();
        std::transform(ext.begin(), ext.end(), ext.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        if (ext == extension && it->is_regular_file(ec)) out.push_back(it->path());
    }
    std::sort(out.begin(), out.end());
    return out;
}

// The day files below a vipdoc folder (or one like it), or none.
std::vector<fs::path> dayFilesBelow(const fs::path& vipdoc) {
    std::vector<fs::path> out;
    for (const char* exchange : {"sh", "sz", "bj"}) {
        std::vector<fs::path> files = filesEndingIn(vipdoc / exchange / "lday", ".day");
        out.insert(out.end(), files.begin(), files.end());
    }
    return out;
}

// The layout a CSV file's header names.
std::optional<CsvLayout> layoutOfFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::string header;
    if (!in || !std::getline(in, header) || header.size() > (1u << 16)) return std::nullopt;
    auto text = userTextAsUtf8(header);
    return text ? csvLayoutOfHeader(*text) : std::nullopt;
}

}  // namespace

std::string_view marketLayoutName(MarketLayout layout) {
    switch (layout) {
        case MarketLayout::DayFiles:
            return "day files (vipdoc/sh/lday/sh600000.day)";
        case MarketLayout::Akshare:
            return csvLayoutName(CsvLayout::Akshare);
        case MarketLayout::Tushare:
            return csvLayoutName(CsvLayout::Tushare);
        case MarketLayout::Baostock:
            return csvLayoutName(CsvLayout::Baostock);
        case MarketLayout::Own:
            break;
    }
    return csvLayoutName(CsvLayout::Own);
}

std::string knownMarketLayouts() {
    std::string out;
    for (MarketLayout layout : kLayouts) {
        if (!out.empty()) out += "; ";
        out += marketLayoutName(layout);
    }
    return out;
}

std::optional<MarketFiles> detectMarketLayout(const fs::path& path, std::string& problem) {
    std::error_code ec;
    const std::string known = "the layouts known are: " + knownMarketLayouts();
    if (fs::is_regular_file(path, ec)) {
        if (auto layout = layoutOfFile(path)) return MarketFiles{marketLayoutOf(*layout), {path}};
        problem = path.string() + ": line 1 names the columns of no layout known; " + known;
        return std::nullopt;
    }
    if (!fs::is_directory(path, ec)) {
        problem = path.string() + ": no such file or folder";
        return std::nullopt;
    }
    for (const fs::path& vipdoc : {path / "vipdoc", path})
        if (auto files = dayFilesBelow(vipdoc); !files.empty())
            return MarketFiles{MarketLayout::DayFiles, std::move(files)};
    if (auto files = filesEndingIn(path, ".day"); !files.empty())
        return MarketFiles{MarketLayout::DayFiles, std::move(files)};
    std::vector<fs::path> csv = filesEndingIn(path, ".csv");
    for (const fs::path& file : csv)
        if (auto layout = layoutOfFile(file))
            return MarketFiles{marketLayoutOf(*layout), std::move(csv)};
    problem = path.string() + ": " +
              (csv.empty() ? std::string("no day files and no CSV files")
                           : "no CSV file whose header names the columns of a layout known") +
              "; " + known;
    return std::nullopt;
}

}  // namespace orvane
