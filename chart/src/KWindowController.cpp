#include "orvane/chart/KWindowController.h"

#include "orvane/chart/KBaseView.h"
#include "orvane/chart/KInfoButton.h"
#include "orvane/chart/KWindow.h"
#include "orvane/core/NotificationNames.h"

namespace orvane::chart {

KWindowController::KWindowController(NameLookup nameLookup, QObject* parent)
    : QObject(parent),
      kWindow_(std::make_unique<KWindow>()),
      nameLookup_(std::move(nameLookup)),
      // Both observers change widgets: they run on the main thread.
      closeObserver_(
          NotificationBus::shared(), notifications::InfoButtonCloseNotification,
          [this](const Notification& n) { infoButtonClose(n); },
          NotificationBus::Delivery::MainThread),
      clickObserver_(
          NotificationBus::shared(), notifications::InfoButtonClickNotification,
          [this](const Notification& n) { infoButtonClick(n); },
          NotificationBus::Delivery::MainThread) {
    connect(kWindow_.get(), &KWindow::closeRequested, this, &KWindowController::closeKWindow);
    connect(kWindow_.get(), &KWindow::resized, this, &KWindowController::windowWillResize);
}

KWindowController::~KWindowController() = default;

void KWindowController::addNewKLineView(const std::filesystem::path& path) {
    if (!isKWindowShown_) {
        kWindow_->show();
        kWindow_->raise();
        kWindow_->activateWindow();
        isKWindowShown_ = true;
    }
    if (kLineViewList_.size() >= static_cast<std::size_t>(kMaxChartTabs)) {
        kWindow_->raise();
        return;
    }

    const int ww = kWindow_->width();
    const int wh = kWindow_->height();
    auto* view = new KBaseView(QRect(0, kTabRowHeight, ww, wh - kTabRowHeight), kWindow_.get());
    view->initKDataFromFilePath(path);
    view->hide();
    kLineViewList_.push_back(view);

    auto* button =
        new KInfoButton(QRect(0, 0, kInfoButtonWidth, kInfoButtonHeight), kWindow_.get());
    button->setDelegate(this);
    button->setButtonID(0);
    const std::string code = path.stem().string();
    button->setButtonTitle(QString::fromStdString(code));
    button->setButtonInfo(titleFor(code));
    button->show();
    kLineViewCloseButtonList_.push_back(button);

    resetKLineViewCloseButtonList();
    currentSelectedIndex_ = static_cast<int>(kLineViewList_.size()) - 1;
    selectKLineView(currentSelectedIndex_);
    kWindow_->raise();
}

std::string KWindowController::titleFor(const std::string& code) const {
    const std::string name = nameLookup_ ? nameLookup_(code) : std::string();
    // Without a code table there is no name: the title is the code alone.
    return name.empty() ? code : name + "(" + code + ")";
}

void KWindowController::resetKLineViewCloseButtonList() {
    for (std::size_t i = 0; i < kLineViewCloseButtonList_.size(); ++i) {
        KInfoButton* button = kLineViewCloseButtonList_[i];
        button->setButtonID(static_cast<int>(i));
        button->move(kTabButtonPitch * static_cast<int>(i), 0);
    }
}

void KWindowController::selectKLineView(int index) {
    if (index < 0 || index >= static_cast<int>(kLineViewList_.size())) return;
    for (KBaseView* view : kLineViewList_) view->hide();
    KBaseView* chosen = kLineViewList_[index];
    chosen->show();
    chosen->setFocus(Qt::OtherFocusReason);
    for (KInfoButton* button : kLineViewCloseButtonList_) button->setSelected(false);
    KInfoButton* button = kLineViewCloseButtonList_[index];
    button->setSelected(true);
    kWindow_->setWindowTitle(QString::fromStdString(button->buttonInfoString()));
}

void KWindowController::removeKLineView(int index) {
    if (index < 0 || index >= static_cast<int>(kLineViewList_.size())) return;
    // Widgets go later: this runs inside the click handler of the button removed.
    KBaseView* view = kLineViewList_[index];
    view->hide();
    view->deleteLater();
    kLineViewList_.erase(kLineViewList_.begin() + index);
    KInfoButton* button = kLineViewCloseButtonList_[index];
    button->hide();
    button->deleteLater();
    kLineViewCloseButtonList_.erase(kLineViewCloseButtonList_.begin() + index);
    resetKLineViewCloseButtonList();

    if (kLineViewList_.empty()) return;
    if (index == currentSelectedIndex_) {
        currentSelectedIndex_ = static_cast<int>(kLineViewList_.size()) - 1;
        selectKLineView(currentSelectedIndex_);
    } else if (index < currentSelectedIndex_) {
        // The shown tab moved one place left; keep pointing at it.
        --currentSelectedIndex_;
    }
}

void KWindowController::closeKWindow() {
    for (KBaseView* view : kLineViewList_) {
        view->hide();
        view->deleteLater();
    }
    for (KInfoButton* button : kLineViewCloseButtonList_) {
        button->hide();
        button->deleteLater();
    }
    kLineViewList_.clear();
    kLineViewCloseButtonList_.clear();
    kWindow_->hide();
    isKWindowShown_ = false;
    emit kWindowClosed();
}

QSize KWindowController::windowWillResize(QSize size) {
    for (KBaseView* view : kLineViewList_) {
        view->move(0, kTabRowHeight);
        view->setCurrentSectionRangeX(static_cast<float>(size.width()),
                                      static_cast<float>(size.height() - kTabRowHeight));
    }
    resetKLineViewCloseButtonList();
    return size;
}

int KWindowController::tabOfNotification(const Notification& note) const {
    for (std::size_t i = 0; i < kLineViewCloseButtonList_.size(); ++i)
        if (kLineViewCloseButtonList_[i] == note.object) {
            const Value* id = find(note.userInfo, "infoButtonID");
            return id ? static_cast<int>(id->toInteger()) : -1;
        }
    return -1;
}

void KWindowController::infoButtonClose(const Notification& note) {
    const int index = tabOfNotification(note);
    if (index < 0) return;
    removeKLineView(index);
    if (kLineViewCloseButtonList_.empty()) closeKWindow();
}

void KWindowController::infoButtonClick(const Notification& note) {
    const int index = tabOfNotification(note);
    if (index < 0) return;
    currentSelectedIndex_ = index;
    selectKLineView(index);
}

}  // namespace orvane::chart
