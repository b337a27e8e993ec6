// The main window's sector report, web search, questionnaire and tab
// buttons: the rules, and the screening of a sector against the test server.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <cerrno>
#include <cstring>

#include "ServedMarketTest.h"
#include "mainwindow/QXDocument.h"
#include "mainwindow/Questionnaire.h"
#include "mainwindow/WebSearch.h"
#include "orvane/core/AtomicFile.h"
#include "orvane/core/DataDirectory.h"
#include "orvane/core/Workspace.h"
#include "orvane/core/WriteFaults.h"
#include "orvane/market/CodeTable.h"
#include "orvane/market/ReferenceUpdate.h"
#include "orvane/market/SectorGroups.h"
#include "orvane/market/StockKeys.h"
#include "sectors/SectorReport.h"
#include "sectors/SectorsPanel.h"
#include "ui_QXDocument.h"

using namespace orvane;
using namespace orvane::app;
namespace k = orvane::keys;

namespace {

std::vector<StockRecord> records(const std::vector<float>& gains5, float gain10 = 4.0f) {
    std::vector<StockRecord> out;
    for (std::size_t i = 0; i < gains5.size(); ++i)
        out.push_back(StockRecord::fromDictionary({{k::STOCK_Code, "60000" + std::to_string(i)},
                                                   {k::KEY_Gain_5Days, gains5[i]},
                                                   {k::KEY_Gain_10Days, gain10}}));
    return out;
}

std::optional<std::string> named(const std::string& code) {
    return "股" + code.substr(5);
}

std::string report(int processed, const std::vector<StockRecord>& today, int window = 5) {
    return sortPlantStock({"银行", processed, today, records({1})}, window, named)->text;
}

}  // namespace

TEST(SectorReport, ShareNoticeRankingsAndTips) {
    const auto twelve = records(std::vector<float>(12, 1.0f));
    EXPECT_NE(report(40, twelve)
                  .find("板块上涨概率为30.00%;\r\n上周上涨趋势的有 1只,板块上涨概率 2.50%\r\n"
                        "\r\n重要提醒：银行 板块存在爆发的可能"),
              std::string::npos);
    EXPECT_EQ(report(40, records(std::vector<float>(18, 1.0f))).find("重要提醒"),
              std::string::npos);
    EXPECT_FALSE(sortPlantStock({"银行", 40, {}, {}}, 5, named));

    const auto r = sortPlantStock(
        {"银行", 100, records({1, 9, 8, 3.5, 7, 6, 5, 4, 3, 2}, 2.0f), {}}, 5, named);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->pickedCodes, (std::vector<std::string>{"600001", "600002", "600004", "600005",
                                                        "600006", "600007", "600003"}));
    EXPECT_NE(
        r->text.find("7:股3(600003) 涨幅为 3.50%\r\n\r\n -----  10 日涨幅排名------ \r\n\r\n****"),
        std::string::npos);
    EXPECT_EQ(r->text.find("(600008)"), std::string::npos);  // position 8 is never listed

    // The best gain exactly 3.0: no first ranking; the second numbers 1, 2, ...
    const std::string flat = report(10, records({3.0f, 2.0f}, 3.5f));
    EXPECT_NE(flat.find("------\r\n没有选出符合条件的股票 \r\n"), std::string::npos);
    EXPECT_NE(flat.find("1:股0(600000) 涨幅为 3.50%\r\n2:股1(600001) 涨幅为 3.50%\r\n"),
              std::string::npos);
    EXPECT_NE(report(0, twelve).find("板块上涨概率为inf%"), std::string::npos);  // no crash
    EXPECT_EQ(sectorReportFileName("银行", {2024, 5, 6, 9, 7, 3}), "银行_2024-05-06 09.07.03.txt");
    EXPECT_EQ(compositeBatchText({"000001"}, {"399001", "399006"}),
              "上涨趋势:000001,盘整准备突破:399001,399006,");
}

TEST(WebSearch, EveryPortalForShanghaiShenzhenAndAFund) {
    // The Shanghai and Shenzhen pages; a "51" fund takes the Shanghai form.
    const std::array<std::string, 3> pages[] = {
        {"凤凰财经", "app/hq/stock/sh600000/", "app/hq/stock/sz000001/index.shtml"},
        {"新浪财经", "realstock/company/sh600000/nc.shtml", "realstock/company/sz000001/nc.shtml"},
        {"中国证券网", "qcenter/center/singleStock/ggzy/sh600000.html",
         "qcenter/center/singleStock/ggzy/sz000001.html"},
        {"网易财经", "0600000.html", "1000001.html"},
        {"东方财富网", "sh600000.html", "sz000001.html"},
        {"雪球财经", "S/SH600000", "S/SZ000001"},
        {"搜狐财经", "cn/600000/index.shtml", "cn/000001/index.shtml"},
    };
    for (const auto& [portal, shanghai, shenzhen] : pages) {
        std::string fund = shanghai;
        fund.replace(fund.find("600000"), 6, "510050");
        for (const auto& [code, path] :
             {std::pair{"600000", shanghai}, {"000001", shenzhen}, {"510050", fund}}) {
            const auto url = portalPageURL(portal, code);
            ASSERT_TRUE(url) << portal;
            EXPECT_TRUE(url->starts_with("https://") && url->ends_with(path)) << *url;
        }
    }
    EXPECT_FALSE(portalPageURL("日K线", "600000"));
    EXPECT_FALSE(portalPageURL("别的网站", "600000"));
    EXPECT_FALSE(portalPageURL("雪球财经", "60000a"));
}

TEST(Questionnaire, FlowAndResultByYesCount) {
    Questionnaire q([](const std::string& key) { return "<" + key + ">"; });
    q.initQA();
    EXPECT_FALSE(q.view().answersShown || q.view().previousEnabled || q.view().nextEnabled);
    q.startQA();
    EXPECT_EQ(q.view().question, "问题1:\r\n \r\n      <Property1>");
    EXPECT_FALSE(q.view().previousEnabled);
    q.nextQAAction();  // no answer yet: stays
    EXPECT_EQ(q.index(), 1);
    for (int i = 1; i <= 7; ++i) {
        q.answerAction(i <= 5);
        if (i < 7) {
            EXPECT_TRUE(q.view().nextEnabled && !q.view().startShown);
            q.nextQAAction();
        }
    }
    EXPECT_EQ(q.view().result, "<answer2>");
    EXPECT_FALSE(q.view().nextEnabled);
    EXPECT_TRUE(q.view().startShown && q.view().previousEnabled);
    for (auto [yes, key] : {std::pair{7, "answer1"},
                            {6, "answer2"},
                            {4, "answer3"},
                            {3, "answer3"},
                            {2, "answer4"},
                            {0, "answer4"}})
        EXPECT_EQ(Questionnaire::resultKey(yes), key);
}

using SectorScreeningTest = test::ServedMarketTest;

TEST_F(SectorScreeningTest, TheWindowShowsAndSavesTheReportOfTheScreenedSector) {
    auto update = ReferenceUpdate::create();
    bool installed = false;
    update->setFinishHandler([&](const ArchiveInstallResult& r) { installed = r.installed; });
    ASSERT_EQ(update->downloadConstData(), ReferenceUpdate::Check::Downloading);
    QTRY_VERIFY_WITH_TIMEOUT(installed, 10000);

    QXDocument doc;
    doc.setAlertPresenter([](const QString&, const QString&) {});
    doc.initMyStocklist();
    Ui::QXDocument& ui = doc.ui();
    const std::string group = market().front().listing.industry;
    ui.plantPopbtn->setCurrentText(QString::fromStdString(group));
    doc.sectorsPanel().selectPlantPopAction();
    EXPECT_EQ(ui.sortPlantGrouptextView->toPlainText().toStdString(),
              sectorSizeText(group, SectorGroups::shared().getPlantGroupNum(group)));

    QSignalSpy shown(&doc, &QXDocument::sectorReportShown);
    doc.sectorsPanel().filterPlantAction();
    EXPECT_TRUE(doc.sectorsPanel().isScreening());
    EXPECT_FALSE(ui.stopDownloadBtn->isHidden());  // the run's own stop
    QTRY_VERIFY_WITH_TIMEOUT(shown.count() == 1, 30000);
    // The same report as computed from the screening's records, shown and saved.
    const auto files = std::filesystem::directory_iterator(getGainsPath());
    std::string saved;
    for (const auto& f : files)
        if (f.path().filename().string().starts_with(group + "_")) saved = *readFile(f.path());
    ASSERT_FALSE(saved.empty());
    EXPECT_EQ(ui.sortPlantGrouptextView->toPlainText().toStdString() + "",
              QString::fromStdString(saved).replace("\r\n", "\n").toStdString());
    // The report as computed from the same fetched records.
    EXPECT_EQ(saved,
              sortPlantStock(doc.sectorsPanel().lastScreening(), 5, [](const std::string& c) {
                  return CodeTable::shared().getStockCodeName(c);
              })->text);
    EXPECT_EQ(doc.sectorsPanel().lastScreening().group, group);
    // On a full disk the report is not saved, the status line says why, and
    // no part of a file is left in the folder.
    std::vector<std::string> said;
    QObject::connect(&doc.sectorsPanel(), &SectorsPanel::statusMessage,
                     [&](const std::string& text) { said.push_back(text); });
    const auto filesBefore = std::distance(std::filesystem::directory_iterator(getGainsPath()), {});
    setWriteFaultPlan(WriteFaultPlan{1, ENOSPC, true});
    doc.sectorsPanel().sortPlantStock();
    setWriteFaultPlan(std::nullopt);
    ASSERT_EQ(said.size(), 1u);
    EXPECT_NE(said[0].find("板块报告没有保存：" + getGainsPath().string() + "/" + group + "_"),
              std::string::npos)
        << said[0];
    EXPECT_NE(said[0].find(std::strerror(ENOSPC)), std::string::npos) << said[0];
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(getGainsPath()), {}), filesBefore);
    // The picked codes show as "名称 (代码)", and picking one shows its verdict.
    const auto report = sortPlantStock(
        doc.sectorsPanel().lastScreening(), 5,
        [](const std::string& c) { return CodeTable::shared().getStockCodeName(c); });
    ASSERT_EQ(ui.filterPlantPopbtn->count(), static_cast<int>(report->pickedCodes.size()));
    if (!report->pickedCodes.empty()) {
        const std::string code = report->pickedCodes.front();
        EXPECT_EQ(ui.filterPlantPopbtn->itemText(0).toStdString(),
                  *CodeTable::shared().getStockCodeName(code) + " (" + code + ")");
        QSignalSpy verdict(&doc, &QXDocument::verdictShown);
        ui.filterPlantPopbtn->activated(0);
        QTRY_VERIFY_WITH_TIMEOUT(verdict.count() == 1, 10000);
        EXPECT_EQ(doc.shownStock().code(), code);
    }

    // The index batch shows its result in the report area, where the eye is.
    QSignalSpy batch(&doc, &QXDocument::compositeBatchDone);
    ui.switchTableView->setCurrentIndex(5);
    doc.sectorsPanel().selectComposit();
    QTRY_VERIFY_WITH_TIMEOUT(batch.count() == 1, 30000);
    EXPECT_TRUE(ui.sortPlantGrouptextView->toPlainText().startsWith("指数分析结果"));
    EXPECT_EQ(ui.switchTableView->currentIndex(), 1);  // its tab in front
    EXPECT_TRUE(ui.sortPlantGrouptextView->toPlainText().contains("上涨趋势:"));

    // A portal target opens its page through the workspace.
    struct Opened : Workspace {
        bool openFile(const std::filesystem::path&) override { return false; }
        bool openURL(const std::string& url) override { return (last = url), true; }
        std::string last;
    };
    auto opened = std::make_shared<Opened>();
    Workspace::install(opened);
    ui.stockCodeTokenField->setText("000001");
    doc.controlTextDidChange();
    ui.searchURLField->setText("雪球财经");
    doc.searchTowebAction();
    EXPECT_EQ(opened->last, portalPageURL("雪球财经", "000001"));
    Workspace::install(nullptr);

    // Tab tags: below 1001 nothing; 1004 selects tab 3.
    doc.switchTableViewAction(1000);
    EXPECT_EQ(ui.switchTableView->currentIndex(), 1);
    doc.switchTableViewAction(1004);
    EXPECT_EQ(ui.switchTableView->currentIndex(), 3);

    // Ten sectors marked rising: the first eight get the marker, the first is chosen.
    Array ten;
    for (int i = 0; i < ui.plantPopbtn->count(); ++i)
        ten.push_back(Dictionary{{k::KEY_Plate_Group, ui.plantPopbtn->itemText(i).toStdString()}});
    ten.resize(std::min<std::size_t>(ten.size(), 10));
    doc.sectorsPanel().tagArrayActivatePlateDelegate(ten, true, true);
    int marked = 0;
    for (int i = 0; i < ui.plantPopbtn->count(); ++i)
        marked += !ui.plantPopbtn->itemIcon(i).isNull();
    EXPECT_EQ(marked, std::min(8, ui.plantPopbtn->count()));
    EXPECT_EQ(ui.plantPopbtn->currentIndex(), 0);
    doc.shutDown();
}
