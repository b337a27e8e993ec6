#include "mainwindow/StatusLine.h"

#include <QLabel>

#include "application/DataFreshness.h"
#include "mainwindow/WidgetColours.h"
#include "orvane/core/Clock.h"
#include "orvane/core/LocalTime.h"
#include "orvane/core/NumberText.h"

namespace orvane::app {

StatusLine::StatusLine(QLabel* statusField, QLabel* timeField, QLabel* marketReportTextField,
                       const DataFreshness& freshness, QObject* parent)
    : QObject(parent),
      statusField_(statusField),
      timeField_(timeField),
      marketReportTextField_(marketReportTextField),
      freshness_(freshness) {}

void StatusLine::showStatus(const std::string& text) {
    text_ = text;
    redraw();
}

void StatusLine::redraw() {
    // Status texts carry the program's "\r\n" line ends; a label wants "\n".
    QString text =
        QString::fromStdString(text_).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text = text.trimmed();
    const auto notice = freshness_.staleNotice();
    if (notice)
        text +=
            (text.isEmpty() ? QString() : QStringLiteral("\n")) + QString::fromStdString(*notice);
    statusField_->setText(text);
    timeField_->setToolTip(notice ? QString::fromStdString(*notice) : QString());
    setTextColour(timeField_, notice ? QColor(200, 0, 0) : QColor(Qt::black));
}

void StatusLine::updateStatusTimes() {
    const LocalDateTime t = toLocal(now());
    timeField_->setText(
        QString::fromStdString(format("%02d:%02d:%02d", t.hour, t.minute, t.second)));
}

void StatusLine::setMarketReportLine(const StyledText& text) {
    QLabel* line = marketReportTextField_;
    line->setTextFormat(Qt::PlainText);
    line->setText(QString::fromStdString(text.text));
    QFont font = line->font();
    font.setBold(text.font == StyledText::Font::Bold);
    line->setFont(font);
    setTextColour(line, QColor::fromRgb(text.colour));
}

}  // namespace orvane::app
