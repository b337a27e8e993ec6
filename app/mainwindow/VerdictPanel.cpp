#include "mainwindow/VerdictPanel.h"

#include <QLabel>

#include "common/DisplayText.h"
#include "mainwindow/ShownStock.h"
#include "mainwindow/WidgetColours.h"

namespace orvane::app {

VerdictPanel::VerdictPanel(ShownStock& shown, QLabel* verdict, QLabel* badge, QObject* parent)
    : QObject(parent), shown_(shown), verdict_(verdict), badge_(badge) {
    verdict_->setWordWrap(true);
    connect(&shown_, &ShownStock::changed, this, &VerdictPanel::redraw);
    redraw();
}

void VerdictPanel::redraw() {
    badge_->hide();
    switch (shown_.state()) {
        case ShownStock::State::Shown: {
            const VerdictView& view = *shown_.view();
            verdict_->setText(displayText(view.verdict));
            setTextColour(verdict_, toPlainQColor(view.verdictColour));
            badge_->setVisible(view.modeB);
            break;
        }
        case ShownStock::State::Fetching:
            verdict_->setText(
                QStringLiteral("正在获取 %1 的数据…").arg(QString::fromStdString(shown_.code())));
            setTextColour(verdict_, QColor(Qt::darkGray));
            break;
        case ShownStock::State::Failed:
            verdict_->setText(QString::fromStdString(shown_.failure()));
            setTextColour(verdict_, toPlainQColor(colours::magenta));
            break;
        case ShownStock::State::None:
        case ShownStock::State::Named:
            verdict_->clear();
            break;
    }
}

}  // namespace orvane::app
