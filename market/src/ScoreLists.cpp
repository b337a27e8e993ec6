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

std::string scoreListFileName(std::string_view name) {
    return "todayStr_" + std::string(name);
}

std::filesystem::path scoreListPath(const std::filesystem::path& folder, std::string_view name) {
    return folder / scoreListFileName(name);
}

bool isScoreListText(std::string_view text) {
    return isServerListText(text, 4, 0);
}

std::vector<std::pair<std::string, Array>> scoreListFiles(std::string_view text) {
    ScoreSelection s = selectScoreLists(parseScoreRecords(text));
    return {{scoreListFileName("score_Score.plist"), std::move(s.score)},
            {scoreListFileName("score_ModeB.plist"), std::move(s.modeB)},
            {scoreListFileName("score_DoublePao.plist"), std::move(s.doublePao)}};
}

ListIntake paserSortResult(std::string_view text, const std::filesystem::path& gainsFolder) {
    if (!isScoreListText(text)) return {};
    ListIntake intake{true, std::nullopt};
    for (const auto& [name, list] : scoreListFiles(text))
        if (!intake.writeFailure)
            intake.writeFailure = replacePropertyList(gainsFolder / name, list);
    return intake;
}

bool isDoubleCannonListText(std::string_view text) {
    return isServerListText(text, 2, 0);
}

ListIntake paserSortResultForDoublePaoHappend(std::string_view text,
                                              const std::filesystem::path& gainsFolder) {
    if (!isDoubleCannonListText(text)) return {};
    return {true, replacePropertyList(scoreListPath(gainsFolder, "score_DoublePao_Happend.plist"),
                                      doubleCannonRecords(text))};
}

Array doubleCannonRecords(std::string_view text) {
    std::vector<std::pair<std::string, std::int32_t>> records;
    forEachListLine(
        text, 2, [&](const auto& f) { records.emplace_back(std::string(f[0]), leadingInt(f[1])); });
    std::stable_sort(records.begin(), records.end(),
                     [](const auto& a, const auto& b) { return a.second > b.second; });
    Array list;
    for (const auto& [code, score] : records)
        list.emplace_back(Dictionary{{keys::STOCK_Code, code}, {keys::STOCK_SCORE, score}});
    return list;
}

std::filesystem::path smartModeFilePath() {
    return dataPath("smartModeFile.plist");
}

bool isExsitOnSmartFile(std::string_view code, const std::filesystem::path& smartFile) {
    for (const Value& v : readPropertyListArray(smartFile))
        if (v.isString() && v.string() == code) return true;
    return false;
}

std::optional<std::string> paserSortResultForSmartMode(std::string_view text,
                                                       const std::filesystem::path& smartFile) {
    const Array stored = readPropertyListArray(smartFile);
    Array updated = stored;
    forEachListLine(text, 2, [&](const auto& f) {
        const bool known = std::any_of(stored.begin(), stored.end(), [&](const Value& v) {
            return v.isString() && v.string() == f[0];
        });
        if (!known) updated.emplace_back(std::string(f[0]));
    });
    return replacePropertyList(smartFile, updated);
}

}  // namespace orvane
