#include "platform/AppearanceSwitch.h"

#include <QActionGroup>
#include <QApplication>
#include <QKeySequence>
#include <QMenu>
#include <QSettings>
#include <QStyle>
#include <tuple>

#include "mainwindow/WidgetColours.h"
#include "platform/DesktopColourScheme.h"

namespace orvane::app {

namespace {

constexpr const char* kSetting = "appearance/scheme";

QSettings userSettings() {
    return QSettings(QStringLiteral("Orvane"), QStringLiteral("Orvane"));
}

}  // namespace

QPalette darkPalette() {
    const QColor window(45, 45, 48), base(30, 30, 32), text(230, 230, 230), disabled(130, 130, 130),
        highlight(42, 110, 187);
    QPalette p;
    p.setColor(QPalette::Window, window);
    p.setColor(QPalette::WindowText, text);
    p.setColor(QPalette::Base, base);
    p.setColor(QPalette::AlternateBase, QColor(40, 40, 43));
    p.setColor(QPalette::ToolTipBase, window);
    p.setColor(QPalette::ToolTipText, text);
    p.setColor(QPalette::PlaceholderText, disabled);
    p.setColor(QPalette::Text, text);
    p.setColor(QPalette::Button, window);
    p.setColor(QPalette::ButtonText, text);
    p.setColor(QPalette::BrightText, QColor(255, 85, 85));
    p.setColor(QPalette::Light, QColor(70, 70, 74));
    p.setColor(QPalette::Midlight, QColor(60, 60, 64));
    p.setColor(QPalette::Mid, QColor(35, 35, 38));
    p.setColor(QPalette::Dark, QColor(25, 25, 27));
    p.setColor(QPalette::Shadow, QColor(0, 0, 0));
    p.setColor(QPalette::Highlight, highlight);
    p.setColor(QPalette::HighlightedText, Qt::white);
    p.setColor(QPalette::Link, QColor(110, 165, 255));
    p.setColor(QPalette::LinkVisited, QColor(215, 140, 240));
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        p.setColor(QPalette::Disabled, role, disabled);
    return p;
}

AppearanceSwitch::AppearanceSwitch(std::unique_ptr<DesktopColourScheme> desktop, QObject* parent)
    : QObject(parent),
      desktop_(std::move(desktop)),
      choice_(savedChoice()),
      lightPalette_(QApplication::style()->standardPalette()) {
    if (desktop_) {
        desktopScheme_ = desktop_->read();
        connect(desktop_.get(), &DesktopColourScheme::changed, this,
                [this](std::optional<ColourScheme> scheme) {
                    desktopScheme_ = scheme;
                    apply();
                });
    }
    apply();
}

AppearanceSwitch::~AppearanceSwitch() = default;

Appearance AppearanceSwitch::savedChoice() {
    return appearanceOfWord(userSettings().value(kSetting).toString().toStdString());
}

void AppearanceSwitch::choose(Appearance choice) {
    choice_ = choice;
    userSettings().setValue(kSetting, QString::fromUtf8(appearanceWord(choice).data()));
    apply();
}

void AppearanceSwitch::apply() {
    const ColourScheme scheme = schemeFor(choice_, desktopScheme_);
    const bool changed = scheme != shownColourScheme();
    setShownColourScheme(scheme);
    QApplication::setPalette(scheme == ColourScheme::Dark ? darkPalette() : lightPalette_);
    for (QWidget* window : QApplication::topLevelWidgets()) {
        reapplyTextColours(window);
        window->update();
    }
    if (choices_)
        for (QAction* action : choices_->actions())
            action->setChecked(action->data().toInt() == int(choice_));
    if (changed) Q_EMIT schemeChanged(scheme);
}

QMenu* AppearanceSwitch::makeMenu(QWidget* parent) {
    auto* menu = new QMenu(QStringLiteral("外观"), parent);
    menu->setObjectName(QStringLiteral("menuAppearance"));
    choices_ = new QActionGroup(menu);
    const std::tuple<Appearance, const char*, const char*> entries[] = {
        {Appearance::FollowSystem, "跟随系统", "Ctrl+Alt+0"},
        {Appearance::Light, "浅色", "Ctrl+Alt+1"},
        {Appearance::Dark, "深色", "Ctrl+Alt+2"}};
    for (const auto& [choice, text, keys] : entries) {
        QAction* action = menu->addAction(QString::fromUtf8(text));
        action->setShortcut(QKeySequence(QString::fromLatin1(keys)));
        action->setCheckable(true);
        action->setData(int(choice));
        action->setChecked(choice == choice_);
        choices_->addAction(action);
        connect(action, &QAction::triggered, this, [this, choice] { choose(choice); });
    }
    return menu;
}

}  // namespace orvane::app
