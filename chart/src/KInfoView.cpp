#include "orvane/chart/KInfoView.h"

#include <QFontDatabase>
#include <QPaintEvent>
#include <QPainter>

#include "orvane/chart/KColours.h"
#include "orvane/chart/KCrosshair.h"

namespace orvane::chart {

namespace {

constexpr int kRowHeight = 20;
constexpr int kRowsWidth = 120;  // eight rows of 20 pixels, 120 wide
constexpr int kRowsHeight = 160;
// The rows sit inside a frame this wide, so no text touches the border.
constexpr int kInset = (static_cast<int>(kInfoPanelWidth) - kRowsWidth) / 2;

QColor qtColour(KTextColour colour) {
    switch (colour) {
        case KTextColour::White:
            return colours::white();
        case KTextColour::Red:
            return colours::red();
        case KTextColour::Green:
            return colours::green();
        case KTextColour::Yellow:
            return colours::yellow();
        case KTextColour::Default:
            break;
    }
    // The toolkit's default text colour is dark in most themes: unreadable here.
    return colours::lightGrey();
}

}  // namespace

KInfoView::KInfoView(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    resize(static_cast<int>(kInfoPanelWidth), static_cast<int>(kInfoPanelHeight));
    // Rows from the top; y in the panel's own coordinates, origin bottom-left.
    dateTitle = addLabel("日期", 0, 140, 35, true);
    dateField = addLabel("", 35, 140, 85, false);
    openTitle = addLabel("开盘价", 0, 120, 40, true);
    openField = addLabel("", 40, 120, 80, false);
    closeTitle = addLabel("收盘价", 0, 100, 40, true);
    closeField = addLabel("", 40, 100, 80, false);
    highTitle = addLabel("最高价", 0, 80, 40, true);
    highField = addLabel("", 40, 80, 80, false);
    lowTitle = addLabel("最低价", 0, 60, 40, true);
    lowField = addLabel("", 40, 60, 80, false);
    volumeTitle = addLabel("成交量", 0, 40, 40, true);
    volumeField = addLabel("", 40, 40, 80, false);
    riseFallTitle = addLabel("涨跌", 0, 20, 40, true);
    riseFallField = addLabel("", 40, 20, 80, false);
    swingTitle = addLabel("振幅", 0, 0, 40, true);
    swingField = addLabel("", 40, 0, 80, false);
}

QLabel* KInfoView::addLabel(const char* text, int x, int y, int width, bool isTitle) {
    auto* label = new QLabel(QString::fromUtf8(text), this);
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPixelSize(12);
    font.setBold(true);
    label->setFont(font);
    label->setAutoFillBackground(true);
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, colours::infoPanelBackground());
    if (isTitle) palette.setColor(QPalette::WindowText, colours::white());
    label->setPalette(palette);
    label->setAlignment((isTitle ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter);
    label->setTextInteractionFlags(Qt::NoTextInteraction);
    label->setGeometry(kInset + x, kInset + kRowsHeight - y - kRowHeight, width, kRowHeight);
    return label;
}

void KInfoView::setValue(QLabel* label, const std::string& text, KTextColour colour) {
    // Palette changes ripple through the widget: make them only when needed.
    const QColor wanted = qtColour(colour);
    if (label->palette().color(QPalette::WindowText) != wanted) {
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, wanted);
        label->setPalette(palette);
    }
    const QString value = QString::fromStdString(text);
    if (label->text() != value) label->setText(value);
}

void KInfoView::setValues(const KInfoValues& v) {
    setValue(dateField, v.date, KTextColour::White);
    setValue(openField, v.open, v.priceColour);
    setValue(closeField, v.close, v.priceColour);
    setValue(highField, v.high, v.priceColour);
    setValue(lowField, v.low, v.priceColour);
    setValue(volumeField, v.volume, KTextColour::Yellow);
    setValue(riseFallField, v.riseFall, v.riseFallColour);
    setValue(swingField, v.swing, KTextColour::Default);
}

void KInfoView::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.fillRect(event->rect(), colours::infoPanelBackground());
    painter.setPen(colours::infoPanelBorder());
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

}  // namespace orvane::chart
