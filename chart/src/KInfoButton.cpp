#include "orvane/chart/KInfoButton.h"

#include <QFontDatabase>
#include <QPaintEvent>
#include <QPainter>

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
}

QString KInfoButton::buttonTitle() const {
    return infoButton_->text();
}

void KInfoButton::setSelected(bool selected) {
    isSelected_ = selected;
    // Frames of the layout table are bottom-up inside the 20-pixel button.
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    if (selected) {
        closeButton_->setGeometry(2, 2, 18, 18);
        infoButton_->setGeometry(20, 2, 78, 18);
        font.setPixelSize(13);
        font.setBold(true);
    } else {
        closeButton_->setGeometry(0, 0, 20, 20);
        infoButton_->setGeometry(20, 0, 80, 20);
        font.setPixelSize(12);
    }
    infoButton_->setFont(font);
    update();
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
