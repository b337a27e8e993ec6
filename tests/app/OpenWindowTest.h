#pragma once
// The application's main window opened against the test market's server,
// its code table and sectors in, for the tests of what a user does in it.

#include "ServedMarketTest.h"
#include "application/QXApplication.h"
#include "mainwindow/QXDocument.h"
#include "ui_QXDocument.h"

namespace orvane::test {

class OpenWindowTest : public ServedMarketTest {
  protected:
    void SetUp() override {
        ServedMarketTest::SetUp();
        app = std::make_unique<app::QXApplication>(dispatcher);
        app->setAlertPresenter([](const QString&, const QString&) {});
        app->applicationWillFinishLaunching();
        ASSERT_TRUE(app->openMainWindow());
        ASSERT_TRUE(waitUntil([&] { return doc().ui().plantPopbtn->count() > 0; }));
    }
    void TearDown() override {
        app->applicationWillTerminate();
        app.reset();
        ServedMarketTest::TearDown();
    }
    app::QXDocument& doc() { return *app->document(); }
    static std::string code(int i) { return market()[static_cast<std::size_t>(i)].listing.code; }

    std::unique_ptr<app::QXApplication> app;
};

}  // namespace orvane::test
