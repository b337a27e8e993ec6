#pragma once
// The bottom of the main window: the status line, the clock and the market
// report line. The status line shows the last message and, below it, the
// stale-data notice for as long as a server does not answer, so no later
// message hides that the figures are old; the clock turns red meanwhile.

#include <QObject>
#include <string>

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
    /// Again after the freshness changed.
    void redraw();
    /// The clock: the local time, to the second.
    void updateStatusTimes();
    void setMarketReportLine(const StyledText& text);

  private:
    QLabel* statusField_;
    QLabel* timeField_;
    QLabel* marketReportTextField_;
    const DataFreshness& freshness_;
    std::string text_;
};

}  // namespace orvane::app
