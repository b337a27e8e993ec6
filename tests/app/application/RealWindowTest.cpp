// The application on a real X server with no window manager (Xvfb), where
// nothing but the program itself gives a window the keyboard. Run by the
// CTest test app_real_window under xvfb-run; skipped on other platforms.

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>

#include "ServedMarketTest.h"
#include "application/DataServerCheck.h"
#include "application/QXApplication.h"
#include "keyboard/KeyboardWizard.h"
#include "keyboard/StockWizard.h"
#include "mainwindow/QXDocument.h"
#include "mainwindow/WindowTabs.h"
#include "marketimport/MarketImportDialog.h"
#include "orvane/market/CodeTable.h"
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

TEST_F(RealWindow, KeysAndChineseTypedThroughTheXServerReachTheWizard) {
    if (QStandardPaths::findExecutable("xdotool").isEmpty()) GTEST_SKIP() << "needs xdotool";
    // The window keeps serving its events while xdotool types: it remaps one
    // key for each Chinese character, which the window must see key by key.
    const auto xdotool = [](const QStringList& args) {
        QProcess run;
        run.start("xdotool", args);
        return test::waitUntil([&] { return run.state() == QProcess::NotRunning; }, 10000) &&
               run.exitCode() == 0;
    };
    const auto type = [&](const QString& text) {
        return xdotool({"type", "--delay", "100", text});
    };
    QXApplication app(dispatcher);
    app.applicationWillFinishLaunching();
    ASSERT_TRUE(app.openMainWindow());
    QXDocument& doc = *app.document();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&doc, 5000));
    ASSERT_TRUE(test::waitUntil([&] { return CodeTable::shared().entryCount() > 0; }));
    const std::string code = market().front().listing.code;
    const QString name = QString::fromStdString(*CodeTable::shared().getStockCodeName(code));
    doc.tabs().stockViews().front()->setFocus();
    QApplication::processEvents();

    // A digit typed on the table opens the wizard with it.
    ASSERT_TRUE(type("9"));
    StockWizard* wizard = doc.keyboardWizard().wizardOf(&doc);
    ASSERT_TRUE(test::waitUntil([&] { return wizard->isVisible(); }, 5000));
    ASSERT_TRUE(test::waitUntil([&] { return wizard->field()->text() == "9"; }, 5000))
        << wizard->field()->text().toStdString();
    // The name in Chinese, as xdotool's Unicode keys type it: a character at
    // a time, each in before the next (xdotool remaps one key for each, and
    // a window slow to read the new map would see the next one's).
    wizard->field()->clear();
    for (qsizetype i = 0; i < name.size(); ++i) {
        ASSERT_TRUE(type(name.mid(i, 1)));
        ASSERT_TRUE(
            test::waitUntil([&] { return wizard->field()->text() == name.left(i + 1); }, 5000))
            << wizard->field()->text().toStdString();
    }
    EXPECT_GE(wizard->list()->model()->rowCount(), 1);
    ASSERT_TRUE(xdotool({"key", "Return"}));
    EXPECT_TRUE(test::waitUntil([&] { return doc.shownStock().code() == code; }, 5000));
    app.applicationWillTerminate();
}
