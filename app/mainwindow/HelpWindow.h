#pragma once
// A help page published by the data server, shown in a small window (the
// double-cannon pattern explained). The page is fetched when the window
// opens, without holding up the main window.

#include <QDialog>
#include <string>

class QTextBrowser;

namespace orvane::app {

class HelpWindow : public QDialog {
    Q_OBJECT
  public:
    /// `serverPath` below the data server's base URL, e.g. "/const/help/doublepao.html".
    HelpWindow(std::string serverPath, const QString& title, QWidget* parent = nullptr);
    /// Shows the window and fetches the page again.
    void help_DoublePao();
    QTextBrowser* browser() const { return browser_; }

  signals:
    void pageShown(bool fetched);

  private:
    std::string serverPath_;
    QTextBrowser* browser_;
};

}  // namespace orvane::app
