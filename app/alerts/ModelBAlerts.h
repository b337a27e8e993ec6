#pragma once
// The main window's alerts: the model-B notice and the sell signals turned
// into desktop notifications or, when the desktop has no notification
// service, into the application's own sliding panel; the stored list of
// model-B alerts; and the answer to a click on a notification.
//
// Everything here runs on the main thread: the main window observes
// "Notifiation_TREND_MODEB" and "Notifiation_Stock_rasieDown" with
// main-thread delivery and hands the payloads to the two handlers.
//
// Wiring in the main window:
//   UserNotificationCenter::install(std::make_shared<FreedesktopNotificationCenter>());  // once
//   alerts_ = new ModelBAlerts({}, this);
//   connect(alerts_, &ModelBAlerts::notificationActivated, ...);  // fill fields, open the chart
//   connect(alerts_, &ModelBAlerts::storedFileSetAside, ...);     // one status-line message
//   alerts_->loadStockModeBList();                                  // in initMyStocklist

#include <QObject>
#include <QString>
#include <filesystem>
#include <functional>
#include <memory>

#include "alerts/ModelBAlertBook.h"
#include "alerts/ModelBAlertText.h"
#include "orvane/core/UserNotificationCenter.h"
#include "orvane/core/Value.h"

namespace orvane::app {

class NotificationPanelController;

/// Sessions-bus check for a notification service.
bool sessionBusHasNotificationService();

struct ModelBAlertsSetup {
    StockNameLookup nameOf = codeTableName;
    std::filesystem::path stockModeBFile = ModelBAlertBook::defaultFile();
    /// Asked before each model-B alert: may it go to the desktop?
    std::function<bool()> desktopNotificationsAnswer = sessionBusHasNotificationService;
    /// nullptr: a panel of its own.
    NotificationPanelController* panel = nullptr;
};

class ModelBAlerts : public QObject {
    Q_OBJECT
  public:
    explicit ModelBAlerts(ModelBAlertsSetup setup = {}, QObject* parent = nullptr);
    ~ModelBAlerts() override;

    /// Reads "StockModeB.plist" (empty when absent; an unusable file is set
    /// aside and reported through storedFileSetAside).
    void loadStockModeBList();
    const Array& stockModeBList() const { return book_.stockModeBList(); }

    /// The model-B notice. An unusable payload and a repeat of a stored alert
    /// (ModelBAlertBook.h) are ignored. Otherwise the alert goes to the
    /// desktop when a notification service answers, else into the panel,
    /// which slides in; either way its record is stored first in the list
    /// and the list is saved.
    void HandModeBNofification(const Dictionary& payload);
    /// The sell signals: the payload's "StockSellSignal" text in the panel,
    /// which slides in.
    void HandNotifiation_Stock_rasieDown(const Dictionary& payload);

    NotificationPanelController& panel() const { return *panel_; }

  signals:
    /// The user clicked a model-B notification ("确定" or its body): show this stock.
    void notificationActivated(const QString& code);
    /// A stored file could not be used and was moved aside or left alone;
    /// `message` is meant for the status line.
    void storedFileSetAside(const QString& message);

  private:
    void deliverToDesktop(const ModelBAlertText& text, const Dictionary& payload);
    void didActivateNotification(const UserNotification& notification,
                                 UserNotificationActivation activation);

    ModelBAlertsSetup setup_;
    ModelBAlertBook book_;
    std::unique_ptr<NotificationPanelController> ownPanel_;
    NotificationPanelController* panel_;
    /// The centre last made to report clicks here; released on destruction.
    std::weak_ptr<UserNotificationCenter> centre_;
};

}  // namespace orvane::app
