#include "orvane/reports/GainsRankingReport.h"

#include <algorithm>
#include <system_error>
#include <unordered_map>

#include "orvane/core/AtomicFile.h"
#include "orvane/core/ChineseCollation.h"
#include "orvane/core/Clock.h"
#include "orvane/core/DataDirectory.h"
#include "orvane/core/DataFolderLock.h"
#include "orvane/core/LocalTime.h"
#include "orvane/core/NumberText.h"
#include "orvane/core/PropertyList.h"
#include "orvane/core/StagedFileSet.h"
#include "orvane/core/TextSplit.h"
#include "orvane/core/Workspace.h"
#include "orvane/market/CodeTable.h"
#include "orvane/market/SectorGroups.h"
#include "orvane/reports/SectorAggregation.h"
#include "orvane/stocklib/QXStockLib.h"

namespace orvane {

namespace fs = std::filesystem;

namespace {

// What the report prints for an absent name or code.
constexpr const char* kMissing = "(null)";

// The buy window: both gains strictly inside, compared in double precision.
constexpr double kBuyTenDayLow = 10.99, kBuyTenDayHigh = 25.99;
constexpr double kBuyFiveDayLow = 7.39, kBuyFiveDayHigh = 20.99;
// A ranking line is printed only above this gain.
constexpr double kRankingFloor = 3.0;

constexpr const char* kNoneSelected = "没有选出符合条件的股票 \r\n";

constexpr const char* kTipBox =
    "\r\n****************小技巧***************"
    "\r\n*                                  *"
    "\r\n* 较好的上涨形态：                    *"
    "\r\n* 5日涨幅大于  10% 小于20%,           *"
    "\r\n* 10日涨幅大于 10%,小于 25%           *"
    "\r\n*                                  *"
    "\r\n***********************************\r\n";

// One screened record with the parts the report reads.
struct Row {
    const StockRecord* record;
    bool hasCode;
    std::string code;  // as printed
    float gain5, gain10;
};

struct GroupEntry {
    std::string name;
    int count = 0;
    std::string members;  // "name(code)" joined by ","
};

// The short names of the code table, "(null)" for codes it lacks.
class Names {
  public:
    explicit Names(const StockNameLookup& lookup) : lookup_(lookup) {}
    std::string of(const Row& row) const {
        std::optional<std::string> name;
        if (row.hasCode && lookup_) name = lookup_(row.code);
        return name.value_or(kMissing);
    }

  private:
    const StockNameLookup& lookup_;
};

// The sector groups with at least one picked stock, most members first.
std::vector<GroupEntry> countGroups(const std::vector<Row>& rows,
                                    const std::vector<std::string>& groupNames,
                                    const Names& names) {
    struct Membership {
        const Row* row;
        std::string group;
    };
    std::vector<Membership> memberships;
    for (const Row& row : rows) {
        if (!row.record->plateGroup) continue;
        const std::string& joined = *row.record->plateGroup;
        for (std::string_view piece : splitOn(joined, ','))
            memberships.push_back({&row, std::string(piece)});
    }
    ChineseCollator collator;
    std::stable_sort(
        memberships.begin(), memberships.end(),
        [&](const Membership& a, const Membership& b) { return collator.less(a.group, b.group); });

    std::vector<GroupEntry> all;
    for (const std::string& name : groupNames) all.push_back({name, 0, ""});
    all.push_back({kNoGroup, 0, ""});
    std::unordered_multimap<std::string, std::size_t> byName;
    for (std::size_t i = 0; i < all.size(); ++i) byName.emplace(all[i].name, i);
    for (const Membership& m : memberships) {
        const std::string member = names.of(*m.row) + "(" + m.row->code + ")";
        auto [first, last] = byName.equal_range(m.group);
        for (auto it = first; it != last; ++it) {
            GroupEntry& g = all[it->second];
            g.members = g.count < 1 ? member : g.members + "," + member;
            ++g.count;
        }
    }

    std::vector<GroupEntry> kept;
    for (GroupEntry& g : all)
        if (g.count > 0) kept.push_back(std::move(g));
    std::stable_sort(kept.begin(), kept.end(),
                     [](const GroupEntry& a, const GroupEntry& b) { return a.count > b.count; });
    return kept;
}

std::vector<StockRecord> firstRecords(const std::vector<Row>& ranked) {
    std::vector<StockRecord> out;
    const std::size_t n = std::min(ranked.size(), kGainsRankingLength);
    for (std::size_t p = 0; p < n; ++p) out.push_back(*ranked[p].record);
    return out;
}

// One ranking section: the lines of the top records above the floor.
void appendRanking(std::string& text, const std::vector<Row>& ranked, float Row::*gain,
                   const Names& names) {
    const std::size_t n = std::min(ranked.size(), kGainsRankingLength);
    for (std::size_t p = 0; p < n; ++p) {
        const Row& row = ranked[p];
        const double g = row.*gain;
        if (g > kRankingFloor)
            text += format("%d:%s(%s) 涨幅为 %.2f%%\r\n", static_cast<int>(p + 1),
                           names.of(row).c_str(), row.code.c_str(), g);
        if (p == 0 && g <= kRankingFloor) text += kNoneSelected;
    }
}

}  // namespace

GainsRankingReport composeGainsRankingReport(const std::vector<StockRecord>& records,
                                             const std::string& date,
                                             const std::vector<std::string>& groupNames,
                                             const StockNameLookup& nameOf) {
    const Names names(nameOf);
    std::vector<Row> rows;
    rows.reserve(records.size());
    for (const StockRecord& record : records) {
        const bool hasCode = !record.code.empty();
        rows.push_back({&record, hasCode, hasCode ? record.code : std::string(kMissing),
                        record.gain5.value_or(0.0f), record.gain10.value_or(0.0f)});
    }

    GainsRankingReport report;
    std::string& text = report.text;
    text += format("沪深涨幅统计信息   日期：%s\r\n\r\n", date.c_str());
    int i = 0;
    for (const GroupEntry& g : countGroups(rows, groupNames, names)) {
        text += format("%d:%s 板块 ", i++, g.name.c_str());
        text += format("  %s  \r\n", g.members.c_str());
    }
    text += kTipBox;

    std::stable_sort(rows.begin(), rows.end(),
                     [](const Row& a, const Row& b) { return a.gain5 > b.gain5; });
    report.fiveDaySort = firstRecords(rows);

    // The buy list scans every record, not only the ranked 30.
    text += "\r\n****************可重点关注买进的个股***************\r\n\r\n";
    int bought = 0;
    for (std::size_t p = 0; p < rows.size(); ++p) {
        const Row& row = rows[p];
        const double g10 = row.gain10, g5 = row.gain5;
        if (kBuyTenDayLow < g10 && g10 < kBuyTenDayHigh && kBuyFiveDayLow < g5 &&
            g5 < kBuyFiveDayHigh) {
            text += format("%d:%s(%s) 5日 涨幅为 %.2f%% 10日涨幅%.2f%%\r\n", ++bought,
                           names.of(row).c_str(), row.code.c_str(), g5, g10);
            report.buy.push_back(*row.record);
        }
        if (p == 0 && g10 <= kRankingFloor) text += kNoneSelected;
    }

    text += "\r\n--------------沪深5日涨幅统计信息 ------------- \r\n";
    appendRanking(text, rows, &Row::gain5, names);

    text += "\r\n--------------沪深10日涨幅统计信息-------------   \r\n";
    std::stable_sort(rows.begin(), rows.end(),
                     [](const Row& a, const Row& b) { return a.gain10 > b.gain10; });
    report.tenDaySort = firstRecords(rows);
    appendRanking(text, rows, &Row::gain10, names);
    return report;
}

GainsReportFiles GainsReportFiles::forDate(const fs::path& gains, const std::string& date) {
    return {gains / (date + "_5GainsSort.plist"), gains / (date + "_buy.plist"),
            gains / (date + "_10GainsSort.plist"), gains / (date + ".txt")};
}

std::optional<std::string> writeGainsRankingReport(const GainsRankingReport& report,
                                                   const GainsReportFiles& files) {
    StagedFileSet set(files.text.parent_path(), "ranking-report");
    set.writeList(files.fiveDaySort.filename(), Value(dictionariesOf(report.fiveDaySort)));
    set.writeList(files.buy.filename(), Value(dictionariesOf(report.buy)));
    set.writeList(files.tenDaySort.filename(), Value(dictionariesOf(report.tenDaySort)));
    set.write(files.text.filename(), report.text);
    return set.promote();
}

GainsReportOutcome sortHuShenGainsForText(QXStockLib& lib,
                                          const std::vector<StockRecord>& records) {
    const std::string date = formatDate(toLocal(now()));
    const CodeTable& table = CodeTable::shared();
    const GainsRankingReport report = composeGainsRankingReport(
        records, date, SectorGroups::shared().getPlateGroupNameArray(),
        [&](std::string_view code) { return table.getStockCodeName(code); });
    const GainsReportFiles files = GainsReportFiles::forDate(getGainsPath(), date);
    {
        const DataFolderLock lock = DataFolderLock::ofDataDirectory();
        if (!lock.held()) return {{}, lock.failure()};
        if (auto failure = writeGainsRankingReport(report, files)) return {{}, std::move(failure)};
    }
    lib.withDelegate(
        [&](QXStockLibUpdateDelegate& d) { d.processUISeletedStockDelegate(report.buy); });
    Workspace::shared()->openFile(files.text);
    return {files.text, std::nullopt};
}

}  // namespace orvane
