#pragma once
// The main window's menus and the trend-up model counter: the gallery, the
// back-test window, the user guide, the double-cannon help page, quit; the
// counter button shows how many models the server has beyond those seen.

#include <QObject>
#include <functional>
#include <stop_token>

class QPushButton;
class QMainWindow;

namespace Ui {
class QXDocument;
}

namespace orvane::chart {
class KWindowController;
}

namespace orvane::app {

class HelpWindow;
class QXTrendMode;

class WindowMenus : public QObject {
    Q_OBJECT
  public:
    WindowMenus(QMainWindow& window, Ui::QXDocument& ui, QXTrendMode& gallery,
                std::function<chart::KWindowController*()> charts);

    /// Opens the user guide with the desktop's PDF viewer; false (with the
    /// reason in `statusMessage`) when there is none.
    void helpAction();
    /// The gallery; the counter hides itself.
    void ModeThrendUp();
    /// The count check (a worker's thread): the counter shows the new models.
    void updateNotifyTrendMode(std::stop_token stop);

  Q_SIGNALS:
    void statusMessage(const std::string& text);

  private:
    QMainWindow& window_;
    Ui::QXDocument& ui_;
    QXTrendMode& gallery_;
    HelpWindow* doublePaoHelp_ = nullptr;
};

}  // namespace orvane::app
