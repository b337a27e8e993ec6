#include "orvane/reports/MarketReport.h"

#include <algorithm>

#include "orvane/analysis/AnalysisSession.h"
#include "orvane/core/Clock.h"
#include "orvane/core/DataDirectory.h"
#include "orvane/core/Log.h"
#include "orvane/core/NotificationBus.h"
#include "orvane/core/NotificationNames.h"
#include "orvane/core/ProgressPanel.h"
#include "orvane/core/StagedFileSet.h"
#include "orvane/core/StringTable.h"
#include "orvane/market/CodeTable.h"
#include "orvane/market/SectorGroups.h"
#include "orvane/market/StockCode.h"

namespace orvane {

namespace fs = std::filesystem;

namespace {

// A sector report and its ranked groups, staged to replace the old files.
void stageSectorReport(const char* textName, const char* listName, const SectorReport& report,
                       StagedFileSet& files) {
    files.write(textName, report.text);
    Array records;
    records.reserve(report.count.ranked.size());
    for (const GroupCount& g : report.count.ranked) records.emplace_back(g.toRecord());
    files.writeList(listName, Value(std::move(records)));
}

// The sell-signal messages of the held stocks against the falling sectors.
std::string sellSignalNotice(const SectorReport& falling) {
    std::string notice;
    if (falling.count.ranked.empty()) return notice;
    for (const std::string& code : getMyHoldArray()) {
        const std::string name = CodeTable::shared().getStockCodeName(code).value_or("");
        const SellSignal s = getStockSellSingal(
            code, SectorGroups::shared().getMyPlateProprityFormCode(code), falling.count.ranked);
        if (s.signal != 1 && s.signal != 10) continue;
        const GroupCount& g = falling.count.ranked[static_cast<std::size_t>(s.index)];
        notice += noticeDown2(g.name, g.reportShare(), name, code,
                              getStockPercentRaise(code, falling.count.memberships));
    }
    return notice;
}

}  // namespace

std::string noticeDown2(const std::string& group, double share, const std::string& name,
                        const std::string& code, double percent) {
    return format(localizedString("noticeDown2").c_str(), group.c_str(), share, name.c_str(),
                  code.c_str(), percent);
}

void postSellSignalNotice(const void* engine, const std::string& sellSignal) {
    if (!sellSignal.empty())
        NotificationBus::shared().post(notifications::Notifiation_Stock_rasieDown, engine,
                                       Dictionary{{StockSellSignal, sellSignal}});
}

std::vector<std::string> getMyHoldArray() {
    std::vector<std::string> codes;
    std::error_code ec;
    for (fs::directory_iterator it(getHoldStockPath(), ec); !ec && it != fs::directory_iterator();
         it.increment(ec))
        if (isValidStockCode(it->path().stem().string()))
            codes.push_back(it->path().stem().string());
    std::sort(codes.begin(), codes.end());
    return codes;
}

std::string marketReportAnalyse_SortUP(AnalysisSession& session,
                                       const std::vector<StockRecord>& rising,
                                       std::int32_t& sortUpPlant, StagedFileSet& files) {
    const auto panel = ProgressPanel::shared();
    panel->setIndicatorCurrentProgress(40);
    std::int32_t score = session.getMarkScore();
    const SectorReport up =
        risingSectorReport(rising, SectorGroups::shared(), score, toLocal(now()));
    stageSectorReport("todayStr.txt", "todayplte_SortUp.Plist", up, files);
    session.setMarkScore(score);
    sortUpPlant = up.strong;
    panel->setIndicatorCurrentProgress(70);
    return up.text;
}

std::string marketReportAnalyse_SortDown(AnalysisSession& session,
                                         const std::vector<StockRecord>& falling,
                                         std::int32_t& sortDownPlant, StagedFileSet& files,
                                         std::string& sellSignal) {
    const auto panel = ProgressPanel::shared();
    panel->setIndicatorCurrentProgress(72);
    std::int32_t score = session.getMarkScore();
    const SectorReport down = fallingSectorReport(falling, SectorGroups::shared(), score);
    session.setMarkScore(score);
    sortDownPlant = down.strong;
    ORVANE_LOG("g_markScore =%d indexPlateDownNum=%d", score, down.strong);
    sellSignal = sellSignalNotice(down);
    stageSectorReport("todayStr_Down.txt", "todayplte_SortDown.Plist", down, files);
    panel->setIndicatorCurrentProgress(95);
    return down.text;
}

StyledText calMarketScore(AnalysisSession& session, const std::vector<StockRecord>& rising,
                          const std::vector<StockRecord>& falling, StagedFileSet& files,
                          std::string& risingReport, std::string& sellSignal) {
    session.setMarkScore(100);

    ProgressPanel::shared()->setIndicatorCurrentProgress(35);
    std::int32_t strongUp = 0;
    risingReport = marketReportAnalyse_SortUP(session, rising, strongUp, files);

    std::int32_t strongDown = 0;
    const std::string downText =
        marketReportAnalyse_SortDown(session, falling, strongDown, files, sellSignal);
    ORVANE_LOG("下跌:%s", downText.c_str());

    const std::int32_t score = session.getMarkScore();
    StyledText line = marketStatusLine(strongUp, strongDown, rising.size(), falling.size(), score);
    ORVANE_LOG("g_markScore =%d %s", score, line.text.c_str());
    return line;
}

}  // namespace orvane
