#include "orvane/chart/KWindowController.h"

#include <algorithm>

#include "orvane/chart/IntradayView.h"
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

KBaseView* KWindowController::addNewKLineView(const std::filesystem::path& path) {
    isKWindowShown_ = true;
    const std::string code = path.stem().string();
    int index = tabOfStock(code);
    if (index >= 0) {
        // The stock has its tab: show it with the file's days, which may be newer.
        kLineViewList_[static_cast<std::size_t>(index)]->initKDataFromFilePath(path);
    } else if (kLineViewList_.size() >= static_cast<std::size_t>(kMaxChartTabs)) {
        bringKWindowToFront();
        return nullptr;
    } else {
        const int ww = kWindow_->width();
        const int wh = kWindow_->height();
        auto* view = new KBaseView(QRect(0, kTabRowHeight, ww, wh - kTabRowHeight), kWindow_.get());
        view->initKDataFromFilePath(path);
        view->hide();
        kLineViewList_.push_back(view);
        intradayViewList_.push_back(nullptr);
        addTabButton();
        index = static_cast<int>(kLineViewList_.size()) - 1;
    }
    return showTab(index, code);
}

KBaseView* KWindowController::replaceKLineView(int index, const std::filesystem::path& path) {
    const std::string code = path.stem().string();
    if (index < 0 || index >= static_cast<int>(kLineViewList_.size()) || tabOfStock(code) >= 0)
        return addNewKLineView(path);
    kLineViewList_[static_cast<std::size_t>(index)]->initKDataFromFilePath(path);
    return showTab(index, code);
}

KBaseView* KWindowController::showTab(int index, const std::string& code) {
    // The code table may have learnt the name since the tab was made.
    KInfoButton* button = kLineViewCloseButtonList_[static_cast<std::size_t>(index)];
    button->setButtonTitle(QString::fromStdString(tabTitleFor(code)));
    button->setButtonInfo(windowTitleFor(code));

    resetKLineViewCloseButtonList();
    currentSelectedIndex_ = index;
    selectKLineView(currentSelectedIndex_);
    bringKWindowToFront();
    return kLineViewList_[static_cast<std::size_t>(index)];
}

void KWindowController::addTabButton() {
    auto* button =
        new KInfoButton(QRect(0, 0, kInfoButtonWidth, kInfoButtonHeight), kWindow_.get());
    button->setDelegate(this);
    button->setButtonID(0);
    button->show();
    kLineViewCloseButtonList_.push_back(button);
}

QWidget* KWindowController::pageOf(std::size_t index) const {
    if (intradayViewList_[index]) return intradayViewList_[index];
    return kLineViewList_[index];
}

IntradayView* KWindowController::addIntradayView(const std::string& code) {
    isKWindowShown_ = true;
    IntradayView* view = intradayViewOf(code);
    int index = -1;
    for (std::size_t i = 0; i < intradayViewList_.size(); ++i)
        if (intradayViewList_[i] == view && view) index = static_cast<int>(i);
    if (index < 0) {
        if (kLineViewList_.size() >= static_cast<std::size_t>(kMaxChartTabs)) {
            bringKWindowToFront();
            return nullptr;
        }
        view = new IntradayView(code, kWindow_.get());
        view->setGeometry(0, kTabRowHeight, kWindow_->width(), kWindow_->height() - kTabRowHeight);
        view->hide();
        kLineViewList_.push_back(nullptr);
        intradayViewList_.push_back(view);
        addTabButton();
        index = static_cast<int>(kLineViewList_.size()) - 1;
    }
    KInfoButton* button = kLineViewCloseButtonList_[static_cast<std::size_t>(index)];
    button->setButtonTitle(QString::fromStdString("分时 " + tabTitleFor(code)));
    button->setButtonInfo("分时 " + windowTitleFor(code));
    resetKLineViewCloseButtonList();
    currentSelectedIndex_ = index;
    selectKLineView(index);
    bringKWindowToFront();
    return view;
}

std::vector<std::string> KWindowController::intradayCodes() const {
    std::vector<std::string> codes;
    for (IntradayView* view : intradayViewList_)
        if (view) codes.push_back(view->code());
    return codes;
}

IntradayView* KWindowController::intradayViewOf(const std::string& code) const {
    for (IntradayView* view : intradayViewList_)
        if (view && view->code() == code) return view;
    return nullptr;
}

int KWindowController::tabOfStock(const std::string& code) const {
    for (std::size_t i = 0; i < kLineViewList_.size(); ++i)
        if (kLineViewList_[i] && kLineViewList_[i]->filePath().stem().string() == code)
            return static_cast<int>(i);
    return -1;
}

void KWindowController::bringKWindowToFront() {
    // Un-minimised first: a minimised window cannot come to the front.
    if (kWindow_->isMinimized())
        kWindow_->setWindowState(kWindow_->windowState() & ~Qt::WindowMinimized);
    kWindow_->show();
    kWindow_->raise();
    kWindow_->activateWindow();
}

std::string KWindowController::tabTitleFor(const std::string& code) const {
    const std::string name = nameLookup_ ? nameLookup_(code) : std::string();
    return name.empty() ? code : name + " " + code;
}

std::string KWindowController::windowTitleFor(const std::string& code) const {
    const std::string name = nameLookup_ ? nameLookup_(code) : std::string();
    // Without a code table there is no name: the title is the code alone.
    return name.empty() ? code : name + "(" + code + ")";
}

void KWindowController::resetKLineViewCloseButtonList() {
    const int count = static_cast<int>(kLineViewCloseButtonList_.size());
    if (count == 0) return;
    // Narrower buttons when a row of full ones would run past the window's edge.
    const int fitting = (kWindow_->width() + kTabButtonGap) / count - kTabButtonGap;
    const int width = std::clamp(fitting, kMinTabButtonWidth, kInfoButtonWidth);
    for (int i = 0; i < count; ++i) {
        KInfoButton* button = kLineViewCloseButtonList_[static_cast<std::size_t>(i)];
        button->setButtonID(i);
        button->setGeometry((width + kTabButtonGap) * i, 0, width, kInfoButtonHeight);
    }
}

void KWindowController::selectKLineView(int index) {
    if (index < 0 || index >= static_cast<int>(kLineViewList_.size())) return;
    for (std::size_t i = 0; i < kLineViewList_.size(); ++i) pageOf(i)->hide();
    QWidget* chosen = pageOf(static_cast<std::size_t>(index));
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
    QWidget* view = pageOf(static_cast<std::size_t>(index));
    view->hide();
    view->deleteLater();
    kLineViewList_.erase(kLineViewList_.begin() + index);
    intradayViewList_.erase(intradayViewList_.begin() + index);
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
    for (std::size_t i = 0; i < kLineViewList_.size(); ++i) {
        pageOf(i)->hide();
        pageOf(i)->deleteLater();
    }
    for (KInfoButton* button : kLineViewCloseButtonList_) {
        button->hide();
        button->deleteLater();
    }
    kLineViewList_.clear();
    intradayViewList_.clear();
    kLineViewCloseButtonList_.clear();
    kWindow_->hide();
    isKWindowShown_ = false;
    emit kWindowClosed();
}

QSize KWindowController::windowWillResize(QSize size) {
    for (KBaseView* view : kLineViewList_) {
        if (!view) continue;
        view->move(0, kTabRowHeight);
        view->setCurrentSectionRangeX(static_cast<float>(size.width()),
                                      static_cast<float>(size.height() - kTabRowHeight));
    }
    for (IntradayView* view : intradayViewList_)
        if (view) view->setGeometry(0, kTabRowHeight, size.width(), size.height() - kTabRowHeight);
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
