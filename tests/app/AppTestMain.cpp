// The application's tests run headless: widgets need a QApplication, and the
// offscreen platform gives them one without a display.

#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

#include "QtSeams.h"

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    orvane::app::initAppResources();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
