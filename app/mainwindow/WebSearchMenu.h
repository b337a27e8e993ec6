#pragma once
// The web-search button with its menu of finance portals and the day chart
// ("日K线"): the chosen target shows in `searchURLField`; the action opens
// the target for the shown stock. The day chart downloads the stock's history
// into the chart folder and opens its chart tab.

#include <QObject>
#include <cstdint>
#include <functional>
#include <string>

class QLineEdit;
class QToolButton;

namespace orvane::chart {
class KWindowController;
}

namespace orvane::app {

class WebSearchMenu : public QObject {
    Q_OBJECT
  public:
    /// `charts` gives the chart window's controller when a chart opens.
    WebSearchMenu(QToolButton* searchToWeb, QLineEdit* searchURLField,
                  std::function<chart::KWindowController&()> charts, QObject* parent = nullptr);

    /// The target ("日K线", or a portal's name).
    QString searchKey() const;
    void setSearchKey(const QString& key);
    /// Opens the target for `code` (a valid code; anything else is ignored).
    void searchToweb(const std::string& code);
    /// Where a day chart opens: a tab of its own, or in place of the chart
    /// on screen (stepping through a list).
    enum class ChartTab { Own, Shown };
    void openDayChart(const std::string& code, ChartTab tab = ChartTab::Own);

  Q_SIGNALS:
    /// Asked from the button or the menu: the window answers with its code.
    void searchRequested();
    /// The day chart of a stock was opened (or its download failed: empty).
    void dayChartOpened(const QString& path);

  private:
    QLineEdit* searchURLField_;
    /// The newest day chart asked for: an older download that lands later
    /// is not shown over it.
    std::uint64_t chartRequest_ = 0;
    std::function<chart::KWindowController&()> charts_;
};

}  // namespace orvane::app
