#pragma once
// The trend-up model gallery: a window that pages through the data server's
// numbered example charts, each a picture with its explanatory text. Pages
// are fetched once into the data directory's "trendupmode" folder and shown
// from there afterwards; the refresh button fetches the current page again.
// The highest page shown is remembered ("trendupMode.plist", see
// TrendModeCount.h), so the main window can announce newer models.
//
// Nothing here blocks the window: the server's model count is fetched on a
// worker thread, the picture and its text by asynchronous requests whose
// answers arrive on the main thread. An answer for a page that is no longer
// the current one, or that arrives after the window was closed, is dropped.

#include <QObject>
#include <QString>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <thread>

class QWidget;
namespace Ui {
class TrendUpMode;
}

namespace orvane {
class HttpRequest;
}

namespace orvane::app {

class QXTrendMode : public QObject {
    Q_OBJECT
  public:
    /// Shows an alert with one "确定" button; tests replace it.
    using AlertPresenter = std::function<void(const QString& title, const QString& message)>;

    /// Loads the window from "TrendUpMode"; no page yet (mIndex and allIndex 0).
    explicit QXTrendMode(QObject* parent = nullptr);
    ~QXTrendMode() override;

    void setAlertPresenter(AlertPresenter presenter) { alert_ = std::move(presenter); }

    /// Opens the gallery in front; page 1 once the server's count arrives
    /// (none when the count is 0).
    void showTrendUpModeForWindow();
    /// Hides the window and resets its title, counter, picture and text.
    bool windowShouldClose();

    /// The current page (1-based; 0 before the first) and the server's count.
    std::int32_t mIndex() const { return mIndex_; }
    std::int32_t allIndex() const { return allIndex_; }
    /// Whether a page's picture or text is being fetched.
    bool isFetching() const;
    /// Whether the picture shown is the placeholder of a file that is not an image.
    bool isShowingPlaceholder() const { return placeholder_; }

    QWidget* TrendUpModeWnd() const { return window_; }
    QWidget* curWnd() const { return window_; }
    Ui::TrendUpMode& ui() const { return *ui_; }

  public slots:
    void nextButtonAction();
    void lastButtonAction();
    /// Fetches the current page again.
    void refreshAction();

  signals:
    /// The server's count arrived (after showTrendUpModeForWindow).
    void modelCountArrived(int count);
    /// A page's picture and text are shown.
    void pageShown(int page);
    /// A page's fetch failed (the alert was shown).
    void pageFetchFailed(int page);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void setModelCount(std::uint64_t opening, int count);
    /// Shows page mIndex: from the folder, or fetched first (always with `force`).
    void fillImageInfo(bool force);
    void fetchPage(int page);
    void fetchText(int page, std::uint64_t fetch);
    void endFetch();
    /// Shows a page's picture file with its text and stores the page as seen.
    void fillDownLoadFileInfo(const std::filesystem::path& picture);
    void resetWindow();

    std::unique_ptr<Ui::TrendUpMode> ui_;
    QWidget* window_ = nullptr;  // owned: a top-level window
    AlertPresenter alert_;
    std::int32_t mIndex_ = 0;
    std::int32_t allIndex_ = 0;
    bool placeholder_ = false;
    std::uint64_t opening_ = 0;  // counts openings and closings
    std::uint64_t fetch_ = 0;    // counts page fetches and closings
    std::shared_ptr<HttpRequest> request_;
    std::jthread countWorker_;
};

}  // namespace orvane::app
