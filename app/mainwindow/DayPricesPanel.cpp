#include "mainwindow/DayPricesPanel.h"

#include <QLabel>

#include "mainwindow/ShownStock.h"
#include "mainwindow/WidgetColours.h"

namespace orvane::app {

bool isQuoteOfRecordDayOrLater(const StockRecord& quote, const StockRecord& record) {
    const std::string quoteDay = quote.date.value_or("").substr(0, 10);
    const std::string recordDay = record.date.value_or("").substr(0, 10);
    return quote.code == record.code && quoteDay.size() == 10 && quoteDay >= recordDay;
}

DayPricesPanel::DayPricesPanel(ShownStock& shown, DayPriceFields fields, QObject* parent)
    : QObject(parent), shown_(shown), fields_(fields) {
    connect(&shown_, &ShownStock::changed, this, [this] {
        live_.reset();
        redraw();
    });
    redraw();
}

void DayPricesPanel::showLiveQuote(const StockRecord* quote) {
    const std::optional<StockRecord>& record = shown_.record();
    if (quote && record && shown_.state() == ShownStock::State::Shown &&
        isQuoteOfRecordDayOrLater(*quote, *record))
        live_ = *quote;
    else
        live_.reset();
    redraw();
}

void DayPricesPanel::redraw() {
    const DayPriceFields& f = fields_;
    for (QLabel* field : {f.today_Field, f.openPrice, f.closePrice, f.yesClosePrice,
                          f.pricedChanged, f.priceChangedRatio})
        field->clear();
    if (f.closePriceLabel)
        f.closePriceLabel->setText(live_ ? QStringLiteral("现价") : QStringLiteral("收盘"));
    if (shown_.state() != ShownStock::State::Shown) return;
    const std::optional<VerdictView> liveView =
        live_ ? std::optional(makeVerdictView(*live_, 0)) : std::nullopt;
    const VerdictView& view = liveView ? *liveView : *shown_.view();
    auto qs = [](const std::string& s) { return QString::fromStdString(s); };
    f.today_Field->setText(qs(view.day));
    f.openPrice->setText(qs(view.open));
    f.closePrice->setText(qs(view.close));
    f.yesClosePrice->setText(qs(view.yesClose));
    f.pricedChanged->setText(qs(view.change));
    f.priceChangedRatio->setText(qs(view.range));
    setTextColour(f.closePrice, toPlainQColor(view.closeColour));
    setTextColour(f.pricedChanged, toPlainQColor(view.changeColour));
}

}  // namespace orvane::app
