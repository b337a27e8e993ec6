#include "application/ChartScreenshot.h"

#include <QBuffer>
#include <QPixmap>
#include <QScreen>

#include "orvane/chart/KBaseView.h"
#include "orvane/chart/KWindow.h"
#include "orvane/chart/KWindowController.h"
#include "orvane/core/AtomicFile.h"

namespace orvane::app {

bool placeCrosshairOnDate(chart::KWindowController& controller, const std::string& date) {
    const auto& views = controller.kLineViewList();
    const int index = controller.currentSelectedIndex();
    if (index < 0 || index >= static_cast<int>(views.size())) return false;
    chart::KBaseView* view = views[index];
    if (!view) return false;  // a 分时 tab
    const auto& days = view->model().dataList();
    int focus = static_cast<int>(days.size()) - 1;
    for (const chart::KSection& day : days)
        if (day.date == date) focus = day.selectioID;
    view->model().setFocusDataIndex(focus);
    view->drawHVLineAndDataInfo(false, {0, 0});
    return true;
}

bool saveWindowPicture(QWidget& window, const std::string& path) {
    return saveWindowsPicture({&window}, path);
}

bool saveWindowsPicture(const std::vector<QWidget*>& windows, const std::string& path) {
    QWidget& first = *windows.front();
    QRect area;
    for (QWidget* w : windows)
        if (w->isVisible()) area |= w->frameGeometry();
    QPixmap picture;
    if (QScreen* screen = first.screen())
        picture = screen->grabWindow(0, area.x(), area.y(), area.width(), area.height());
    if (picture.isNull()) picture = first.grab();
    return savePicture(picture, path);
}

bool savePicture(const QPixmap& picture, const std::string& path) {
    // Encoded in memory, then written atomically: a save that fails part way
    // leaves the picture that was there whole.
    QByteArray png;
    QBuffer buffer(&png);
    if (!buffer.open(QIODevice::WriteOnly) || !picture.save(&buffer, "PNG")) return false;
    return writeFileAtomically(path, std::string_view(png.constData(), png.size()));
}

bool saveWindowPicture(chart::KWindowController& controller, const std::string& path) {
    return saveWindowPicture(*controller.kWindow(), path);
}

}  // namespace orvane::app
