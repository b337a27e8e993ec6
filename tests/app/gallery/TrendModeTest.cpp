// The trend-up model gallery: paging and texts as tables, the stored highest
// page, and the gallery against the project's data server over a published
// market: pages fetched into the data directory and opened from there.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTest>
#include <QTextBrowser>

#include "gallery/QXTrendMode.h"
#include "ServedMarketTest.h"
#include "gallery/TrendModeCount.h"
#include "gallery/TrendModePages.h"
#include "orvane/core/AtomicFile.h"
#include "orvane/core/DataDirectory.h"
#include "orvane/market/MarketServers.h"
#include "ui_TrendUpMode.h"

using namespace orvane;
using namespace orvane::app;

namespace {

using test::waitUntil;

}  // namespace

TEST(TrendModePages, PagingStaysWithinTheCount) {
    struct Case {
        int mIndex, allIndex, next, last;
    };
    const Case cases[] = {
        {0, 12, 1, 0}, {1, 12, 2, 1},    {7, 12, 8, 6}, {12, 12, 12, 11},
        {0, 0, 0, 0},  {13, 12, 13, 13}, {2, 2, 2, 1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(nextPageIndex(c.mIndex, c.allIndex), c.next) << c.mIndex << "/" << c.allIndex;
        EXPECT_EQ(lastPageIndex(c.mIndex, c.allIndex), c.last) << c.mIndex << "/" << c.allIndex;
    }
}

TEST(TrendModePages, PageFilesAndTheStoredHighestPage) {
    test::TempDataDir dir;
    MarketServers::install(std::make_shared<MarketServers>("http://host:1/base", "http://q/"));
    EXPECT_EQ(galleryPictureURL(1), "http://host:1/base/const/trendupmode/1001.png");
    EXPECT_EQ(pageOfFile(localTextPath(7)), 7);
    MarketServers::install(nullptr);
    for (int page : {5, 7, 3}) saveFileInfo(page);
    EXPECT_EQ(getLocalTrendModeNum(), 7);
    writeFileAtomically(dataPath("trendupMode.plist"), "garbage");
    EXPECT_EQ(getLocalTrendModeNum(), 0);
}

using TrendModeGallery = test::ServedMarketTest;

// The gallery's pages of the shared market are changed here (no other test reads them).
TEST_F(TrendModeGallery, PagesAreFetchedOnceThenOpenedFromTheFolder) {
    const auto published = served().tree() / "const/trendupmode";
    const int count = getServerTrendModeNum();
    ASSERT_GE(count, 2);

    QXTrendMode gallery;
    QStringList alerts;
    gallery.setAlertPresenter([&](const QString& title, const QString&) { alerts << title; });
    Ui::TrendUpMode& ui = gallery.ui();
    QSignalSpy shown(&gallery, &QXTrendMode::pageShown);
    gallery.showTrendUpModeForWindow();
    EXPECT_TRUE(gallery.TrendUpModeWnd()->isVisible());
    ASSERT_TRUE(waitUntil([&] { return shown.count() == 1; }));
    EXPECT_EQ(gallery.allIndex(), count);
    EXPECT_EQ(gallery.mIndex(), 1);
    EXPECT_EQ(gallery.curWnd()->windowTitle(), QString("经典上涨模型 （第 1/%1 页） ").arg(count));
    EXPECT_EQ(ui.pageNumText->text(), QString("第 1/%1 页").arg(count));
    EXPECT_EQ(ui.TrendUpTextfield->toPlainText().toStdString(), *readFile(published / "1001.txt"));
    EXPECT_TRUE(ui.downloadProgress->isHidden());
    EXPECT_EQ(*readFile(localPicturePath(1)), *readFile(published / "1001.png"));
    EXPECT_EQ(getLocalTrendModeNum(), 1);

    // Previous on page 1 keeps it, shown from the folder at once.
    gallery.lastButtonAction();
    EXPECT_EQ(shown.count(), 2);
    EXPECT_EQ(gallery.mIndex(), 1);
    gallery.nextButtonAction();
    EXPECT_TRUE(gallery.isFetching());
    EXPECT_FALSE(ui.downloadProgress->isHidden());
    EXPECT_EQ(ui.TrendUpTextfield->toPlainText(), "正在下载...");
    ASSERT_TRUE(waitUntil([&] { return shown.count() == 3; }));
    EXPECT_EQ(shown.at(2).at(0).toInt(), 2);
    EXPECT_EQ(getLocalTrendModeNum(), 2);

    // Page 1 is gone from the server: it opens from the folder, without a request.
    std::filesystem::remove(published / "1001.png");
    std::filesystem::remove(published / "1001.txt");
    gallery.lastButtonAction();
    EXPECT_FALSE(gallery.isFetching());
    ASSERT_EQ(shown.count(), 4);
    EXPECT_EQ(ui.TrendUpTextfield->toPlainText().toStdString(), *readFile(localTextPath(1)));
    EXPECT_EQ(getLocalTrendModeNum(), 2);  // the highest page shown stays

    // A refetched page that is not a picture shows the placeholder.
    served().write("const/trendupmode/1001.png", "<html>not a picture</html>");
    served().write("const/trendupmode/1001.txt", "说明");
    gallery.refreshAction();
    ASSERT_TRUE(waitUntil([&] { return shown.count() == 5; }));
    EXPECT_TRUE(gallery.isShowingPlaceholder());
    EXPECT_EQ(ui.TrendUpTextfield->toPlainText(), "说明");

    // With the server gone a refetch shows the alert.
    useDataServer("http://127.0.0.1:1/orvane");
    QSignalSpy failed(&gallery, &QXTrendMode::pageFetchFailed);
    gallery.refreshAction();
    ASSERT_TRUE(waitUntil([&] { return failed.count() == 1; }));
    EXPECT_EQ(alerts, QStringList{"下载失败"});
    EXPECT_TRUE(ui.downloadProgress->isHidden());

    // Closing hides and resets the window.
    gallery.TrendUpModeWnd()->close();
    EXPECT_FALSE(gallery.TrendUpModeWnd()->isVisible());
    EXPECT_EQ(gallery.curWnd()->windowTitle(), "经典上涨模型");
    EXPECT_EQ(ui.pageNumText->text(), "第 0 页");
    EXPECT_TRUE(ui.TrendUpImageView->pixmap().isNull());
}
