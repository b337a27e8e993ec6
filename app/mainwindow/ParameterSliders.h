#pragma once
// The window's 参数 box: the key-point threshold, the rising-trend threshold
// and the number of top gainers, each slider with its label following its
// value (the values are shown only).

namespace Ui {
class QXDocument;
}

namespace orvane::app {

/// The labels follow their sliders from now on.
void connectParameterSliders(Ui::QXDocument& ui);
/// The sliders' ranges and starting values (at start and after a
/// reference-data update).
void resetParameterSliders(Ui::QXDocument& ui);

}  // namespace orvane::app
