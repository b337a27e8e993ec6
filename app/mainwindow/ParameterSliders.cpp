#include "mainwindow/ParameterSliders.h"

#include "orvane/core/NumberText.h"
#include "ui_QXDocument.h"

namespace orvane::app {

void connectParameterSliders(Ui::QXDocument& ui) {
    auto label = [](QSlider* slider, QLabel* text, auto describe) {
        QObject::connect(slider, &QSlider::valueChanged, text, [text, describe](int value) {
            text->setText(QString::fromStdString(describe(value)));
        });
        text->setText(QString::fromStdString(describe(slider->value())));
    };
    label(ui.thresholdSlide, ui.thresholdValueText,
          [](int v) { return format("%s:%d", "突破关键点阀值", v); });
    label(ui.trendUpthredholdSlide, ui.trendUpThredHoldText,
          [](int v) { return format("%s:%d", "上涨趋势阀值", v); });
    label(ui.hushenGainsSlider, ui.hushenGainsTextField,
          [](int v) { return format("沪深涨幅前 %d 位", v); });
}

void resetParameterSliders(Ui::QXDocument& ui) {
    ui.thresholdSlide->setRange(110, 200);
    ui.thresholdSlide->setValue(148);
    ui.hushenGainsSlider->setRange(10, 200);
    ui.hushenGainsSlider->setValue(120);
}

}  // namespace orvane::app
