#include "mainwindow/DayPricesPanel.h"

#include <QLabel>

#include "mainwindow/ShownStock.h"
#include "mainwindow/WidgetColours.h"

namespace orvane::app {

DayPricesPanel::DayPricesPanel(ShownStock& shown, DayPriceFields fields, QObject* parent)
    : QObject(parent), shown_(shown), fields_(fields) {
    connect(&shown_, &ShownStock::changed, this, &DayPricesPanel::redraw);
    redraw();
}

void DayPricesPanel::redraw() {
    const DayPriceFields& f = fields_;
    for (QLabel* field : {f.today_Field, f.openPrice, f.closePrice, f.yesClosePrice,
                          f.pricedChanged, f.priceChangedRatio})
        field->clear();
    if (shown_.state() != ShownStock::State::Shown) return;
    const VerdictView& view = *shown_.view();
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
