// The application's own saves with each of their file operations failing in
// turn, as a full (ENOSPC) or failing (EIO) disk would: each save says it
// failed, names the file and the cause, and leaves the file as it was.

#include <gtest/gtest.h>

#include <QImage>
#include <QPixmap>
#include <cerrno>
#include <functional>

#include "TempDataDir.h"
#include "alerts/ModelBAlertBook.h"
#include "application/ChartScreenshot.h"
#include "application/SettingsFile.h"
#include "gallery/TrendModeCount.h"
#include "orvane/core/AtomicFile.h"
#include "orvane/core/DataDirectory.h"
#include "orvane/core/FileWrites.h"
#include "orvane/core/PropertyList.h"
#include "orvane/core/WriteFaults.h"

using namespace orvane;
namespace fs = std::filesystem;

namespace {

class SavesUnderWriteFaults : public ::testing::Test {
  protected:
    void TearDown() override { setWriteFaultPlan(std::nullopt); }

    /// Runs `save` once to count its operations, then with each failing.
    void tryEveryOperation(const fs::path& file, const std::function<bool()>& save) {
        const auto old = readFile(file);
        setWriteFaultPlan(std::nullopt);
        ASSERT_TRUE(save()) << file;
        const long operations = writeOperationCount();
        ASSERT_GT(operations, 0) << file;
        const auto fresh = readFile(file);
        ASSERT_NE(old, fresh) << file;
        for (long n = 1; n <= operations; ++n) {
            const int error = n % 2 ? ENOSPC : EIO;
            setWriteFaultPlan(std::nullopt);
            ASSERT_TRUE(old ? writeFileAtomically(file, *old) : fs::remove(file));
            setWriteFaultPlan(WriteFaultPlan{n, error, false});
            forgetWriteFailure();
            EXPECT_FALSE(save()) << file << " operation " << n;
            EXPECT_EQ(readFile(file), old) << file << " operation " << n;
            const auto failure = lastWriteFailure();
            ASSERT_TRUE(failure) << file << " operation " << n;
            EXPECT_EQ(failure->file, file);
            EXPECT_EQ(failure->error, error);
            EXPECT_EQ(std::distance(fs::directory_iterator(file.parent_path()), {}), old ? 1 : 0)
                << "a file left beside " << file << " at operation " << n;
        }
    }

    test::TempDataDir dir;
};

}  // namespace

TEST_F(SavesUnderWriteFaults, SettingsAtQuit) {
    ASSERT_TRUE(app::saveSettings("雪球财经"));
    tryEveryOperation(dataPath("Setting.plist"), [] { return app::saveSettings("新浪财经"); });
}

TEST_F(SavesUnderWriteFaults, ModelBAlertsShown) {
    app::ModelBAlertBook book(dir.path() / "StockModeB.plist");
    ASSERT_TRUE(book.insertAndSave(Dictionary{{"ModeB_stockCode", "600000"}}));
    tryEveryOperation(book.file(), [&] {
        app::ModelBAlertBook again(book.file());
        again.load();
        return again.insertAndSave(Dictionary{{"ModeB_stockCode", "600001"}});
    });
}

TEST_F(SavesUnderWriteFaults, ChartScreenshot) {
    QImage image(64, 64, QImage::Format_RGB32);
    image.fill(Qt::red);
    const fs::path file = dir.path() / "chart.png";
    ASSERT_TRUE(app::savePicture(QPixmap::fromImage(image), file.string()));
    image.fill(Qt::blue);
    tryEveryOperation(file,
                      [&] { return app::savePicture(QPixmap::fromImage(image), file.string()); });
}

TEST_F(SavesUnderWriteFaults, ModelGalleryPagesSeen) {
    ASSERT_TRUE(app::saveFileInfo(3));
    const auto file = [] {
        for (const auto& entry : fs::recursive_directory_iterator(dataDirectory()))
            if (entry.is_regular_file()) return entry.path();
        return fs::path();
    }();
    ASSERT_FALSE(file.empty());
    int page = 4;
    tryEveryOperation(file, [&] { return app::saveFileInfo(page++); });
}
