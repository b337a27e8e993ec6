// The application on a real X server with no window manager (Xvfb), where
// nothing but the program itself gives a window the keyboard. Run by the
// CTest test app_real_window under xvfb-run; skipped on other platforms.

#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "ServedMarketTest.h"
#include "application/DataServerCheck.h"
#include "application/QXApplication.h"
#include "mainwindow/QXDocument.h"
#include "marketimport/MarketImportDialog.h"
#include "ui_QXDocument.h"

using namespace orvane;
using namespace orvane::app;

namespace {

class RealWindow : public test::ServedMarketTest {
  protected:
    void SetUp() override {
        if (QGuiApplication::platformName() != "xcb") GTEST_SKIP() << "needs an X server";
        test::ServedMarketTest::SetUp();
    }
};

}  // namespace

TEST_F(RealWindow, TheWindowHasTheKeyboardOnceTheServerAlertIsDismissed) {
    const std::string goodServer = MarketServers::shared()->dataServer;
    useDataServer("http://127.0.0.1:1/orvane");
    QXApplication app(dispatcher);
    // The alert as users see it: a dialog of its own, dismissed by a click
    // on "再试" once the server answers.
    app.setUnreachablePresenter([&](const UnreachableAlert& alert) {
        QMessageBox box(QMessageBox::Warning, QString::fromStdString(alert.title),
                        QString::fromStdString(alert.message));
        QPushButton* again = box.addButton(QStringLiteral("再试"), QMessageBox::AcceptRole);
        QTimer::singleShot(300, &box, [&] {
            useDataServer(goodServer);
            again->click();
        });
        box.exec();
        return UnreachableChoice::TryAgain;
    });
    app.applicationWillFinishLaunching();
    ASSERT_TRUE(app.openMainWindow());
    QXDocument& doc = *app.document();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&doc, 5000));
    // Its shortcuts work, and typed text goes nowhere else.
    QTest::keyClick(&doc, Qt::Key_I, Qt::ControlModifier);
    ASSERT_TRUE(app.marketImportDialog());
    EXPECT_TRUE(app.marketImportDialog()->isVisible());
    EXPECT_TRUE(doc.ui().stockCodeTokenField->text().isEmpty());
    app.applicationWillTerminate();
}
