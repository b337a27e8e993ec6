#pragma once
// The day panel beside the crosshair: an opaque, nearly black box with a
// light border around eight rows of a title and a value (date, open, close,
// high, low, volume, rise/fall, swing), each row 120 × 20 pixels in bold
// 12-pixel type.

#include <QLabel>
#include <QWidget>

#include "orvane/chart/KInfoValues.h"

namespace orvane::chart {

class KInfoView : public QWidget {
  public:
    explicit KInfoView(QWidget* parent);

    void setValues(const KInfoValues& values);

    QLabel* dateTitle;
    QLabel* dateField;
    QLabel* openTitle;
    QLabel* openField;
    QLabel* closeTitle;
    QLabel* closeField;
    QLabel* highTitle;
    QLabel* highField;
    QLabel* lowTitle;
    QLabel* lowField;
    QLabel* riseFallTitle;
    QLabel* riseFallField;
    QLabel* swingTitle;
    QLabel* swingField;
    QLabel* volumeTitle;
    QLabel* volumeField;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QLabel* addLabel(const char* text, int x, int y, int width, bool isTitle);
    static void setValue(QLabel* label, const std::string& text, KTextColour colour);
};

}  // namespace orvane::chart
