#include "liveday/PriceAlerts.h"

#include "alerts/NotificationPanelController.h"
#include "orvane/core/NumberText.h"
#include "orvane/core/UserNotificationCenter.h"
#include "orvane/market/StockKeys.h"

namespace orvane::app {

namespace {

QuoteFigures figuresOf(const StockRecord& quote, std::optional<double> riseSpeed) {
    // The texts in double precision: a quote of 10.20 meets "价格 ≥ 10.20".
    const double price = leadingDouble(quote.closePrice.value_or(""));
    const double yesClose = leadingDouble(quote.yesClosePrice.value_or(""));
    return {price, yesClose > 0 && price > 0 ? (price / yesClose - 1) * 100 : 0, riseSpeed};
}

std::string timeOf(const StockRecord& quote) {
    const std::string stamp = quote.date.value_or("");
    const std::size_t blank = stamp.find(' ');
    return blank == std::string::npos ? stamp : stamp.substr(blank + 1);
}

}  // namespace

PriceAlertMessage priceAlertMessage(const PriceAlert& alert, const StockRecord& quote,
                                    const StockNameLookup& nameOf) {
    const std::string name = nameOf ? nameOf(alert.code) : std::string();
    const QuoteFigures f = figuresOf(quote, std::nullopt);
    PriceAlertMessage m;
    m.title = "价格提醒：" + (name.empty() ? alert.code : name + "(" + alert.code + ")");
    m.text = conditionText(alert) + "。现价 " + format("%.2f", f.price) + "，涨跌幅 " +
             format("%+.2f%%", f.changePercent) + "（" + timeOf(quote) + "）";
    return m;
}

PriceAlerts::PriceAlerts(PriceAlertsSetup setup, QObject* parent)
    : QObject(parent), setup_(std::move(setup)), book_(setup_.file) {}

void PriceAlerts::load() {
    const StoredPropertyList read = book_.load();
    if (read.needsReport()) emit storedFileSetAside(QString::fromStdString(read.reportText()));
    emit alertsChanged();
}

bool PriceAlerts::add(const PriceAlert& alert) {
    const bool saved = book_.add(alert);
    emit alertsChanged();
    return saved;
}

bool PriceAlerts::replace(std::vector<PriceAlert> alerts) {
    const bool saved = book_.replace(std::move(alerts));
    emit alertsChanged();
    return saved;
}

void PriceAlerts::check(const StockRecord& quote, std::optional<double> riseSpeed) {
    for (const PriceAlert& alert :
         watch_.crossings(book_.alerts(), quote.code, figuresOf(quote, riseSpeed)))
        raise(priceAlertMessage(alert, quote, setup_.nameOf), alert.code);
}

void PriceAlerts::raise(const PriceAlertMessage& message, const std::string& code) {
    if (setup_.desktopNotificationsAnswer && setup_.desktopNotificationsAnswer()) {
        UserNotificationCenter::shared()->deliverNotification(UserNotification{
            .title = message.title,
            .subtitle = "",
            .informativeText = message.text,
            .userInfo = Dictionary{{keys::StockCode, Value(code)}},
            .actionButtonTitle = "确定",
            .otherButtonTitle = "",
        });
    } else if (setup_.panel) {
        setup_.panel->showPriceAlert(QString::fromStdString(message.title),
                                     QString::fromStdString(message.text));
    }
    emit alertRaised(QString::fromStdString(message.title), QString::fromStdString(message.text));
}

}  // namespace orvane::app
