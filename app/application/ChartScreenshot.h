#pragma once
// Puts the crosshair of the selected chart on a day, as the arrow keys would,
// and saves a picture of the chart window as the display shows it.

#include <string>
#include <vector>

class QPixmap;
class QWidget;

namespace orvane::chart {
class KWindowController;
}

namespace orvane::app {

/// Focuses the selected chart's day with that date (the newest day when the
/// date is not found) and places its crosshair. False when there is no chart.
bool placeCrosshairOnDate(chart::KWindowController& controller, const std::string& date);

/// Grabs a window's area from its screen (falling back to the widget's own
/// rendering where the platform cannot grab) and writes it as PNG.
bool saveWindowPicture(QWidget& window, const std::string& path);
/// The same for the area covering several windows (those shown).
bool saveWindowsPicture(const std::vector<QWidget*>& windows, const std::string& path);
bool saveWindowPicture(chart::KWindowController& controller, const std::string& path);
/// Writes a picture as PNG through a temporary file renamed into place.
bool savePicture(const QPixmap& picture, const std::string& path);

}  // namespace orvane::app
