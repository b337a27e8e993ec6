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
    // The asks on the left, the bids on the right, level one on top.
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(4, 2, 4, 2);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(1);
    for (int row = 0; row < 10; ++row) {
        const bool ask = row < 5;
        const int at = ask ? 4 - row : row - 5;
        const int column = ask ? 0 : 4;
        grid->addWidget(new QLabel(QString::fromUtf8(kRowNames[row]), this), at, column);
        prices_[row] = new QLabel(kNone, this);
        volumes_[row] = new QLabel(kNone, this);
        prices_[row]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        volumes_[row]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        grid->addWidget(prices_[row], at, column + 1);
        grid->addWidget(volumes_[row], at, column + 2);
    }
    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::VLine);
    line->setFrameShadow(QFrame::Sunken);
    grid->addWidget(line, 0, 3, 5, 1);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
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
