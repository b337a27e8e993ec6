#include "orvane/chart/KChartOptionsBar.h"

#include <QFontDatabase>
#include <QMouseEvent>
#include <QPainter>

#include "orvane/chart/KColours.h"

namespace orvane::chart {

namespace {

constexpr int kItemGap = 10;   // between two texts of a group
constexpr int kGroupGap = 24;  // between two groups

}  // namespace

const char* pricesName(KPrices prices) {
    return prices == KPrices::ForwardAdjusted ? "前复权" : "不复权";
}

KChartOptionsBar::KChartOptionsBar(Chosen chosen, QWidget* parent)
    : QWidget(parent), chosen_(std::move(chosen)) {
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPixelSize(12);
    setFont(font);
    setCursor(Qt::PointingHandCursor);
    setToolTip(QStringLiteral("F8 换周期，F9 换指标"));
    layoutItems();
}

void KChartOptionsBar::setChoices(const KChartChoices& choices) {
    choices_ = choices;
    layoutItems();
    update();
}

void KChartOptionsBar::layoutItems() {
    items_.clear();
    const QFontMetrics metrics(font());
    int x = 0;
    const auto add = [&](const char* text, bool chosen,
                         std::function<void(KChartChoices&)> choose) {
        const QString label = QString::fromUtf8(text);
        const int w = metrics.horizontalAdvance(label);
        items_.push_back({label, QRect(x, 0, w, height()), chosen, std::move(choose)});
        x += w + kItemGap;
    };
    for (const KPeriod p : {KPeriod::Day, KPeriod::Week, KPeriod::Month})
        add(periodName(p), choices_.period == p, [p](KChartChoices& c) { c.period = p; });
    x += kGroupGap - kItemGap;
    for (const KIndicator i : {KIndicator::MACD, KIndicator::KDJ})
        add(indicatorName(i), choices_.indicator == i, [i](KChartChoices& c) { c.indicator = i; });
    x += kGroupGap - kItemGap;
    if (choices_.adjustedOffered) {
        for (const KPrices p : {KPrices::Traded, KPrices::ForwardAdjusted})
            add(pricesName(p), choices_.prices == p, [p](KChartChoices& c) { c.prices = p; });
    } else {
        add(pricesName(KPrices::Traded), true, [](KChartChoices&) {});
    }
}

bool KChartOptionsBar::clickAt(QPoint point) {
    for (const Item& item : items_) {
        if (point.x() < item.frame.left() || point.x() > item.frame.right()) continue;
        KChartChoices next = choices_;
        item.choose(next);
        setChoices(next);
        if (chosen_) chosen_(choices_);
        return true;
    }
    return false;
}

void KChartOptionsBar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    for (const Item& item : items_) {
        painter.setPen(item.chosen ? colours::yellow() : colours::lightGrey());
        painter.drawText(QRect(item.frame.left(), 0, item.frame.width() + 2, height()),
                         Qt::AlignLeft | Qt::AlignVCenter, item.text);
    }
}

void KChartOptionsBar::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && clickAt(event->position().toPoint())) {
        event->accept();
        return;
    }
    QWidget::mousePressEvent(event);
}

}  // namespace orvane::chart
