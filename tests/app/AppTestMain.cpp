// The application's tests run headless: widgets need a QApplication, and the
// offscreen platform gives them one without a display.

#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

#include "platform/QtSeams.h"
#include "ServedMarketTest.h"

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    orvane::app::initAppResources();
    testing::InitGoogleTest(&argc, argv);
    const int status = RUN_ALL_TESTS();
    // The shared data server ends before the application object.
    orvane::test::ServedMarketTest::stopServing();
    return status;
}
