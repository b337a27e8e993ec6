#pragma once
// The 分时 chart of one stock: the day's price line against the previous
// close (red above it, green below), the average price line, a volume bar a
// minute, 9:30 to 15:00 with the lunch break closed up, and a crosshair
// that follows the mouse with the minute's time, price, change and volume.

#include <QWidget>
#include <optional>
#include <string>

#include "orvane/chart/IntradayLine.h"

namespace orvane::chart {

class IntradayView : public QWidget {
    Q_OBJECT
  public:
    IntradayView(std::string code, QWidget* parent = nullptr);

    const std::string& code() const { return code_; }
    void setLine(IntradayLine line);
    const IntradayLine& line() const { return line_; }

    /// The minute under the crosshair, or nothing when it is hidden.
    std::optional<int> focusMinute() const { return focus_; }
    /// Puts the crosshair on a minute (the mouse does so too).
    void setFocusMinute(std::optional<int> minute);
    /// The crosshair's text ("10:31  10.05  +0.50%  量 123手"), empty when hidden.
    QString focusText() const;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

  private:
    QRectF priceArea() const;
    QRectF volumeArea() const;
    double xOfMinute(int minute) const;
    int minuteAtX(double x) const;

    std::string code_;
    IntradayLine line_;
    std::optional<int> focus_;
};

}  // namespace orvane::chart
