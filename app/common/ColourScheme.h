#pragma once
// The light and the dark look of the windows, and the one table that keeps
// the program's text colours readable on a dark background: each colour that
// is too dark there (black, the dark-green figures, the blue and purple
// verdicts, the greys) and the reds of rising figures, mapped once to a
// lighter colour of the same meaning. Red still means up and green down.
// Plain C++; the windows ask through toQColor and setTextColour.

#include <optional>
#include <string_view>

#include "mainwindow/VerdictDisplay.h"

namespace orvane::app {

enum class ColourScheme { Light, Dark };

namespace colours {
/// A form's refusal, and the back-test window's caution under its results.
inline constexpr Rgb refusalRed{0xc0 / 255.0, 0x39 / 255.0, 0x2b / 255.0};
inline constexpr Rgb cautionRed{0x8e / 255.0, 0x1b / 255.0, 0x12 / 255.0};
}  // namespace colours

/// What the user chose in 外观: the desktop's scheme, or one of the two.
enum class Appearance { FollowSystem, Light, Dark };

/// The scheme shown for a choice; a desktop that states no preference
/// (or cannot be asked) is light.
ColourScheme schemeFor(Appearance choice, std::optional<ColourScheme> desktop);

/// The desktop portal's "color-scheme" value: 1 prefers dark, 2 light,
/// 0 (and anything else) states no preference.
std::optional<ColourScheme> schemeOfPortalValue(unsigned value);

/// The settings' words for the choices ("system", "light", "dark"); any
/// other word reads as FollowSystem.
std::string_view appearanceWord(Appearance choice);
Appearance appearanceOfWord(std::string_view word);

/// The colour a text of colour `c` is drawn in under `scheme`: `c` itself
/// on light; on dark, its entry of the table, or `c` when it has none
/// (colours compared at 8 bits a channel).
Rgb readableColour(const Rgb& c, ColourScheme scheme);

/// The scheme the windows show now (set on the main thread by the
/// appearance switch; read wherever a colour is drawn).
ColourScheme shownColourScheme();
void setShownColourScheme(ColourScheme scheme);

}  // namespace orvane::app
