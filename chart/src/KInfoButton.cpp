#include "orvane/chart/KInfoButton.h"

#include <QFontDatabase>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>

#include "orvane/chart/KColours.h"
#include "orvane/chart/KImageButton.h"
#include "orvane/core/NotificationBus.h"
#include "orvane/core/NotificationNames.h"

// The library's resources are linked statically: register them on first use.
// (Resource registration must happen outside any namespace.)
static void initChartResources() {
    Q_INIT_RESOURCE(chart);
}

namespace orvane::chart {

namespace {

QPixmap resourceImage(const char* name) {
    static const bool registered = (initChartResources(), true);
    (void)registered;
    return QPixmap(QStringLiteral(":/chart/") + QString::fromLatin1(name));
}

}  // namespace

KInfoButton::KInfoButton(const QRect& frame, QWidget* parent) : QWidget(parent) {
    setGeometry(frame);
    setAttribute(Qt::WA_OpaquePaintEvent);
    closeButton_ = new KImageButton(resourceImage("close.png"), this);
    infoButton_ = new KImageButton(resourceImage("closeBottom.png"), this);
    connect(closeButton_, &QAbstractButton::clicked, this, [this] { buttonActions(closeButton_); });
    connect(infoButton_, &QAbstractButton::clicked, this, [this] { buttonActions(infoButton_); });
    setSelected(false);
}

void KInfoButton::setButtonTitle(const QString& title) {
    infoButton_->setText(title);
    // In a crowded row the title is cut short: the whole of it on hovering.
    infoButton_->setToolTip(title);
}

QString KInfoButton::buttonTitle() const {
    return infoButton_->text();
}

void KInfoButton::setSelected(bool selected) {
    isSelected_ = selected;
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPixelSize(selected ? 13 : 12);
    font.setBold(selected);
    infoButton_->setFont(font);
    layOut();
    update();
}

void KInfoButton::layOut() {
    // A selected tab's parts sit 2 pixels in from its top, bottom and right.
    const int w = width();
    if (isSelected_) {
        closeButton_->setGeometry(2, 2, 18, 18);
        infoButton_->setGeometry(20, 2, std::max(w - 22, 0), 18);
    } else {
        closeButton_->setGeometry(0, 0, 20, 20);
        infoButton_->setGeometry(20, 0, std::max(w - 20, 0), 20);
    }
}

void KInfoButton::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layOut();
}

void KInfoButton::paintEvent(QPaintEvent* event) {
    QPainter(this).fillRect(event->rect(),
                            isSelected_ ? colours::background() : colours::lightGrey());
}

void KInfoButton::buttonActions(QObject* sender) {
    const char* name = sender == closeButton_ ? notifications::InfoButtonCloseNotification
                                              : notifications::InfoButtonClickNotification;
    NotificationBus::shared().post(name, this, {{"infoButtonID", buttonID_}});
}

}  // namespace orvane::chart
