#pragma once
// The windows' look (外观): the user's choice of 跟随系统, 浅色 or 深色, kept
// in the settings, and the colour scheme it gives applied to every window
// at once: the application's palette (the style's own, or a dark one), the
// text colours set on labels shown again through the scheme's table, and
// the tables repainted (their models ask toQColor, which follows the
// scheme). Under 跟随系统 the desktop portal's scheme is read at start and
// followed when it changes. The K-line chart keeps its own dark colours in
// both. Main thread only.

#include <QActionGroup>
#include <QObject>
#include <QPalette>
#include <QPointer>
#include <memory>
#include <optional>

#include "common/ColourScheme.h"

class QMenu;
class QWidget;

namespace orvane::app {

class DesktopColourScheme;

class AppearanceSwitch : public QObject {
    Q_OBJECT
  public:
    /// `desktop` may be null (no desktop to follow: 跟随系统 is light).
    /// Applies the saved choice at once.
    explicit AppearanceSwitch(std::unique_ptr<DesktopColourScheme> desktop,
                              QObject* parent = nullptr);
    ~AppearanceSwitch() override;

    Appearance choice() const { return choice_; }
    ColourScheme scheme() const { return shownColourScheme(); }
    /// Keeps the choice in the settings and applies it.
    void choose(Appearance choice);

    /// The menu 外观 with its three choices, the current one checked.
    QMenu* makeMenu(QWidget* parent);

    /// The settings' choice (跟随系统 when none is kept).
    static Appearance savedChoice();

  Q_SIGNALS:
    void schemeChanged(orvane::app::ColourScheme scheme);

  private:
    void apply();

    std::unique_ptr<DesktopColourScheme> desktop_;
    std::optional<ColourScheme> desktopScheme_;
    Appearance choice_;
    QPalette lightPalette_;
    QPointer<QActionGroup> choices_;
};

/// The palette of the dark scheme.
QPalette darkPalette();

}  // namespace orvane::app
