#include "mainwindow/IndexStrip.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPointer>

#include "common/FigureColours.h"
#include "orvane/core/MainThreadDispatcher.h"
#include "orvane/core/NumberText.h"
#include "orvane/market/CodeTable.h"
#include "orvane/market/SectorGroups.h"

namespace orvane::app {

namespace {

const char* const kCodeProperty = "indexCode";

}  // namespace

std::string indexStripText(const std::string& name, const MarketQuote* quote) {
    if (!quote || quote->suspended() || !(quote->previousClose > 0)) return name;
    const double change = quote->price - quote->previousClose;
    return format("%s %.2f %+.2f %+.2f%%", name.c_str(), quote->price, change,
                  change / quote->previousClose * 100);
}

IndexStrip::IndexStrip(MarketQuoteFeed::Periods periods, QWidget* parent)
    : QWidget(parent),
      feed_(
          [strip = QPointer(this)](QuoteRound round) {
              postToMainThread([strip, round = std::move(round)] {
                  if (strip) strip->applyRound(round);
              });
          },
          periods) {
    layout_ = new QHBoxLayout(this);
    layout_->setContentsMargins(0, 0, 0, 0);
    layout_->setSpacing(24);
    layout_->addStretch();
}

IndexStrip::~IndexStrip() {
    feed_.stop();
}

void IndexStrip::stop() {
    feed_.stop();
}

void IndexStrip::reloadIndexes() {
    feed_.stop();
    for (QLabel* label : labels_) delete label;
    labels_.clear();
    codes_ = SectorGroups::shared().compositeCodes();
    names_.clear();
    for (const std::string& code : codes_) {
        const std::string name = CodeTable::shared().getStockCodeName(code).value_or(code);
        names_.push_back(name);
        auto* label = new QLabel(QString::fromStdString(name), this);
        label->setProperty(kCodeProperty, QString::fromStdString(code));
        label->setCursor(Qt::PointingHandCursor);
        label->setToolTip(QStringLiteral("%1 日K线").arg(QString::fromStdString(code)));
        label->installEventFilter(this);
        layout_->insertWidget(layout_->count() - 1, label);
        labels_.push_back(label);
    }
    setVisible(!codes_.empty());
    feed_.setAllCodes(codes_);
    feed_.setVisibleCodes(codes_);
    if (!codes_.empty()) feed_.start();
}

QLabel* IndexStrip::labelOf(const std::string& code) const {
    for (std::size_t i = 0; i < codes_.size(); ++i)
        if (codes_[i] == code) return labels_[i];
    return nullptr;
}

void IndexStrip::applyRound(const QuoteRound& round) {
    if (!round.answered) {
        // The last good figures stay, greyed: they are no longer current.
        for (QLabel* label : labels_) label->setStyleSheet(QStringLiteral("color: gray;"));
        return;
    }
    for (const MarketQuote& quote : round.quotes) {
        for (std::size_t i = 0; i < codes_.size(); ++i) {
            if (codes_[i] != quote.code) continue;
            labels_[i]->setText(QString::fromStdString(indexStripText(names_[i], &quote)));
            const double change = quote.price - quote.previousClose;
            const QColor colour = change > 0   ? toQColor(colours::risingRed)
                                  : change < 0 ? toQColor(colours::fallingGreen)
                                               : palette().color(QPalette::WindowText);
            labels_[i]->setStyleSheet(QStringLiteral("color: %1;").arg(colour.name()));
        }
    }
}

bool IndexStrip::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const QVariant code = watched->property(kCodeProperty);
        if (mouse->button() == Qt::LeftButton && code.isValid()) {
            Q_EMIT indexPicked(code.toString());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace orvane::app
