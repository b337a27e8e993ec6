#include "gallery/QXTrendMode.h"

#include <QCloseEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPixmap>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QTextBrowser>

#include "gallery/TrendModeCount.h"
#include "gallery/TrendModePages.h"
#include "orvane/core/AtomicFile.h"
#include "orvane/core/MainThreadDispatcher.h"
#include "orvane/market/HttpRequest.h"
#include "ui_TrendUpMode.h"

namespace orvane::app {

namespace {

const char* const kDownloading = "正在下载...";

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

void defaultAlert(QWidget* parent, const QString& title, const QString& message) {
    QMessageBox box(QMessageBox::Warning, title, message, QMessageBox::NoButton, parent);
    box.addButton(QStringLiteral("确定"), QMessageBox::AcceptRole);
    box.exec();
}

/// What the picture view shows for a file that is not an image.
QPixmap placeholderPicture(QSize size) {
    QPixmap picture(size.isEmpty() ? QSize(640, 360) : size);
    picture.fill(QColor(40, 40, 40));
    QPainter painter(&picture);
    painter.setPen(QColor(200, 200, 200));
    painter.drawText(picture.rect(), Qt::AlignCenter, QStringLiteral("图片无法显示"));
    return picture;
}

}  // namespace

QXTrendMode::QXTrendMode(QObject* parent)
    : QObject(parent), ui_(std::make_unique<Ui::TrendUpMode>()), window_(new QWidget) {
    ui_->setupUi(window_);
    window_->setWindowFlag(Qt::Window);
    window_->installEventFilter(this);
    alert_ = [this](const QString& title, const QString& message) {
        defaultAlert(window_, title, message);
    };
    connect(ui_->nextButton, &QPushButton::clicked, this, &QXTrendMode::nextButtonAction);
    connect(ui_->lastButton, &QPushButton::clicked, this, &QXTrendMode::lastButtonAction);
    connect(ui_->refreshButton, &QPushButton::clicked, this, &QXTrendMode::refreshAction);
    resetWindow();
}

QXTrendMode::~QXTrendMode() {
    if (request_) request_->cancel();
    countWorker_ = {};  // stops and joins the count's worker
    delete window_;
}

bool QXTrendMode::isFetching() const {
    return request_ != nullptr;
}

void QXTrendMode::showTrendUpModeForWindow() {
    ui_->downloadProgress->hide();
    ui_->TrendUpTextfield->clear();
    window_->show();
    window_->raise();
    window_->activateWindow();
    allIndex_ = 0;
    mIndex_ = 0;
    // The count is a blocking request of up to 5 seconds: a worker waits for it.
    const std::uint64_t opening = ++opening_;
    countWorker_ = std::jthread([self = QPointer(this), opening](std::stop_token stop) {
        const int count = getServerTrendModeNum(stop);
        if (stop.stop_requested()) return;
        postToMainThread([self, opening, count] {
            if (self) self->setModelCount(opening, count);
        });
    });
}

void QXTrendMode::setModelCount(std::uint64_t opening, int count) {
    if (opening != opening_) return;  // closed or reopened since
    allIndex_ = count;
    mIndex_ = 0;
    emit modelCountArrived(count);
    if (allIndex_ >= 1) nextButtonAction();
}

void QXTrendMode::nextButtonAction() {
    mIndex_ = nextPageIndex(mIndex_, allIndex_);
    fillImageInfo(false);
}

void QXTrendMode::lastButtonAction() {
    mIndex_ = lastPageIndex(mIndex_, allIndex_);
    fillImageInfo(false);
}

void QXTrendMode::refreshAction() {
    fillImageInfo(true);
}

void QXTrendMode::fillImageInfo(bool force) {
    const int page = mIndex_;
    const auto picture = localPicturePath(page);
    std::error_code ec;
    if (force) {
        std::filesystem::remove(picture, ec);
        std::filesystem::remove(localTextPath(page), ec);
    } else if (std::filesystem::exists(picture, ec)) {
        endFetch();
        fillDownLoadFileInfo(picture);
        return;
    }
    fetchPage(page);
}

void QXTrendMode::fetchPage(int page) {
    if (request_) request_->cancel();  // its answer is dropped: `fetch_` moves on
    const std::uint64_t fetch = ++fetch_;
    request_ = HttpRequest::requestWithURL(galleryPictureURL(page));
    request_->setDownloadDestinationPath(localPicturePath(page));
    request_->setCompletionBlock([self = QPointer(this), page, fetch](HttpRequest&) {
        if (self && fetch == self->fetch_) self->fetchText(page, fetch);
    });
    request_->setFailedBlock([self = QPointer(this), page, fetch](HttpRequest&) {
        if (!self || fetch != self->fetch_) return;
        self->endFetch();
        self->ui_->TrendUpTextfield->clear();
        self->alert_(QStringLiteral("下载失败"), QStringLiteral("下载失败，请检查您的网络！"));
        emit self->pageFetchFailed(page);
    });
    ui_->downloadProgress->show();
    ui_->TrendUpTextfield->setPlainText(QString::fromUtf8(kDownloading));
    request_->startAsynchronous();
}

void QXTrendMode::fetchText(int page, std::uint64_t fetch) {
    request_ = HttpRequest::requestWithURL(galleryTextURL(page));
    request_->setDownloadDestinationPath(localTextPath(page));
    request_->setCompletionBlock([self = QPointer(this), page, fetch](HttpRequest&) {
        if (!self || fetch != self->fetch_) return;
        self->endFetch();
        self->ui_->TrendUpTextfield->clear();
        self->fillDownLoadFileInfo(localPicturePath(page));
    });
    // Without its text the page is left as it is, the picture kept for later.
    request_->setFailedBlock([self = QPointer(this), page, fetch](HttpRequest&) {
        if (!self || fetch != self->fetch_) return;
        self->endFetch();
        self->ui_->TrendUpTextfield->clear();
        emit self->pageFetchFailed(page);
    });
    request_->startAsynchronous();
}

void QXTrendMode::endFetch() {
    if (request_) request_->cancel();
    request_.reset();
    ++fetch_;
    ui_->downloadProgress->hide();
}

void QXTrendMode::fillDownLoadFileInfo(const std::filesystem::path& picture) {
    QPixmap image;
    placeholder_ = !image.load(QString::fromStdString(picture.string()));
    if (placeholder_) image = placeholderPicture(ui_->TrendUpImageView->size());
    ui_->TrendUpImageView->setPixmap(image);
    const int page = pageOfFile(picture);
    window_->setWindowTitle(qs(galleryWindowTitle(page, allIndex_)));
    ui_->pageNumText->setText(qs(galleryPageCounter(page, allIndex_)));
    auto sibling = picture;
    ui_->TrendUpTextfield->setPlainText(
        QString::fromUtf8(readFile(sibling.replace_extension(".txt")).value_or("")));
    saveFileInfo(page);
    emit pageShown(page);
}

bool QXTrendMode::windowShouldClose() {
    window_->hide();
    ++opening_;
    endFetch();
    resetWindow();
    return true;
}

void QXTrendMode::resetWindow() {
    ui_->TrendUpTextfield->clear();
    ui_->TrendUpImageView->clear();
    placeholder_ = false;
    window_->setWindowTitle(qs(closedGalleryTitle()));
    ui_->pageNumText->setText(qs(closedGalleryCounter()));
    ui_->downloadProgress->hide();
}

bool QXTrendMode::eventFilter(QObject* watched, QEvent* event) {
    if (watched == window_ && event->type() == QEvent::Close) {
        windowShouldClose();
        event->ignore();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace orvane::app
