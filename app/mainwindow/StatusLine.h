#pragma once
// The bottom of the main window: the status line, the clock and the market
// report line. The status line shows the last message; below it every
// notice of a file set aside, until the user clicks the status line (each
// has then been seen), and the stale-data notice for as long as a server
// does not answer, so no later message hides either; the clock turns red
// meanwhile. A message about a stock (its sectors) goes when that stock
// leaves the screen.

#include <QObject>
#include <string>
#include <vector>

#include "orvane/core/StyledText.h"

class QLabel;

namespace orvane::app {

class DataFreshness;

class StatusLine : public QObject {
    Q_OBJECT
  public:
    StatusLine(QLabel* statusField, QLabel* timeField, QLabel* marketReportTextField,
               const DataFreshness& freshness, QObject* parent = nullptr);

    void showStatus(const std::string& text);
    /// A message about one stock, shown while that stock is on screen.
    void showStockStatus(const std::string& code, const std::string& text);
    /// The stock on screen now ("" for none): a message about another goes.
    void followShownStock(const std::string& code);
    /// A notice that stays listed, under the messages that follow, until
    /// the status line is clicked.
    void addNotice(const std::string& text);
    const std::vector<std::string>& notices() const { return notices_; }
    /// The user has seen the notices listed.
    void dismissNotices();
    /// Again after the freshness changed.
    void redraw();
    /// The clock: the local time, to the second.
    void updateStatusTimes();
    void setMarketReportLine(const StyledText& text);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QLabel* statusField_;
    QLabel* timeField_;
    QLabel* marketReportTextField_;
    const DataFreshness& freshness_;
    std::string text_;
    std::string textStock_;  // the stock the message is about, or ""
    std::vector<std::string> notices_;
};

}  // namespace orvane::app
