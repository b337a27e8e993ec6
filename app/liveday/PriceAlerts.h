#pragma once
// The price alerts at work: the list (PriceAlertBook), checked against
// every quote the live day fetches, each alert raised once per crossing
// (PriceAlertWatch) through the desktop's notifications, or the
// application's panel when the desktop has no notification service. The
// alert's text is its own: "价格提醒" with the stock, the condition and the
// quote that met it. Main thread only.

#include <QObject>
#include <QString>
#include <functional>
#include <optional>

#include "alerts/ModelBAlertText.h"
#include "liveday/PriceAlertBook.h"
#include "liveday/PriceAlertRule.h"
#include "orvane/market/StockRecord.h"

namespace orvane::app {

class NotificationPanelController;

struct PriceAlertsSetup {
    std::filesystem::path file = PriceAlertBook::defaultFile();
    StockNameLookup nameOf = codeTableName;
    /// Asked before each alert: may it go to the desktop?
    std::function<bool()> desktopNotificationsAnswer;
    /// Where it goes otherwise.
    NotificationPanelController* panel = nullptr;
};

/// The alert's title and text for a quote that met its condition.
struct PriceAlertMessage {
    std::string title, text;
};
PriceAlertMessage priceAlertMessage(const PriceAlert& alert, const StockRecord& quote,
                                    const StockNameLookup& nameOf);

class PriceAlerts : public QObject {
    Q_OBJECT
  public:
    explicit PriceAlerts(PriceAlertsSetup setup, QObject* parent = nullptr);

    /// Reads the list (an unusable file is set aside and reported).
    void load();
    const std::vector<PriceAlert>& alerts() const { return book_.alerts(); }
    std::vector<PriceAlert> alertsOf(const std::string& code) const { return book_.alertsOf(code); }
    /// Changes the list and saves it; false when the save failed.
    bool add(const PriceAlert& alert);
    bool replace(std::vector<PriceAlert> alerts);

    /// A quote arrived: each alert of its stock that crosses is raised.
    void check(const StockRecord& quote, std::optional<double> riseSpeed);

  signals:
    void alertRaised(const QString& title, const QString& text);
    void alertsChanged();
    void storedFileSetAside(const QString& message);

  private:
    void raise(const PriceAlertMessage& message, const std::string& code);

    PriceAlertsSetup setup_;
    PriceAlertBook book_;
    PriceAlertWatch watch_;
};

}  // namespace orvane::app
