#include "alerts/ModelBAlerts.h"

#include <QDBusConnection>
#include <QPointer>

#include "alerts/NotificationPanelController.h"
#include "orvane/core/Log.h"
#include "orvane/market/StockKeys.h"
#include "orvane/reports/MarketReport.h"
#include "platform/FreedesktopNotificationCenter.h"

namespace orvane::app {

bool sessionBusHasNotificationService() {
    return FreedesktopNotificationCenter::serviceAnswers(QDBusConnection::sessionBus());
}

ModelBAlerts::ModelBAlerts(ModelBAlertsSetup setup, QObject* parent)
    : QObject(parent),
      setup_(std::move(setup)),
      book_(setup_.stockModeBFile),
      ownPanel_(setup_.panel ? nullptr : std::make_unique<NotificationPanelController>()),
      panel_(setup_.panel ? setup_.panel : ownPanel_.get()) {
    panel_->setStockNameLookup(setup_.nameOf);
}

ModelBAlerts::~ModelBAlerts() {
    if (auto centre = centre_.lock()) centre->setActivationHandler(nullptr);
}

void ModelBAlerts::loadStockModeBList() {
    const StoredPropertyList read = book_.load();
    if (read.needsReport()) emit storedFileSetAside(QString::fromStdString(read.reportText()));
}

void ModelBAlerts::HandModeBNofification(const Dictionary& payload) {
    const auto notice = readModelBNotice(payload);
    if (!notice || book_.isRepeat(*notice)) return;
    const ModelBAlertText text = ModelBAlertText::forNotice(*notice, setup_.nameOf);

    if (setup_.desktopNotificationsAnswer && setup_.desktopNotificationsAnswer()) {
        deliverToDesktop(text, payload);
    } else {
        panel_->setModeBStockDict(payload);
        panel_->showNotificationWindow();
    }
    book_.insertAndSave(text.alertRecord());  // a failed write keeps the list in memory
}

void ModelBAlerts::deliverToDesktop(const ModelBAlertText& text, const Dictionary& payload) {
    const std::shared_ptr<UserNotificationCenter> centre = UserNotificationCenter::shared();
    centre->deliverNotification(UserNotification{
        .title = text.title,
        .subtitle = text.subtitle,
        .informativeText = text.informativeText,
        .userInfo = payload,
        .actionButtonTitle = "确定",
        .otherButtonTitle = "取消",
    });
    ORVANE_LOG("通知已经递交！");

    // Clicks on this alert come back here.
    centre->setActivationHandler(
        [self = QPointer<ModelBAlerts>(this)](const UserNotification& n,
                                              UserNotificationActivation activation) {
            if (!self) return;
            QMetaObject::invokeMethod(
                self.data(),
                [self, n, activation] {
                    if (self) self->didActivateNotification(n, activation);
                },
                Qt::AutoConnection);
        });
    centre_ = centre;
}

void ModelBAlerts::didActivateNotification(const UserNotification& notification,
                                           UserNotificationActivation activation) {
    ORVANE_LOG("用户点击了通知！");
    if (activation == UserNotificationActivation::OtherButtonClicked) return;  // "取消"
    const std::string code = stringFor(notification.userInfo, keys::StockCode);
    if (!code.empty()) emit notificationActivated(QString::fromStdString(code));
}

void ModelBAlerts::HandNotifiation_Stock_rasieDown(const Dictionary& payload) {
    panel_->setNofifyInfoStr(QString::fromStdString(stringFor(payload, StockSellSignal)));
    panel_->showStockRaiseDownNotificationWindow();
}

}  // namespace orvane::app
