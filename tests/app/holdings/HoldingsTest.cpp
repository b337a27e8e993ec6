// The holdings tab: the rows' rules over a table of cases, the folder's bad
// files and the codes it refuses, and the tab end to end against the
// project's data server with a live quote service (added, moved without a
// press of the refresh button, selected, opened, sorted, deleted).

#include <gtest/gtest.h>

#include <QHeaderView>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

#include "PublishedMarket.h"
#include "holdings/HoldingFiles.h"
#include "holdings/HoldingRows.h"
#include "holdings/MyStockHoldController.h"
#include "orvane/core/AtomicFile.h"
#include "orvane/core/DataDirectory.h"
#include "orvane/core/NotificationBus.h"
#include "orvane/core/TextEncoding.h"
#include "orvane/market/CodeTable.h"
#include "orvane/market/MarketServers.h"
#include "orvane/stocklib/QXStockLib.h"
#include "platform/QtMainThreadDispatcher.h"
#include "ui_MyStockHoldController.h"

using namespace orvane;
using namespace orvane::app;
namespace fs = std::filesystem;

namespace {

StockRecord quote(const char* code, const char* close, const char* yesClose, const char* low) {
    return StockRecord::fromDictionary({{"STOCK_Code", code},
                                        {"STOCK_SC_Name", "名"},
                                        {"STOCK_closePrice", close},
                                        {"STOCK_YesClosePrice", yesClose},
                                        {"STOCK_LowPrice", low},
                                        {"STOCK_OpenPrice", "1.00"}});
}

std::vector<std::string> codes(const HoldingList& rows) {
    std::vector<std::string> out;
    for (const auto& r : rows) out.push_back(r.code);
    return out;
}

const Rgb green = colours::fallingGreen;

/// The data directory's code table, listing the stocks given.
void writeCodeTable(const std::vector<std::string>& codes) {
    std::string lines;
    for (const std::string& code : codes) lines += code + "\t股票" + code + "\tGP\n";
    const fs::path file = CodeTable::shared().file();
    fs::create_directories(file.parent_path());
    writeFileAtomically(file, *utf8ToUtf16(lines));
}

}  // namespace

TEST(HoldingRows, PercentSpeedAndColours) {
    struct Case {
        const char *close, *yesClose, *low, *percent;
        Rgb percentColour;
        const char* speed;
        Rgb speedColour;
    };
    for (const Case& c : {
             Case{"0.00", "10.00", "0.00", "停 牌", colours::red, "0.00", green},  // suspended
             Case{"10.25", "10.00", "10.00", "+2.50%", colours::red, "2.50", green},
             Case{"9.88", "10.00", "9.80", "-1.20%", green, "0.82", green},
             Case{"26.00", "30.00", "25.00", "-13.33%", green, "4.00",
                  colours::red},  // 4.0 is fast
             Case{"25.99", "30.00", "25.00", "-13.37%", green, "3.96", green},
             Case{"5.00", "0", "4.00", "0.00%", colours::red, "0.00", green},  // no previous close
             Case{"0.01", "10.00", "9.00", "-99.90%", green, "0.00", green},   // below 0.011
         }) {
        const StockRecord row = quote("600000", c.close, c.yesClose, c.low);
        const HoldingCell percent = holdingCell(row, holdingColumns::pricePercentChanged);
        const HoldingCell speed = holdingCell(row, holdingColumns::speedValue);
        EXPECT_EQ(percent.text, c.percent) << c.close;
        EXPECT_EQ(percent.colour, c.percentColour) << c.close;
        EXPECT_EQ(percent.font, std::string(c.percent) == kSuspendedText ? HoldingFont::Table
                                                                         : HoldingFont::BoldSystem);
        EXPECT_EQ(speed.text, c.speed) << c.close;
        EXPECT_EQ(speed.colour, c.speedColour) << c.close;
    }
    const StockRecord row = quote("600000", "10.25", "10.00", "10.00");
    EXPECT_EQ(holdingCell(row, "STOCK_Code"),
              (HoldingCell{"名 (600000)", HoldingFont::Label, colours::black}));
    EXPECT_EQ(holdingCell(row, "Price_Changed").text, "0.25");
    EXPECT_EQ(holdingCell(row, "STOCK_OpenPrice"),
              (HoldingCell{"1.00", HoldingFont::Label, green}));
}

TEST(HoldingRows, ImpossiblePricesShowADashAndSortAfterTheOthers) {
    namespace col = holdingColumns;
    // What a holding file holds when the quote service was down, or worse.
    for (const auto& [close, yesClose, low] : {
             std::tuple{"nan", "10.00", "9.00"},
             {"-1e308", "10.00", "9.00"},
             {"-inf", "10.00", "9.00"},
             {"10.00", "inf", "9.00"},
             {"10.00", "10.00", "NaN"},
             {"1e30", "10.00", "9.00"},
             {"-1", "10.00", "9.00"},
         }) {
        const StockRecord row = quote("600000", close, yesClose, low);
        for (const char* column :
             {col::STOCK_closePrice, col::pricePercentChanged, col::Price_Changed, col::speedValue})
            EXPECT_EQ(holdingCell(row, column).text, kNoQuoteName)
                << close << " " << yesClose << " " << low << " " << column;
        EXPECT_EQ(holdingCell(row, col::STOCK_Code).text, "名 (600000)");
    }
    // A high but believable quote keeps its figures.
    EXPECT_EQ(
        holdingCell(quote("600000", "2600.00", "2590.00", "2580.00"), col::STOCK_closePrice).text,
        "2600.00");

    // Rows without believable figures never unsettle the order of the others.
    HoldingList rows{quote("000004", "nan", "10", "10"), quote("000001", "10.25", "10", "10"),
                     quote("000005", "10", "10", "-inf"), quote("000002", "10.50", "10", "10.20"),
                     quote("000003", "0", "10", "10")};
    sortHoldingsBySpeed(rows);
    EXPECT_EQ(codes(rows),
              (std::vector<std::string>{"000002", "000001", "000003", "000004", "000005"}));
}

TEST(HoldingRows, TheColumnSortAlternatesItsDirection) {
    // Speeds: 000001 2.5, 000002 5.0 (from the previous close below the low), 000003 no price.
    HoldingList rows{quote("000003", "0", "10", "10"), quote("000001", "10.25", "10", "10"),
                     quote("000002", "10.50", "10", "10.20")};
    bool ascending = false;
    struct Click {
        const char* column;
        SortIndicator indicator;
        std::vector<std::string> order;
    };
    for (const Click& click : {
             Click{"speedValue", SortIndicator::Descending, {"000002", "000001", "000003"}},
             Click{"speedValue", SortIndicator::Ascending, {"000003", "000001", "000002"}},
             // The direction is shared: another column's first click now sorts descending.
             Click{
                 "pricePercentChanged", SortIndicator::Descending, {"000002", "000001", "000003"}},
             Click{"STOCK_Code", SortIndicator::Ascending, {"000001", "000002", "000003"}},
             Click{"STOCK_closePrice", SortIndicator::Descending, {"000002", "000001", "000003"}},
         }) {
        EXPECT_EQ(sortHoldingsByColumn(rows, click.column, ascending), click.indicator);
        EXPECT_EQ(codes(rows), click.order) << click.column;
    }
}

TEST(HoldingFiles, FilesWithoutAQuoteStayAndAreListedByCodeOnly) {
    test::TempDataDir dir;
    const fs::path folder = getHoldStockPath();
    const std::string line600000 = "var hq_str_sh600000=\"PF,1,10.00,10.10,10.20,9.90" +
                                   std::string(25, ',') + "2025-12-05,15:00:00,00\";";
    writeFileAtomically(folder / "600000.txt", line600000);
    writeFileAtomically(folder / "600004.txt", line600000);  // another stock's quote
    writeFileAtomically(folder / "600006.txt", "");
    writeFileAtomically(folder / "600007.txt",
                        std::string("\x00\x01,\xff=\"", 6) + std::string(40, ','));
    writeFileAtomically(folder / "999999.txt", "var hq_str_sz999999=\"\";");  // no such stock
    writeFileAtomically(folder / "notes.txt", "not a holding");
    // A quote followed by blank lines is read up to the size limit, not beyond.
    const auto quoteWithTail = [&](const char* code, std::uintmax_t size) {
        std::string text = "var hq_str_sh" + std::string(code) + line600000.substr(19);
        text.resize(static_cast<std::size_t>(size), '\n');
        writeFileAtomically(folder / (std::string(code) + ".txt"), text);
    };
    quoteWithTail("600001", kHoldingFileLimit);
    quoteWithTail("600008", kHoldingFileLimit + 1);
    HoldingList rows = readHoldings(folder);
    ASSERT_EQ(codes(rows), (std::vector<std::string>{"600000", "600001", "600004", "600006",
                                                     "600007", "600008", "999999"}));
    EXPECT_TRUE(hasQuote(rows[1]));
    rows.erase(rows.begin() + 1);
    EXPECT_TRUE(hasQuote(rows[0]));
    for (std::size_t i = 1; i < rows.size(); ++i) {
        EXPECT_FALSE(hasQuote(rows[i]));
        EXPECT_EQ(holdingCell(rows[i], holdingColumns::STOCK_Code).text,
                  "— (" + codes(rows)[i] + ")");
        for (const char* column : {holdingColumns::pricePercentChanged, holdingColumns::speedValue,
                                   holdingColumns::STOCK_closePrice})
            EXPECT_EQ(holdingCell(rows[i], column).text, "") << column;
    }
    for (const char* code : {"600000", "600004", "600006", "600007", "600008", "999999"}) {
        EXPECT_TRUE(fs::exists(holdingFile(folder, code))) << code;
        EXPECT_TRUE(holdsStock(folder, code));
    }
    EXPECT_FALSE(holdsStock(folder, "600009"));
}

TEST(HoldingFiles, OnlyCodesOfTheCodeTableAreHeld) {
    test::TempDataDir dir;
    CodeTable table(dir.path() / "code.txt");
    writeFileAtomically(table.file(),
                        *utf8ToUtf16("600000\t浦发银行\tPFYH\n600006\t东风汽车\tDFQC\n"));
    EXPECT_EQ(refusalToHold("600000", table), std::nullopt);
    EXPECT_EQ(refusalToHold("999999", table), "999999 不在股票代码表中，没有加入持仓");
    EXPECT_TRUE(refusalToHold("60000", table));  // a part of a listed code
    // The table as the file is now: a stock listed later is accepted at once.
    writeFileAtomically(table.file(), *utf8ToUtf16("600000\t浦发银行\tPFYH\n999999\t某某\tMM\n"));
    EXPECT_EQ(refusalToHold("999999", table), std::nullopt);
}

TEST(HoldingsTab, AddedAnywhereThenMovedByTheLiveQuotesSelectedOpenedSortedAndDeleted) {
    test::FixedNow morning(2025, 12, 8, 10, 0, 0);  // a Monday in the session
    test::ServedTree served("/orvane", server::LiveMarket::SessionHours);
    const auto market = test::publishSyntheticMarket(served, 3, *parseDate("2025-12-05"), 40, 0);
    ASSERT_EQ(market.size(), 3u);
    auto dispatcher = std::make_shared<QtMainThreadDispatcher>(QCoreApplication::instance());
    MainThreadDispatcher::install(dispatcher);
    MarketServers::install(std::make_shared<MarketServers>(served.url("/orvane"), served.url("/")));
    std::vector<std::string> listed;
    for (const auto& stock : market) listed.push_back(stock.listing.code);
    writeCodeTable(listed);
    {
        // Off screen, as when a stock is added from another tab.
        MyStockHoldController tab(nullptr, std::chrono::milliseconds(200));
        Ui::MyStockHoldController& ui = tab.ui();
        QSignalSpy status(&tab, &MyStockHoldController::statusMessage);
        QSignalSpy picked(&tab, &MyStockHoldController::stockPicked);
        const fs::path folder = getHoldStockPath();
        const std::string a = market[0].listing.code, b = market[1].listing.code;

        // A code outside the code table is refused, with the reason.
        EXPECT_FALSE(tab.addOneStockToMyStockList("999999"));
        ASSERT_EQ(status.count(), 1);
        EXPECT_EQ(status[0][0].toString(), "999999 不在股票代码表中，没有加入持仓");
        EXPECT_FALSE(fs::exists(holdingFile(folder, "999999")));
        EXPECT_FALSE(tab.isRefreshing());

        // Added: the rows appear and follow the quotes with no reload asked
        // and no press of the refresh button.
        EXPECT_TRUE(tab.addOneStockToMyStockList(a));
        EXPECT_TRUE(tab.addOneStockToMyStockList(b));
        EXPECT_TRUE(tab.isRefreshing());
        auto recordOf = [&](const std::string& code) {
            for (const auto& r : tab.myHoldStockList())
                if (r.code == code) return r;
            return StockRecord{};
        };
        auto priceOf = [&](const std::string& code) { return recordOf(code).close(); };
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return ui.myStockTableView->model()->rowCount() == 2 && priceOf(b) > 0; }, 5000));
        EXPECT_TRUE(ui.refreshStockBtn->isEnabled());
        EXPECT_FALSE(ui.deleteStockBtn->isEnabled());
        EXPECT_FALSE(tab.addOneStockToMyStockList(a));  // held already

        // Five minutes later the quote service answers another price.
        const float before = priceOf(a);
        Clock::install(std::make_shared<FixedClock>(fromLocal({2025, 12, 8, 10, 5, 0, 1})));
        QXStockLib::defQXStockLib().handDownloadMyStockProcess();
        ASSERT_TRUE(QTest::qWaitFor([&] { return priceOf(a) != before; }, 5000));
        const float yesClose = recordOf(a).yesClose();
        EXPECT_NEAR(priceOf(a), yesClose, yesClose * 0.1 + 0.01);

        // Selecting and opening a row.
        std::vector<Notification> notices;
        ScopedObserver observer(NotificationBus::shared(), "", [&](const Notification& n) {
            if (n.object == &tab) notices.push_back(n);
        });
        const HoldingList shown = tab.myHoldStockList();
        ui.myStockTableView->selectRow(1);
        ASSERT_EQ(notices.size(), 1u);
        EXPECT_EQ(notices[0].name, "Notifiation_GetStockStatus");
        EXPECT_EQ(notices[0].userInfo, (Dictionary{{"STOCK_Code", shown[1].code}}));
        tab.DoubleClickAction();
        ASSERT_EQ(notices.size(), 2u);
        EXPECT_EQ(notices[1].name, "Notifiation_DoubleClickStock");
        EXPECT_EQ(notices[1].userInfo, shown[1].toDictionary());
        ASSERT_EQ(picked.count(), 1);
        EXPECT_EQ(picked[0][0].toString().toStdString(), shown[1].code);
        EXPECT_EQ(picked[0][1].toString().toStdString(), shown[1].name.value_or(""));
        QTest::qWait(50);
        EXPECT_TRUE(ui.deleteStockBtn->isEnabled());

        // The speed column's header: first click descending, then ascending;
        // the rebuilds keep that order.
        QHeaderView* header = ui.myStockTableView->horizontalHeader();
        tab.didClickTableColumn(4);
        EXPECT_EQ(header->sortIndicatorOrder(), Qt::DescendingOrder);
        tab.didClickTableColumn(4);
        EXPECT_EQ(header->sortIndicatorOrder(), Qt::AscendingOrder);
        EXPECT_EQ(header->sortIndicatorSection(), 4);
        const std::vector<std::string> ascending = codes(tab.myHoldStockList());
        QTest::qWait(500);  // two rebuilds
        EXPECT_EQ(codes(tab.myHoldStockList()), ascending);

        // A holding file without a quote, such as an unknown code's: a row by
        // its code only, no notices, and it can be deleted.
        writeFileAtomically(holdingFile(folder, "999999"), "var hq_str_sz999999=\"\";");
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return ui.myStockTableView->model()->rowCount() == 3; }, 5000));
        const auto& model = *ui.myStockTableView->model();
        int unknown = -1;
        for (int row = 0; row < 3; ++row)
            if (model.index(row, 0).data().toString() == "— (999999)") unknown = row;
        ASSERT_GE(unknown, 0);
        notices.clear();
        ui.myStockTableView->selectRow(unknown);
        QTest::qWait(50);
        tab.DoubleClickAction();
        EXPECT_TRUE(notices.empty());
        EXPECT_EQ(picked.count(), 1);
        ui.deleteStockBtn->click();
        EXPECT_FALSE(fs::exists(holdingFile(folder, "999999")));

        // Deleting the selected row; the loop stops with the tab.
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return ui.myStockTableView->model()->rowCount() == 2; }, 5000));
        ui.myStockTableView->selectRow(0);
        QTest::qWait(50);
        const std::string deleted = tab.myHoldStockList()[0].code;
        ui.deleteStockBtn->click();
        EXPECT_FALSE(tab.isExsitOnHoldStockArray(deleted));
        EXPECT_EQ(tab.myHoldStockList().size(), 1u);
        QTest::qWait(50);
        EXPECT_FALSE(ui.deleteStockBtn->isEnabled());
    }
    MarketServers::install(nullptr);
    MainThreadDispatcher::install(nullptr);
}
