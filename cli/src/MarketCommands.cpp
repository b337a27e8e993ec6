// fetch, search, sector and update-reference: the market data layer from the
// command line. Each takes --server (the data server's base URL) and
// --quote-server (the quote service's address).

#include <cstdio>
#include <optional>

#include "CommandSupport.h"
#include "Commands.h"
#include "ProgressBar.h"
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

/// A progress bar on stderr for the earlier days.
class EarlierDaysProgress : public QXStockLibUpdateDelegate {
  public:
    void updateHisdatProgressdDelegate(int done, int total) override {
        bar_.update(static_cast<std::size_t>(done), static_cast<std::size_t>(total));
    }

  private:
    ProgressBar bar_{"earlier days"};
};

void runFetch(const ServerOptions& servers, const std::string& code, std::optional<int> days) {
    requireCode(code);
    applyServers(servers);
    QXStockLib& lib = QXStockLib::defQXStockLib();
    if (!days) {
        auto record = lib.getOneStockDataInfoFormServer(code);
        if (!record) fail("no record for " + code);
        printRecord(*record);
        return;
    }
    EarlierDaysProgress bar;
    lib.setDelegate(&bar);
    const Array records = lib.getLastPassdayDataInfoFormServer(code, *days);
    lib.setDelegate(nullptr);
    if (records.empty()) fail("no record for " + code);
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (i > 0) std::printf("\n");
        printRecord(records[i].dictionary());
    }
}

void runSearch(const std::string& key) {
    for (const Value& entry : CodeTable::shared().searchStockSubKey(normaliseSearchKey(key))) {
        const Dictionary& d = entry.dictionary();
        std::printf("%s\t%s\t%s\n", stringFor(d, keys::STOCK_Code).c_str(),
                    stringFor(d, keys::STOCK_SC_Name).c_str(),
                    stringFor(d, keys::STOCK_pinyin).c_str());
    }
}

void runUpdateReference(const ServerOptions& servers) {
    applyServers(servers);
    const ReferenceCheck check = updateReferenceData();
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
        cmd->callback([=] { runSearch(*key); });
    }
    {
        auto [cmd, servers] = addServerCommand(app, "sector", "print the sector groups of a stock");
        auto code = std::make_shared<std::string>();
        cmd->add_option("CODE", *code, "6-digit stock code")->required();
        cmd->callback([=] {
            requireCode(*code);
            std::printf("%s\n", SectorGroups::shared().getStockPlateProtity(*code).c_str());
        });
    }
    {
        auto [cmd, servers] = addServerCommand(
            app, "update-reference",
            "check the reference-data version and install a newer archive when there is one");
        cmd->callback([=] { runUpdateReference(*servers); });
    }
}

}  // namespace orvane::cli
