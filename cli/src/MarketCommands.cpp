// fetch, search, sector, sectors and update-reference: the market data layer from the
// command line. Each takes --server (the data server's base URL) and
// --quote-server (the quote service's address).

#include <cstdio>
#include <optional>

#include "CommandSupport.h"
#include "Commands.h"
#include "ProgressLine.h"
#include "orvane/core/NumberText.h"
#include "orvane/market/CodeTable.h"
#include "orvane/market/MarketServers.h"
#include "orvane/market/SectorGroups.h"
#include "orvane/market/StockCode.h"
#include "orvane/market/StockKeys.h"
#include "orvane/stocklib/QXStockLib.h"

namespace orvane::cli {

namespace {

void requireCode(const std::string& code) {
    if (!isValidStockCode(code))
        throw CLI::ValidationError("CODE", "错误的股票代码！ a stock code is 6 digits");
}

/// Progress of the earlier days on stderr.
class EarlierDaysProgress : public QXStockLibUpdateDelegate {
  public:
    void updateHisdatProgressdDelegate(int done, int total) override {
        line_.update(static_cast<std::uint64_t>(done), static_cast<std::uint64_t>(total));
    }

  private:
    ProgressLine line_{"fetching the earlier days"};
};

/// Ends a fetch that gave no record, saying why: the data server cannot be
/// reached (a failure), or it can and has none (nothing found).
[[noreturn]] void endWithoutRecord(const std::string& code) {
    const std::string server = MarketServers::shared()->dataServer;
    if (const auto problem = dataServerProblem(5))
        fail("no record for " + code + ": the data server " + server + " cannot be reached (" +
             *problem + "), and no history of " + code +
             " is here to compute it from: start the server or pass --server URL");
    nothingFound("no record for " + code + ": the data server " + server + " has no record of " +
                 code + ": is it a listed stock? (orvane search " + code + ")");
}

/// "600000 浦发银行" on stderr, when the code table knows the stock.
void sayWhichStock(const std::string& code) {
    if (const auto name = CodeTable::shared().getStockCodeName(code))
        std::fprintf(stderr, "%s %s\n", code.c_str(), name->c_str());
}

void runFetch(const ServerOptions& servers, const std::string& code, std::optional<int> days) {
    requireCode(code);
    requireDataDirectory();
    applyServers(servers);
    sayWhichStock(code);
    QXStockLib& lib = QXStockLib::defQXStockLib();
    if (!days) {
        auto record = lib.getOneStockDataInfoFormServer(code);
        if (!record) endWithoutRecord(code);
        printRecord(record->toDictionary());
        return;
    }
    EarlierDaysProgress bar;
    lib.setDelegate(&bar);
    const std::vector<StockRecord> records = lib.getLastPassdayDataInfoFormServer(code, *days);
    lib.setDelegate(nullptr);
    if (records.empty()) endWithoutRecord(code);
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (i > 0) std::printf("\n");
        printRecord(records[i].toDictionary());
    }
}

void runSearch(const ServerOptions& servers, const std::string& typed) {
    const std::string key = normaliseSearchKey(typed);
    if (!isSearchKeyLongEnough(key))
        throw CLI::ValidationError("KEY", "\"" + typed +
                                              "\" is too short: give 4+ digits of a code, 2+ "
                                              "pinyin initials or 2+ characters of a name");
    ensureReferenceData(servers, CodeTable::shared().entryCount() > 0);
    const Array found = CodeTable::shared().searchStockSubKey(key);
    if (found.empty()) nothingFound("no stock matches \"" + typed + "\"");
    for (const Value& entry : found) {
        const Dictionary& d = entry.dictionary();
        std::printf("%s\t%s\t%s\n", stringFor(d, keys::STOCK_Code).c_str(),
                    stringFor(d, keys::STOCK_SC_Name).c_str(),
                    stringFor(d, keys::STOCK_pinyin).c_str());
    }
}

void runSector(const ServerOptions& servers, const std::string& code) {
    requireCode(code);
    SectorGroups& groups = SectorGroups::shared();
    ensureReferenceData(servers, !groups.getPlateGroupNameArray().empty());
    std::printf("%s\n", groups.getStockPlateProtity(code).c_str());
    if (groups.groupsOf(code).empty())
        nothingFound(code + " is in no sector group of the reference data");
}

void runSectors(const ServerOptions& servers) {
    SectorGroups& groups = SectorGroups::shared();
    ensureReferenceData(servers, !groups.getPlateGroupNameArray().empty());
    const std::vector<std::string> names = groups.getPlateGroupNameArray();
    if (names.empty()) nothingFound("the reference data holds no sector group");
    for (const std::string& name : names)
        std::printf("%s\t%d\n", name.c_str(), groups.getPlantGroupNum(name));
}

void runUpdateReference(const ServerOptions& servers, bool reinstall) {
    applyServers(servers);
    const ReferenceCheck check = updateReferenceData(reinstall);
    if (!check.ok) fail(check.message);
    std::printf("%s\n", check.message.c_str());
}

}  // namespace

void addMarketCommands(CLI::App& app) {
    {
        auto [cmd, servers] = addServerCommand(
            app, "fetch",
            "print a stock's record from the data server (computed locally when it "
            "cannot be reached)");
        auto code = std::make_shared<std::string>();
        auto days = std::make_shared<int>(0);
        cmd->add_option("CODE", *code, "6-digit stock code")->required();
        auto* daysOpt =
            cmd->add_option("--days", *days, "also fetch the N earlier days (up to 98)");
        cmd->callback([=] {
            runFetch(*servers, *code, daysOpt->count() ? std::optional<int>(*days) : std::nullopt);
        });
    }
    {
        auto [cmd, servers] =
            addServerCommand(app, "search", "print the code-table candidates for a key");
        auto key = std::make_shared<std::string>();
        cmd->add_option("KEY", *key, "4+ digits, 2+ pinyin letters or 2+ characters of a name")
            ->required();
        addWaitOption({cmd, servers});
        cmd->callback([=] { runSearch(*servers, *key); });
    }
    {
        auto [cmd, servers] = addServerCommand(app, "sector", "print the sector groups of a stock");
        auto code = std::make_shared<std::string>();
        cmd->add_option("CODE", *code, "6-digit stock code")->required();
        addWaitOption({cmd, servers});
        cmd->callback([=] { runSector(*servers, *code); });
    }
    {
        auto [cmd, servers] = addServerCommand(
            app, "sectors", "print every sector group's name and member count, one a line");
        addWaitOption({cmd, servers});
        cmd->callback([=] { runSectors(*servers); });
    }
    {
        auto [cmd, servers] = addServerCommand(
            app, "update-reference",
            "check the reference-data version and install a newer archive when there is one");
        auto reinstall = std::make_shared<bool>(false);
        cmd->add_flag("--force", *reinstall,
                      "install the archive even when the recorded version is current (a "
                      "damaged code table or sector folder)");
        addWaitOption({cmd, servers});
        cmd->callback([=] { runUpdateReference(*servers, *reinstall); });
    }
}

}  // namespace orvane::cli
