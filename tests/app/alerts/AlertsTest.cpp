// Model-B alerts without a notification service: texts, the stored list and
// its repeats, unusable files and payloads, the panel.

#include <gtest/gtest.h>

#include <QFrame>
#include <QSignalSpy>
#include <QTextBrowser>

#include "alerts/ModelBAlertText.h"
#include "alerts/ModelBAlerts.h"
#include "platform/StoredPropertyList.h"
#include "alerts/NotificationPanelController.h"
#include "TempDataDir.h"
#include "orvane/core/AtomicFile.h"
#include "orvane/core/PropertyList.h"

using namespace orvane;
using namespace orvane::app;
namespace fs = std::filesystem;

namespace {

Dictionary notice(std::string code, std::string checkDay, bool buyB, Value price = "10.43",
                  std::string msgDate = "2013-11-22 15:00:00") {
    return Dictionary{{"StockCode", code},         {"MsgDate", msgDate},
                      {"MsgDate_Check", checkDay}, {"STOCK_closePrice", price},
                      {"STOCK_ModeB_BUY_A", true}, {"STOCK_ModeB_BUY_B", buyB}};
}

std::string nameOf(const std::string& code) {
    return code == "600000" ? "浦发银行" : "";
}

/// Model-B alerts that always use their own panel.
struct PanelAlerts {
    test::TempDataDir dir;
    NotificationPanelController panel;
    ModelBAlerts alerts{{.nameOf = nameOf,
                         .stockModeBFile = dir.path() / "StockModeB.plist",
                         .desktopNotificationsAnswer = [] { return false; },
                         .panel = &panel}};
};

}  // namespace

TEST(ModelBAlertText, TextsAndRecordForBothBuyPoints) {
    struct Case {
        bool buyB;
        Value price;
        const char* subtitle;
        const char* priceText;
        const char* second;
    } cases[] = {
        {true, "10.43", "2013-11-22 日突破，是模型B的第二买点", "10.43", " 属于第二买点"},
        {false, 10.43f, "2013-11-22 日突破", "10.43", ""},
    };
    for (const Case& c : cases) {
        const Dictionary payload = notice("600000", "2013-11-22", c.buyB, c.price);
        const auto text = ModelBAlertText::forPayload(payload, nameOf);
        ASSERT_TRUE(text);
        const std::string info =
            "检测日期2013-11-22 15:00:00 \n当前价格:" + std::string(c.priceText) + " ";
        EXPECT_EQ(text->title, "浦发银行 (600000) 符合模型B");
        EXPECT_EQ(text->subtitle, c.subtitle);
        EXPECT_EQ(text->informativeText, info);
        EXPECT_EQ(text->alertRecord(), (Dictionary{{"ModeB_CheckDateStr", c.subtitle},
                                                   {"ModeB_stockCode", "600000"},
                                                   {"ModeB_stockName", "浦发银行"},
                                                   {"ModeB_stockPrice", info},
                                                   {"ModeB_fullName", text->title}}));
        EXPECT_EQ(modelBPanelText(payload, nameOf),
                  "浦发银行 (600000) 符合模型B\n" + std::string(c.second) +
                      "\n发现时间 2013-11-22 15:00:00 \n当前价格:" + c.priceText + " ");
    }
}

TEST(ModelBAlerts, UnusablePayloadsAreIgnored) {
    PanelAlerts f;
    const Dictionary good = notice("600000", "2013-11-22", true);
    EXPECT_FALSE(readModelBNotice({}));
    f.alerts.HandModeBNofification({});
    // clang-format off
    const std::pair<const char*, Value> faults[] = {
        {"StockCode", "60000"}, {"StockCode", 600000}, {"MsgDate", Value()},
        {"MsgDate_Check", 20131122}, {"STOCK_closePrice", true}, {"STOCK_ModeB_BUY_B", "1"}};
    // clang-format on
    for (const auto& [key, value] : faults) {
        Dictionary payload = good;
        payload[key] = value;
        EXPECT_FALSE(readModelBNotice(payload)) << key;
        f.alerts.HandModeBNofification(payload);
    }
    EXPECT_TRUE(f.alerts.stockModeBList().empty());
    EXPECT_TRUE(f.panel.incommingSMSDictList().empty());
    EXPECT_FALSE(fs::exists(f.dir.path() / "StockModeB.plist"));
}

TEST(ModelBAlerts, RecordsNewestFirstAndDropsRepeatsOfStockAndDay) {
    PanelAlerts f;
    f.alerts.loadStockModeBList();
    f.alerts.HandModeBNofification(notice("600000", "2013-11-21", false));
    f.alerts.HandModeBNofification(notice("000001", "2013-11-21", true));
    // The same stock and detected day again, later and at another price: a repeat.
    f.alerts.HandModeBNofification(notice("600000", "2013-11-21", true, "11.0", "2013-11-23"));
    f.alerts.HandModeBNofification(notice("600000", "2013-11-22", false));
    const Array stored = readPropertyListArray(f.dir.path() / "StockModeB.plist");
    ASSERT_EQ(stored.size(), 3u);
    EXPECT_EQ(stored, f.alerts.stockModeBList());
    EXPECT_EQ(f.panel.incommingSMSDictList().size(), 3u);
    const char* expected[][2] = {{"600000", "2013-11-22 日突破"},
                                 {"000001", "2013-11-21 日突破，是模型B的第二买点"},
                                 {"600000", "2013-11-21 日突破"}};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(stringFor(stored[i].dictionary(), "ModeB_stockCode"), expected[i][0]);
        EXPECT_EQ(stringFor(stored[i].dictionary(), "ModeB_CheckDateStr"), expected[i][1]);
    }
    // Repeats are known from the file too.
    ModelBAlertBook reread(f.dir.path() / "StockModeB.plist");
    reread.load();
    EXPECT_TRUE(reread.holdsAlertFor("000001", "2013-11-21"));
    EXPECT_FALSE(reread.holdsAlertFor("000001", "2013-11-22"));
}

TEST(StoredPropertyList, UnusableFilesAreSetAsideAndDefaultsUsed) {
    test::TempDataDir dir;
    test::FixedNow now(2026, 12, 7, 14, 30, 0);
    const fs::path book = dir.path() / "StockModeB.plist";
    const std::string aside = "StockModeB.plist.unreadable-20261207-143000";
    const std::string contents[] = {
        std::string("bplist00\x01\xff\xfe garbage", 20),
        "<?xml version=\"1.0\"?><plist version=\"1.0\"><array><dict><key>a",
        toXmlPropertyList(Value(Dictionary{{"ModeB_stockCode", "600000"}})),
    };
    for (std::size_t i = 0; i < std::size(contents); ++i) {
        writeFileAtomically(book, contents[i]);
        NotificationPanelController panel;
        ModelBAlerts alerts{{.stockModeBFile = book, .panel = &panel}};
        QSignalSpy reported(&alerts, &ModelBAlerts::storedFileSetAside);
        alerts.loadStockModeBList();
        EXPECT_TRUE(alerts.stockModeBList().empty());
        ASSERT_EQ(reported.count(), 1);
        // Never overwritten: the second and third files get their own names.
        const fs::path moved = dir.path() / (i == 0 ? aside : aside + "-" + std::to_string(i + 1));
        EXPECT_TRUE(reported[0][0].toString().contains(QString::fromStdString(aside)));
        EXPECT_EQ(readFile(moved), contents[i]);
        EXPECT_FALSE(fs::exists(book));
    }

    // A dictionary file that holds an array; a missing one is no report.
    const fs::path settings = dir.path() / "Setting.plist";
    writeFileAtomically(settings, toXmlPropertyList(Value(Array{})));
    EXPECT_EQ(readStoredPropertyList(settings, StoredKind::Dictionary).state,
              StoredPropertyList::State::SetAside);
    EXPECT_FALSE(readStoredPropertyList(settings, StoredKind::Dictionary).needsReport());
}

TEST(NotificationPanel, PagesWithinTheReceivedNotices) {
    NotificationPanelController panel;
    panel.setStockNameLookup(nameOf);
    panel.showNotificationWindow();  // nothing yet
    EXPECT_FALSE(panel.newMsgPanel()->isVisible());
    for (const char* day : {"2013-11-20", "2013-11-21", "2013-11-22"})
        ASSERT_TRUE(panel.setModeBStockDict(notice("600000", day, false, "9", day)));
    EXPECT_FALSE(panel.setModeBStockDict({}));

    panel.showNotificationWindow();
    EXPECT_TRUE(panel.newMsgPanel()->isVisible());
    auto shown = [&] { return panel.contentTextView()->toPlainText().toStdString(); };
    EXPECT_EQ(panel.index(), 2);
    panel.nextMsg();
    EXPECT_EQ(panel.index(), 2);
    EXPECT_NE(shown().find("发现时间 2013-11-22"), std::string::npos);
    for (int i = 0; i < 3; ++i) panel.lastAction();
    EXPECT_EQ(panel.index(), 0);
    EXPECT_NE(shown().find("发现时间 2013-11-20"), std::string::npos);

    panel.viewButton();
    EXPECT_TRUE(shown().empty());
}
