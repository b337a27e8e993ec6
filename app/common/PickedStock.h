#pragma once
// A list's double-clicked stock: the list tells the window which stock to
// show (its stockPicked signal) and posts the double-click notice, on which
// the window opens the stock's history.

#include <QString>
#include <string>

#include "orvane/core/NotificationBus.h"
#include "orvane/core/NotificationNames.h"
#include "orvane/market/StockRecord.h"

namespace orvane::app {

template <class List>
void announcePickedStock(List& list, const StockRecord& stock, const std::string& name) {
    Q_EMIT list.stockPicked(QString::fromStdString(stock.code), QString::fromStdString(name));
    NotificationBus::shared().post(notifications::Notifiation_DoubleClickStock, &list,
                                   stock.toDictionary());
}

}  // namespace orvane::app
