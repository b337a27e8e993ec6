#include "liveday/OrderBookPanel.h"

#include <QGridLayout>
#include <QLabel>

#include "mainwindow/WidgetColours.h"
#include "orvane/market/QuoteUnits.h"
#include "orvane/market/StockRecord.h"

namespace orvane::app {

namespace {
const char* const kRowNames[] = {"卖五", "卖四", "卖三", "卖二", "卖一",
                                 "买一", "买二", "买三", "买四", "买五"};
const QString kNone = QStringLiteral("—");
}  // namespace

OrderBookPanel::OrderBookPanel(QWidget* parent) : QWidget(parent) {
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(4, 2, 4, 2);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(0);
    for (int row = 0; row < 10; ++row) {
        // A line between the asks and the bids.
        const int at = row < 5 ? row : row + 1;
        grid->addWidget(new QLabel(QString::fromUtf8(kRowNames[row]), this), at, 0);
        prices_[row] = new QLabel(kNone, this);
        volumes_[row] = new QLabel(kNone, this);
        prices_[row]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        volumes_[row]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        grid->addWidget(prices_[row], at, 1);
        grid->addWidget(volumes_[row], at, 2);
    }
    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    grid->addWidget(line, 5, 0, 1, 3);
}

void OrderBookPanel::setQuote(const StockRecord* quote) {
    const bool shown = quote && quote->book;
    const double yesClose = quote ? quote->yesClose() : 0;
    for (int row = 0; row < 10; ++row) {
        QLabel* price = prices_[row];
        QLabel* volume = volumes_[row];
        price->setText(kNone);
        volume->setText(kNone);
        resetTextColour(price);
        if (!shown) continue;
        const BookLevel& level = row < 5 ? quote->book->asks[4 - row] : quote->book->bids[row - 5];
        if (level.empty()) continue;
        price->setText(QString::number(level.price, 'f', 2));
        volume->setText(QString::number(lotsFromShares(level.volume), 'f', 0));
        if (yesClose > 0 && level.price != yesClose)
            setTextColour(price, toQColor(level.price > yesClose ? colours::risingRed
                                                                 : colours::fallingGreen));
    }
}

QString OrderBookPanel::priceText(int row) const {
    return prices_[row]->text();
}

QString OrderBookPanel::volumeText(int row) const {
    return volumes_[row]->text();
}

}  // namespace orvane::app
