#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QProgressBar>
#include <thread>

#include "platform/ProgressPanelModel.h"
#include "platform/QXProcessUIController.h"
#include "platform/QtMainThreadDispatcher.h"

using namespace orvane;
using namespace orvane::app;

TEST(ProgressPanelModel, StepsShowIntegerPercentAndTheLastStepCloses) {
    struct Case {
        int max, value;
        int bar;
        const char* text;
        bool closes;
    };
    for (const Case& c : {Case{100, 33, 34, "34 %", false}, Case{100, 98, 99, "99 %", false},
                          Case{100, 99, 100, "100 %", true}, Case{100, 500, 100, "100 %", true},
                          Case{3, 0, 1, "33 %", false}, Case{0, 0, 1, "100 %", true}}) {
        SCOPED_TRACE(testing::Message() << c.max << " " << c.value);
        ProgressPanelModel model;
        model.show(c.max);
        const auto step = model.advance(c.value);
        ASSERT_TRUE(step);
        EXPECT_EQ(step->barValue, c.bar);
        EXPECT_EQ(step->percentText, c.text);
        EXPECT_EQ(step->closes, c.closes);
        EXPECT_EQ(model.isShown(), !c.closes);
    }
    ProgressPanelModel closed;
    EXPECT_FALSE(closed.advance(5));
}

namespace {

struct PanelFields {
    explicit PanelFields(QDialog* d)
        : percent(d->findChild<QLabel*>("progressTextField")),
          message(d->findChild<QLabel*>("displayStringTextField")),
          bar(d->findChild<QProgressBar*>("progressIndicator")) {}
    QLabel *percent, *message;
    QProgressBar* bar;
};

}  // namespace

TEST(QXProcessUIController, AWorkersCallsShowTheCentredPanelOnTheMainThreadAndTheLastStepClosesIt) {
    auto dispatcher = std::make_shared<QtMainThreadDispatcher>(qApp);
    MainThreadDispatcher::install(dispatcher);
    QWidget window;
    window.setGeometry(100, 80, 900, 700);
    window.show();
    auto panel = QXProcessUIController::create();
    panel->setParentWindow(&window);
    QDialog* dialog = panel->progressDialog();
    ASSERT_EQ(dialog->objectName(), "progressDialog");
    PanelFields fields(dialog);
    ASSERT_TRUE(fields.percent && fields.message && fields.bar);

    std::thread worker([&] {
        panel->showProgressPanel(100);
        panel->setDisplayString(" 正在下载数据检查市场状况 ...");
    });
    worker.join();
    EXPECT_FALSE(dialog->isVisible());  // nothing applied off the main thread
    QCoreApplication::processEvents();
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(fields.percent->text(), "0.0 %");
    EXPECT_EQ(fields.bar->maximum(), 0);  // indeterminate
    EXPECT_EQ(fields.message->text(), " 正在下载数据检查市场状况 ...");
    const QPoint offCentre = dialog->frameGeometry().center() - window.frameGeometry().center();
    EXPECT_LE(offCentre.manhattanLength(), 1);

    panel->setIndicatorCurrentProgress(98);
    EXPECT_EQ(fields.bar->value(), 99);
    panel->setIndicatorCurrentProgress(99);
    EXPECT_EQ(fields.percent->text(), "100 %");
    EXPECT_FALSE(dialog->isVisible());
    panel->setDisplayString("later");  // closed: nothing changes
    EXPECT_EQ(fields.message->text(), " 正在下载数据检查市场状况 ...");
    MainThreadDispatcher::install(nullptr);
}
