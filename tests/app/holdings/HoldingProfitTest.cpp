// Holdings with a cost and a quantity: the profit arithmetic worked out by
// hand, the positions' file and the dialog's refusals, and the table's
// position columns and total line.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QScopeGuard>
#include <QSpinBox>
#include <QTableView>
#include <QTest>

#include "TempDataDir.h"
#include "holdings/HoldingPositionFile.h"
#include "holdings/HoldingProfit.h"
#include "holdings/MyStockHoldController.h"
#include "holdings/MyStockHoldModel.h"
#include "holdings/PositionDialog.h"
#include "orvane/core/AtomicFile.h"
#include "orvane/core/DataDirectory.h"
#include "platform/QtMainThreadDispatcher.h"
#include "ui_MyStockHoldController.h"

using namespace orvane;
using namespace orvane::app;
namespace fs = std::filesystem;

namespace {

StockRecord quote(const char* code, const char* close, const char* yesClose) {
    StockRecord r;
    r.code = code;
    r.name = "名";
    r.closePrice = close;
    r.yesClosePrice = yesClose;
    r.lowPrice = close;
    return r;
}

}  // namespace

TEST(HoldingProfit, ValueProfitAndTotalsByHand) {
    const Position a{10.00, 1000}, b{20.00, 300};
    EXPECT_DOUBLE_EQ(marketValue(10.50, a), 10500);
    EXPECT_DOUBLE_EQ(floatingProfit(10.50, a), 500);
    EXPECT_DOUBLE_EQ(profitPercent(10.50, a), 5);
    EXPECT_DOUBLE_EQ(floatingProfit(18.00, b), -600);
    EXPECT_DOUBLE_EQ(profitPercent(18.00, b), -10);

    // A suspended stock is valued at the previous close; a holding without a
    // position, or without a quote, counts for nothing.
    const std::vector<StockRecord> rows{quote("600000", "10.50", "10.00"),
                                        quote("000001", "0.00", "18.00"),
                                        quote("600001", "9.00", "9.10"), StockRecord{"000002"}};
    const Positions positions{{"600000", a}, {"000001", b}, {"000002", {5, 100}}};
    const PositionTotals t = totalOf(rows, positions);
    EXPECT_EQ(t.counted, 2);
    EXPECT_DOUBLE_EQ(t.value, 10500 + 5400);
    EXPECT_DOUBLE_EQ(t.profit, 500 - 600);
    EXPECT_DOUBLE_EQ(t.paid, 10000 + 6000);
    EXPECT_DOUBLE_EQ(*t.percent(), -100 * 100 / 16000.0);
    EXPECT_EQ(PositionTotals{}.percent(), std::nullopt);

    // The cells: "—", never 0, without a position.
    namespace col = positionColumns;
    const struct {
        const StockRecord& row;
        const Position* position;
        const char* column;
        HoldingCell cell;
    } cases[] = {
        {rows[0], &a, col::cost, {"10.000", HoldingFont::Table, colours::black}},
        {rows[0], &a, col::shares, {"1000", HoldingFont::Table, colours::black}},
        {rows[0], &a, col::value, {"10500.00", HoldingFont::Table, colours::black}},
        {rows[0], &a, col::profit, {"+500.00", HoldingFont::Table, colours::risingRed}},
        {rows[1], &b, col::percent, {"-10.00%", HoldingFont::Table, colours::fallingGreen}},
        {rows[2], nullptr, col::value, {"—", HoldingFont::Table, colours::black}},
        {rows[3], &a, col::profit, {"—", HoldingFont::Table, colours::black}},
    };
    for (const auto& c : cases) EXPECT_EQ(positionCell(c.row, c.position, c.column), c.cell);
}

TEST(HoldingProfit, RefusalsTheFileAndTheDialog) {
    const struct {
        const char* cost;
        std::int64_t shares;
        std::optional<std::string> refusal;
    } cases[] = {
        {"10.5", 200, std::nullopt},
        {"abc", 100, "成本价必须是数字"},
        {"", 100, "成本价必须是数字"},
        {"10元", 100, "成本价必须是数字"},
        {"-1", 100, "成本价必须大于 0"},
        {"0", 100, "成本价必须大于 0"},
        {"10", 150, "持股数量必须是 100 股的整数倍"},
        {"10", 0, "持股数量必须是 100 股的整数倍"},
    };
    for (const auto& c : cases) EXPECT_EQ(refusalOfPosition(c.cost, c.shares), c.refusal) << c.cost;

    test::TempDataDir dir;
    const Positions positions{{"600000", {10.125, 1000}}, {"000001", {3.5, 100}}};
    ASSERT_EQ(savePositions(positions, positionFile()), std::nullopt);
    EXPECT_EQ(readPositions(positionFile()).positions, positions);
    ASSERT_TRUE(
        writeFileAtomically(positionFile(),
                            "<plist><dict><key>600000</key><dict><key>cost</key><real>-1</real>"
                            "<key>shares</key><integer>100</integer></dict></dict></plist>"));
    const PositionsRead bad = readPositions(positionFile());
    EXPECT_TRUE(bad.positions.empty());
    EXPECT_TRUE(bad.note.starts_with("文件 HoldStockCost.plist ")) << bad.note;
    EXPECT_FALSE(fs::exists(positionFile()));

    PositionDialog dialog("名 (600000)", std::nullopt);
    dialog.costField()->setText("-3");
    dialog.tryAccept();
    EXPECT_EQ(dialog.refusalLabel()->text(), "成本价必须大于 0");
    EXPECT_EQ(dialog.result(), 0);
    dialog.costField()->setText("12.34");
    dialog.sharesField()->setValue(500);
    dialog.tryAccept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.position(), (Position{12.34, 500}));
}

TEST(HoldingProfit, TheTabShowsTheFiguresAndTheTotalLine) {
    test::TempDataDir dir;
    auto dispatcher = std::make_shared<QtMainThreadDispatcher>(QCoreApplication::instance());
    MainThreadDispatcher::install(dispatcher);
    const auto restore = qScopeGuard([] { MainThreadDispatcher::install(nullptr); });
    const fs::path folder = getHoldStockPath();
    fs::create_directories(folder);
    auto quoteFile = [&](const char* code, const char* fields) {
        std::string line = std::string("var hq_str_sh") + code + "=\"" + fields;
        for (int i = 6; i < 30; ++i) line += ",0";
        ASSERT_TRUE(writeFileAtomically(folder / (std::string(code) + ".txt"),
                                        line + ",2026-12-08,10:30:00,00\";"));
    };
    quoteFile("600000", "A,10.00,10.00,10.50,10.60,9.90");
    quoteFile("600001", "B,20.00,20.00,18.00,20.00,18.00");
    quoteFile("600002", "C,5.00,5.00,5.10,5.20,5.00");
    ASSERT_EQ(savePositions({{"600000", {10, 1000}}, {"600001", {20, 300}}}, positionFile()),
              std::nullopt);

    MyStockHoldController tab;
    tab.initStockArray();
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return tab.ui().myStockTableView->model()->rowCount() == 3; }, 5000));
    const QAbstractItemModel& model = *tab.ui().myStockTableView->model();
    auto cellOf = [&](const char* code, const char* header) {
        for (int r = 0; r < model.rowCount(); ++r)
            for (int c = 0; c < model.columnCount(); ++c)
                if (model.index(r, 0).data().toString().endsWith(QString("(%1)").arg(code)) &&
                    model.headerData(c, Qt::Horizontal).toString() == header)
                    return model.index(r, c).data().toString();
        return QString("no such cell");
    };
    EXPECT_EQ(cellOf("600000", "浮动盈亏"), "+500.00");
    EXPECT_EQ(cellOf("600001", "盈亏比例"), "-10.00%");
    EXPECT_EQ(cellOf("600002", "市值"), "—");
    EXPECT_EQ(tab.totalLine()->text(),
              "合计（2 只）  市值 15900.00  浮动盈亏 -100.00  盈亏比例 -0.62%");

    // A refused position changes nothing; a deleted holding takes its
    // position with it.
    EXPECT_EQ(tab.setPosition("600002", Position{5, 150}), "持股数量必须是 100 股的整数倍");
    tab.ui().myStockTableView->selectRow(0);
    const std::string deleted = tab.myHoldStockList()[0].code;
    tab.deleteStockAction();
    EXPECT_FALSE(readPositions(positionFile()).positions.contains(deleted));
}
