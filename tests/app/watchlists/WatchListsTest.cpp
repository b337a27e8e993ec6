// The watch lists: the groups' rules, their file (round trip, refusals, a
// bad file set aside), the quote answer and the cells worked out by hand,
// and the tab against the project's data server.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QHeaderView>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

#include "ServedMarketTest.h"
#include "TempDataDir.h"
#include "orvane/core/AtomicFile.h"
#include "orvane/core/ChineseCollation.h"
#include "orvane/core/Clock.h"
#include "orvane/core/LocalTime.h"
#include "watchlists/WatchListController.h"
#include "watchlists/WatchListFile.h"
#include "watchlists/WatchListModel.h"
#include "watchlists/WatchRows.h"

using namespace orvane;
using namespace orvane::app;
namespace fs = std::filesystem;

namespace {

WatchLists listsOf(std::initializer_list<WatchGroup> groups) {
    WatchLists lists;
    for (const WatchGroup& g : groups) {
        EXPECT_EQ(lists.create(g.name), std::nullopt);
        for (const std::string& code : g.codes) EXPECT_EQ(lists.add(code, g.name), std::nullopt);
    }
    return lists;
}

std::string quoteLine(const std::string& code, const std::string& fields) {
    return "var hq_str_" + std::string(code[0] == '6' ? "sh" : "sz") + code + "=\"" + fields +
           ",0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,2026-12-08,10:30:00,00\";\n";
}

}  // namespace

TEST(WatchLists, NamesMayBeNeitherEmptyNorRepeated) {
    WatchLists lists = listsOf({{"银行", {}}, {"科技", {}}});
    const struct {
        const char* name;
        std::optional<std::string> refusal;
    } cases[] = {
        {"", "分组名称不能为空"},         {" \u3000 ", "分组名称不能为空"},
        {"银行", "已有名为“银行”的分组"}, {"\u3000银行 ", "已有名为“银行”的分组"},
        {"消费", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(lists.refusalOfName(c.name), c.refusal) << c.name;

    EXPECT_EQ(lists.rename("银行", " 银行"), std::nullopt);  // its own name again
    EXPECT_EQ(lists.rename("银行", "科技"), "已有名为“科技”的分组");
    EXPECT_EQ(lists.rename("银行", " 金融 "), std::nullopt);
    EXPECT_EQ(lists.groupNames(), (std::vector<std::string>{"金融", "科技"}));
    EXPECT_EQ(lists.rename("银行", "x"), "没有名为“银行”的分组");
}

TEST(WatchLists, CodesAndTheGroupsOrder) {
    WatchLists lists = listsOf({{"a", {"600000", "000001"}}, {"b", {"000001"}}, {"c", {}}});
    EXPECT_EQ(lists.add("600000", "a"), std::nullopt);  // listed once
    EXPECT_EQ(lists.group("a")->codes, (std::vector<std::string>{"600000", "000001"}));
    EXPECT_EQ(lists.add("60000x", "a"), "60000x 不是股票代码");
    EXPECT_EQ(lists.allCodes(), (std::vector<std::string>{"600000", "000001"}));
    EXPECT_EQ(lists.removeCode("000001", "a"), std::nullopt);
    EXPECT_EQ(lists.group("a")->codes, std::vector<std::string>{"600000"});

    EXPECT_EQ(lists.move("c", -1), std::nullopt);
    EXPECT_EQ(lists.groupNames(), (std::vector<std::string>{"a", "c", "b"}));
    EXPECT_EQ(lists.move("c", -5), std::nullopt);  // kept inside the list
    EXPECT_EQ(lists.groupNames(), (std::vector<std::string>{"c", "a", "b"}));
    EXPECT_EQ(lists.move("c", 2), std::nullopt);
    EXPECT_EQ(lists.groupNames(), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(lists.remove("b"), std::nullopt);
    EXPECT_EQ(lists.groupNames(), (std::vector<std::string>{"a", "c"}));
}

TEST(WatchListFile, RoundTripAndTheFilesItSetsAside) {
    test::TempDataDir dir;
    const fs::path file = watchListFile();
    // Missing: the default group, nothing to report.
    WatchListRead read = readWatchLists(file);
    EXPECT_EQ(read.lists, WatchLists::withDefaultGroup());
    EXPECT_EQ(read.note, "");

    const WatchLists lists = listsOf({{"银行", {"600000", "601398"}}, {"空", {}}});
    ASSERT_EQ(saveWatchLists(lists, file), std::nullopt);
    read = readWatchLists(file);
    EXPECT_EQ(read.lists, lists);
    EXPECT_EQ(read.note, "");

    // The menus' functions edit the same file.
    EXPECT_EQ(watchGroups(), (std::vector<std::string>{"银行", "空"}));
    EXPECT_EQ(addToWatchGroup("000001", "空"), std::nullopt);
    EXPECT_EQ(removeFromWatchGroup("600000", "银行"), std::nullopt);
    EXPECT_EQ(addToWatchGroup("000001", "无"), "没有名为“无”的分组");
    EXPECT_EQ(readWatchLists(file).lists, listsOf({{"银行", {"601398"}}, {"空", {"000001"}}}));

    // Files the program never writes are set aside, with a note.
    auto plist = [&](const std::string& groups) {
        return "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>groups</key><array>" +
               groups + "</array></dict></plist>";
    };
    auto groupXml = [&](const char* name, const char* code) {
        return "<dict><key>name</key><string>" + std::string(name) +
               "</string><key>codes</key><array><string>" + code + "</string></array></dict>";
    };
    for (const std::string& bytes : std::vector<std::string>{
             "not a list", plist(groupXml("a", "600000") + groupXml("a", "000001")),
             plist(groupXml("", "600000")), plist(groupXml("a", "12345"))}) {
        ASSERT_TRUE(writeFileAtomically(file, bytes));
        read = readWatchLists(file);
        EXPECT_EQ(read.lists, WatchLists::withDefaultGroup()) << bytes;
        EXPECT_TRUE(read.note.starts_with("文件 WatchLists.plist ")) << read.note;
        EXPECT_FALSE(fs::exists(file));
    }
    int setAside = 0;
    for (const auto& entry : fs::directory_iterator(file.parent_path()))
        setAside += entry.path().filename().string().starts_with("WatchLists.plist.unreadable-");
    EXPECT_EQ(setAside, 4);
}

TEST(WatchRows, QuoteAnswerAndCellsWorkedOutByHand) {
    const std::string answer =
        quoteLine("600000", "浦发银行,10.20,10.00,10.50,10.80,9.90,10.49,10.50,1234500,130000000") +
        "var hq_str_sh600001=\"\";\n" +                                     // no quote
        quoteLine("000001", "平安银行,0.00,12.00,0.00,0.00,0.00,0,0,0,0");  // suspended
    const auto quotes = watchQuotesOf(answer);
    ASSERT_EQ(quotes.size(), 2u);
    const WatchQuote& q = quotes.at("600000");
    EXPECT_EQ(q.record.name, "浦发银行");
    EXPECT_EQ(q.volumeShares, 1234500.0);
    EXPECT_EQ(q.amountYuan, 130000000.0);

    StockRecord verdict;
    verdict.trend = 1000;
    verdict.score = 187;
    verdict.modeB = true;
    const WatchRow row{"600000", q, verdict};
    using C = WatchColumn;
    const Rgb up = colours::risingRed, down = colours::fallingGreen, plain = colours::black;
    const struct {
        C column;
        RowCell cell;
    } cases[] = {
        {C::Price, {"10.50", up}},      {C::Percent, {"+5.00%", up}},
        {C::Change, {"+0.50", up}},     {C::Open, {"10.20", up}},
        {C::Low, {"9.90", down}},       {C::YesClose, {"10.00", plain}},
        {C::Volume, {"1.23万", plain}},  // 12,345 lots
        {C::Amount, {"1.30亿", plain}}, {C::Amplitude, {"9.00%", plain}},
        {C::Score, {"187", plain}},     {C::ModeB, {"是", colours::red}},
        {C::VolumeRatio, {"—", plain}},
    };
    for (const auto& c : cases) EXPECT_EQ(watchCell(row, c.column), c.cell) << c.cell.text;
    EXPECT_NE(watchCell(row, C::Trend).text, "—");
    // 涨速 is the move over the last five minutes the list saw, as in the
    // market table; none seen yet is no figure.
    EXPECT_EQ(watchCell(row, C::Speed).text, "—");
    WatchListModel model;
    model.setCodes({"600000"});
    Clock::install(std::make_shared<FixedClock>(fromLocal({2026, 12, 8, 10, 0, 0, 1})));
    model.setQuotes({{"600000", q}});
    WatchQuote later = q;
    later.record.closePrice = "10.71";  // +2.00% over 10.50 five minutes before
    Clock::install(std::make_shared<FixedClock>(fromLocal({2026, 12, 8, 10, 5, 0, 1})));
    model.setQuotes({{"600000", later}});
    const int speedColumn =
        static_cast<int>(std::find_if(watchColumns().begin(), watchColumns().end(),
                                      [](const auto& c) { return c.column == C::Speed; }) -
                         watchColumns().begin());
    EXPECT_EQ(model.cell(0, speedColumn), (RowCell{"2.00%", up}));
    Clock::install(std::make_shared<SystemClock>());

    const WatchRow suspended{"000001", quotes.at("000001"), {}};
    EXPECT_EQ(watchCell(suspended, C::Percent).text, "停牌");
    EXPECT_EQ(watchCell(suspended, C::Price).text, "—");
    EXPECT_EQ(watchCell(suspended, C::YesClose).text, "12.00");
    EXPECT_EQ(watchCell(suspended, C::Score).text, "—");
    EXPECT_TRUE(std::isnan(watchSortKey(suspended, C::Percent)));
    const WatchRow unquoted{"600001", {}, {}};
    EXPECT_EQ(watchCell(unquoted, C::Name).text, "—");
    EXPECT_EQ(watchCell(unquoted, C::Amount).text, "—");
}

class WatchListTab : public test::ServedMarketTest {};

TEST_F(WatchListTab, GroupsStocksQuotesVerdictsAndEveryColumnSorts) {
    WatchListController tab(nullptr, std::chrono::milliseconds(200));
    QSignalSpy status(&tab, &WatchListController::statusMessage);
    EXPECT_EQ(tab.currentGroup(), "自选股");
    EXPECT_EQ(tab.createGroup(" "), "分组名称不能为空");
    EXPECT_EQ(tab.createGroup("自选股"), "已有名为“自选股”的分组");
    EXPECT_EQ(status.count(), 2);
    ASSERT_EQ(tab.createGroup("观察"), std::nullopt);
    EXPECT_EQ(tab.currentGroup(), "观察");
    EXPECT_EQ(tab.moveGroup(-1), std::nullopt);
    EXPECT_EQ(tab.groupBox()->itemText(0), "观察");

    std::vector<std::string> codes;
    // Added in no order of their codes: the group keeps the order of adding.
    for (std::size_t i : {1, 2, 0, 3}) codes.push_back(market()[i].listing.code);
    for (const std::string& code : codes)
        ASSERT_EQ(tab.addCode(QString::fromStdString(code)), std::nullopt);
    WatchListModel& model = *tab.model();
    ASSERT_EQ(model.rowCount(), 4);
    for (int r = 0; r < 4; ++r) EXPECT_EQ(model.codeAt(r), codes[std::size_t(r)]);  // as added
    const int price = 2, percent = 3, score = 15;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            for (int r = 0; r < 4; ++r)
                if (model.cell(r, price).text == "—" || model.cell(r, score).text == "—")
                    return false;
            return true;
        },
        20000));

    // Each column sorts both ways: figures by value, names in the Chinese order.
    for (int column : {0, 1, percent, score}) {
        for (Qt::SortOrder order : {Qt::AscendingOrder, Qt::DescendingOrder}) {
            tab.table()->sortByColumn(column, order);
            std::vector<double> keys;
            std::vector<std::string> names;
            for (int r = 0; r < 4; ++r) {
                const WatchRow row = model.rowOf(model.codeAt(r));
                keys.push_back(watchSortKey(row, watchColumns()[std::size_t(column)].column));
                names.push_back(watchSortText(row, WatchColumn::Name));
            }
            if (order == Qt::DescendingOrder) {
                std::reverse(keys.begin(), keys.end());
                std::reverse(names.begin(), names.end());
            }
            if (column == 1) {
                std::vector<std::string> ordered = names;
                sortChinese(ordered);
                EXPECT_EQ(names, ordered);
            } else {
                EXPECT_TRUE(std::is_sorted(keys.begin(), keys.end())) << column;
            }
        }
    }

    // Removing the selected stock; the other group is untouched.
    tab.table()->selectRow(0);
    const std::string first = model.codeAt(0);
    EXPECT_EQ(tab.removeSelected(), std::nullopt);
    EXPECT_EQ(model.rowCount(), 3);
    EXPECT_EQ(readWatchLists(watchListFile()).lists.group("观察")->codes.size(), 3u);
    EXPECT_TRUE(readWatchLists(watchListFile()).lists.group("自选股")->codes.empty());

    // A stock added from another window's menu shows without a reload asked.
    EXPECT_EQ(addToWatchGroup(first, "观察"), std::nullopt);
    EXPECT_TRUE(QTest::qWaitFor([&] { return model.rowCount() == 4; }, 5000));
    tab.stopRefreshing();
}
