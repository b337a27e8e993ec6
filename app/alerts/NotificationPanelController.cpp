#include "alerts/NotificationPanelController.h"

#include <QEasingCurve>
#include <QFrame>
#include <QGuiApplication>
#include <QPropertyAnimation>
#include <QPushButton>
#include <QScreen>

#include "ui_NotificationPanel.h"

namespace orvane::app {

namespace {

constexpr int kScreenMargin = 16;
constexpr int kSlideMilliseconds = 350;

}  // namespace

NotificationPanelController::NotificationPanelController(QObject* parent)
    : QObject(parent), ui_(std::make_unique<Ui::NotificationPanel>()), newMsgPanel_(new QFrame) {
    ui_->setupUi(newMsgPanel_);
    newMsgPanel_->setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    newMsgPanel_->setFixedSize(newMsgPanel_->size());

    slide_ = new QPropertyAnimation(newMsgPanel_, "pos", this);
    slide_->setDuration(kSlideMilliseconds);
    slide_->setEasingCurve(QEasingCurve::OutCubic);
    connect(slide_, &QPropertyAnimation::finished, this, [this] {
        if (!closing_) return;
        closing_ = false;
        newMsgPanel_->hide();
        newMsgPanel_->move(restingFrame().topLeft());
    });

    connect(ui_->nextButton, &QPushButton::clicked, this, &NotificationPanelController::nextMsg);
    connect(ui_->lastButton, &QPushButton::clicked, this, &NotificationPanelController::lastAction);
    connect(ui_->viewButton, &QPushButton::clicked, this, &NotificationPanelController::viewButton);
    updateButtons();
}

NotificationPanelController::~NotificationPanelController() {
    delete newMsgPanel_;
}

QTextBrowser* NotificationPanelController::contentTextView() const {
    return ui_->contentTextView;
}

QRect NotificationPanelController::restingFrame() const {
    const QSize size = newMsgPanel_->size();
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect(QPoint(0, 0), size);
    return QRect(QPoint(area.right() + 1 - kScreenMargin - size.width(),
                        area.bottom() + 1 - kScreenMargin - size.height()),
                 size);
}

void NotificationPanelController::setAnimationDuration(int milliseconds) {
    slide_->setDuration(milliseconds);
}

bool NotificationPanelController::setModeBStockDict(const Dictionary& payload) {
    if (!readModelBNotice(payload)) return false;
    incommingSMSDictList_.emplace_back(payload);
    updateButtons();
    return true;
}

void NotificationPanelController::setNofifyInfoStr(const QString& text) {
    setAlertText(QStringLiteral("卖出信号提醒"), text);
}

void NotificationPanelController::setAlertText(const QString& heading, const QString& text) {
    ui_->titleLabel->setText(heading);
    ui_->contentTextView->setPlainText(text);
}

void NotificationPanelController::showNotificationWindow() {
    if (incommingSMSDictList_.empty()) return;
    index_ = static_cast<std::int32_t>(incommingSMSDictList_.size()) - 1;
    updateMsgUI();
    slideIn();
}

void NotificationPanelController::showPriceAlert(const QString& title, const QString& text) {
    ui_->titleLabel->setText(title);
    ui_->contentTextView->setPlainText(text);
    slideIn();
}

void NotificationPanelController::showStockRaiseDownNotificationWindow() {
    slideIn();
}

void NotificationPanelController::slideIn() {
    const QRect rest = restingFrame();
    slide_->stop();
    closing_ = false;
    newMsgPanel_->move(rest.topLeft() + QPoint(0, rest.height()));
    newMsgPanel_->show();
    newMsgPanel_->raise();
    slide_->setStartValue(newMsgPanel_->pos());
    slide_->setEndValue(rest.topLeft());
    slide_->start();
    newMsgPanel_->update();
    newMsgPanel_->activateWindow();
}

void NotificationPanelController::closeNotificationWindow() {
    ui_->contentTextView->clear();
    if (!newMsgPanel_->isVisible()) return;
    slide_->stop();
    closing_ = true;
    slide_->setStartValue(newMsgPanel_->pos());
    slide_->setEndValue(newMsgPanel_->pos() + QPoint(0, 2 * newMsgPanel_->height()));
    slide_->start();
}

void NotificationPanelController::updateMsgUI() {
    const auto count = static_cast<std::int32_t>(incommingSMSDictList_.size());
    if (index_ < 0 || index_ >= count) return;
    const Value& payload = incommingSMSDictList_[static_cast<std::size_t>(index_)];
    if (!payload.isDictionary()) return;
    const auto text = modelBPanelText(payload.dictionary(), nameOf_);
    if (!text) return;
    ui_->titleLabel->setText(QStringLiteral("模型B提醒  %1/%2").arg(index_ + 1).arg(count));
    ui_->contentTextView->setPlainText(QString::fromStdString(*text));
    updateButtons();
}

void NotificationPanelController::nextMsg() {
    if (index_ < static_cast<std::int32_t>(incommingSMSDictList_.size()) - 1) ++index_;
    updateMsgUI();
}

void NotificationPanelController::lastAction() {
    if (index_ > 0) --index_;
    updateMsgUI();
}

void NotificationPanelController::viewButton() {
    closeNotificationWindow();
}

void NotificationPanelController::updateButtons() {
    const auto count = static_cast<std::int32_t>(incommingSMSDictList_.size());
    ui_->lastButton->setEnabled(index_ > 0 && index_ < count);
    ui_->nextButton->setEnabled(index_ < count - 1);
}

}  // namespace orvane::app
