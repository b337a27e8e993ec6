#include "orvane/market/ScoreLists.h"

#include <algorithm>

#include "orvane/core/DataDirectory.h"
#include "orvane/core/NumberText.h"
#include "orvane/core/PropertyList.h"
#include "orvane/core/TextSplit.h"
#include "orvane/market/ListText.h"
#include "orvane/market/StockKeys.h"

namespace orvane {

namespace {

/// Lines 1 to L-2 split on ",", those with exactly `fields` fields.
template <typename F>
void forEachListLine(std::string_view text, std::size_t fields, F&& f) {
    const auto lines = splitLines(text);
    for (std::size_t i = 1; i + 1 < lines.size(); ++i) {
        auto parts = splitOn(lines[i], ',');
        if (parts.size() == fields) f(parts);
    }
}

void appendUpTo51(Array& list, const ScoreRecord& r) {
    if (list.size() < 51) list.emplace_back(r.toRecord());
}

}  // namespace

Dictionary ScoreRecord::toRecord() const {
    using namespace keys;
    return Dictionary{{STOCK_Code, code},
                      {STOCK_Trend_ModeB, modeB},
                      {STOCK_SCORE, score},
                      {STOCK_MODE_TYPE, modeType}};
}

std::vector<ScoreRecord> parseScoreRecords(std::string_view text) {
    std::vector<ScoreRecord> records;
    forEachListLine(text, 4, [&](const auto& f) {
        records.push_back({std::string(f[0]), leadingInt(f[1]),
                           static_cast<std::int8_t>(leadingInt(f[2])) != 0, leadingInt(f[3])});
    });
    std::stable_sort(records.begin(), records.end(),
                     [](const auto& a, const auto& b) { return a.score > b.score; });
    return records;
}

ScoreSelection selectScoreLists(const std::vector<ScoreRecord>& sorted) {
    ScoreSelection s;
    for (const auto& r : sorted) {
        if (r.score >= 180) appendUpTo51(s.score, r);
        if (r.modeB && r.score >= 120) appendUpTo51(s.modeB, r);
        if (r.modeType == 4 && r.score >= 130) appendUpTo51(s.doublePao, r);
    }
    return s;
}

std::filesystem::path scoreListPath(const std::filesystem::path& folder, std::string_view name) {
    return folder / ("todayStr_" + std::string(name));
}

bool paserSortResult(std::string_view text, const std::filesystem::path& gainsFolder) {
    if (!isServerListText(text, 4, 0)) return false;
    const ScoreSelection s = selectScoreLists(parseScoreRecords(text));
    writePropertyList(scoreListPath(gainsFolder, "score_Score.plist"), s.score);
    writePropertyList(scoreListPath(gainsFolder, "score_ModeB.plist"), s.modeB);
    writePropertyList(scoreListPath(gainsFolder, "score_DoublePao.plist"), s.doublePao);
    return true;
}

bool paserSortResultForDoublePaoHappend(std::string_view text,
                                        const std::filesystem::path& gainsFolder) {
    if (!isServerListText(text, 2, 0)) return false;
    std::vector<std::pair<std::string, std::int32_t>> records;
    forEachListLine(
        text, 2, [&](const auto& f) { records.emplace_back(std::string(f[0]), leadingInt(f[1])); });
    std::stable_sort(records.begin(), records.end(),
                     [](const auto& a, const auto& b) { return a.second > b.second; });
    Array list;
    for (const auto& [code, score] : records)
        list.emplace_back(Dictionary{{keys::STOCK_Code, code}, {keys::STOCK_SCORE, score}});
    writePropertyList(scoreListPath(gainsFolder, "score_DoublePao_Happend.plist"), list);
    return true;
}

std::filesystem::path smartModeFilePath() {
    return dataPath("smartModeFile.plist");
}

bool isExsitOnSmartFile(std::string_view code, const std::filesystem::path& smartFile) {
    for (const Value& v : readPropertyListArray(smartFile))
        if (v.isString() && v.string() == code) return true;
    return false;
}

void paserSortResultForSmartMode(std::string_view text, const std::filesystem::path& smartFile) {
    const Array stored = readPropertyListArray(smartFile);
    Array updated = stored;
    forEachListLine(text, 2, [&](const auto& f) {
        const bool known = std::any_of(stored.begin(), stored.end(), [&](const Value& v) {
            return v.isString() && v.string() == f[0];
        });
        if (!known) updated.emplace_back(std::string(f[0]));
    });
    writePropertyList(smartFile, updated);
}

}  // namespace orvane
