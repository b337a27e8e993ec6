#pragma once
// The server's whole-market score lists ("score.txt": code, score, model-B
// flag, pattern type; "score_doublePao.txt": code, score; the single-cannon
// list: code, unused) and the short lists and smart-mode file made from
// them. In every list line 0 is a header and the last line is not read.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "orvane/core/Value.h"
#include "orvane/market/ListText.h"

namespace orvane {

struct ScoreRecord {
    std::string code;
    std::int32_t score = 0;
    bool modeB = false;  // the flag's integer as an 8-bit value, non-zero
    std::int32_t modeType = 0;
    /// {STOCK_Code, STOCK_Trend_ModeB, STOCK_SCORE, STOCK_MODE_TYPE}.
    Dictionary toRecord() const;
};

/// The 4-field lines, best score first (equal scores in file order).
std::vector<ScoreRecord> parseScoreRecords(std::string_view text);

/// The three short lists, each best first and at most 51 long.
struct ScoreSelection {
    Array score;      // score >= 180
    Array modeB;      // model-B flag and score >= 120
    Array doublePao;  // pattern type 4 and score >= 130
};
ScoreSelection selectScoreLists(const std::vector<ScoreRecord>& sorted);

/// "todayStr_<name>", a list's file name in the Gains folder.
std::string scoreListFileName(std::string_view name);
/// "<folder>/todayStr_<name>".
std::filesystem::path scoreListPath(const std::filesystem::path& folder, std::string_view name);

/// Whether the text is a score list ("score.txt") at all, not an error
/// page or garbage.
bool isScoreListText(std::string_view text);
/// The three short lists of a score list by file name:
/// "todayStr_score_Score.plist", "..._ModeB.plist", "..._DoublePao.plist".
std::vector<std::pair<std::string, Array>> scoreListFiles(std::string_view text);
/// Writes the three short lists into the folder. A text that is no score
/// list (an error page, garbage) leaves them as they were.
ListIntake paserSortResult(std::string_view text, const std::filesystem::path& gainsFolder);

/// Whether the text is a double-cannon list ("score_doublePao.txt").
bool isDoubleCannonListText(std::string_view text);
/// Every 2-field line {STOCK_Code, STOCK_SCORE}, best first.
Array doubleCannonRecords(std::string_view text);
/// Writes doubleCannonRecords to "score_DoublePao_Happend.plist"; a text
/// that is no such list writes nothing.
ListIntake paserSortResultForDoublePaoHappend(std::string_view text,
                                              const std::filesystem::path& gainsFolder);

/// "smartModeFile.plist" in the data directory.
std::filesystem::path smartModeFilePath();
/// Appends field 0 of every 2-field line unless the file as stored before
/// this call holds it (so a new code listed twice is appended twice).
/// Nothing once written, else what went wrong.
std::optional<std::string> paserSortResultForSmartMode(std::string_view text,
                                                       const std::filesystem::path& smartFile);
bool isExsitOnSmartFile(std::string_view code, const std::filesystem::path& smartFile);

}  // namespace orvane
