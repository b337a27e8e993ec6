#include "mainwindow/StatusLine.h"

#include <QEvent>
#include <QLabel>

#include "application/DataFreshness.h"
#include "common/DisplayText.h"
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
      freshness_(freshness) {
    statusField_->installEventFilter(this);
}

void StatusLine::showStatus(const std::string& text) {
    text_ = text;
    textStock_.clear();
    redraw();
}

void StatusLine::showStockStatus(const std::string& code, const std::string& text) {
    text_ = text;
    textStock_ = code;
    redraw();
}

void StatusLine::followShownStock(const std::string& code) {
    if (textStock_.empty() || textStock_ == code) return;
    text_.clear();
    textStock_.clear();
    redraw();
}

void StatusLine::addNotice(const std::string& text) {
    notices_.push_back(text);
    redraw();
}

void StatusLine::dismissNotices() {
    if (notices_.empty()) return;
    notices_.clear();
    redraw();
}

bool StatusLine::eventFilter(QObject* watched, QEvent* event) {
    if (watched == statusField_ && event->type() == QEvent::MouseButtonRelease) dismissNotices();
    return QObject::eventFilter(watched, event);
}

void StatusLine::redraw() {
    QStringList lines;
    const auto addLine = [&](const std::string& line) {
        const QString text = displayText(line).trimmed();
        if (!text.isEmpty()) lines << text;
    };
    addLine(text_);
    for (const std::string& notice : notices_) addLine(notice);
    const auto notice = freshness_.staleNotice();
    if (notice) addLine(*notice);
    statusField_->setText(lines.join(QLatin1Char('\n')));
    statusField_->setToolTip(
        notices_.empty() ? QString()
                         : QStringLiteral("点击状态栏，关闭 %1 条文件提示").arg(notices_.size()));
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
