// The keyboard wizard over the real market's code table (5,000 and more
// stocks): a key typed into a window's table to the pop-up on screen, and
// the key that brings the first completions (the fourth digit of a code,
// the second pinyin initial, a name's second character) to the list drawn.
// The aim is 16 ms, one frame. Run build/bin/wizard_bench from anywhere; it
// reads ../shared/market/stocklist.csv beside the source folder.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QTableView>
#include <QTest>
#include <QVBoxLayout>
#include <cstdlib>
#include <iostream>

#include "common/StockCompletions.h"
#include "keyboard/KeyboardWizard.h"
#include "keyboard/StockWizard.h"
#include "orvane/core/AtomicFile.h"
#include "orvane/core/DataDirectory.h"
#include "orvane/core/FileWrites.h"
#include "orvane/core/TextEncoding.h"
#include "orvane/market/CodeTable.h"
#include "orvane/market/DailyFolder.h"
#include "orvane/publisher/ReferenceData.h"

using namespace orvane;
using namespace orvane::app;

namespace {

struct Window {
    QWidget window;
    QTableView* table = new QTableView(&window);
    StockCompletions completions;
    KeyboardWizard wizard{completions};
    Window() {
        (new QVBoxLayout(&window))->addWidget(table);
        window.resize(1000, 700);
        wizard.attach(&window, [](const std::string&) {});
        window.show();
        QApplication::processEvents();
    }
    StockWizard& popup() { return *wizard.wizardOf(&window); }
};

Window* shared = nullptr;

void BM_KeyToWizardOnScreen(benchmark::State& state) {
    for (auto _ : state) {
        QTest::keyClick(shared->table, Qt::Key_6);
        QApplication::processEvents();  // drawn
        state.PauseTiming();
        if (!shared->popup().isVisible()) state.SkipWithError("the wizard did not open");
        shared->popup().close();
        QApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_KeyToWizardOnScreen)->Unit(benchmark::kMillisecond);

/// Typed `before`, then the key `last`: the completions it brings, drawn.
void keyToFirstCompletions(benchmark::State& state, const QString& before, const QString& last) {
    StockWizard& popup = shared->popup();
    popup.open(before.left(1));
    for (auto _ : state) {
        state.PauseTiming();
        popup.field()->setText(before);
        popup.field()->setCursorPosition(static_cast<int>(before.size()));
        QApplication::processEvents();
        state.ResumeTiming();
        // As the input method hands over a character: a key event with its text.
        QKeyEvent key(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, last);
        QApplication::sendEvent(popup.field(), &key);
        QApplication::processEvents();
        state.PauseTiming();
        if (popup.list()->model()->rowCount() == 0) state.SkipWithError("no completions");
        state.ResumeTiming();
    }
    state.counters["completions"] = popup.list()->model()->rowCount();
    popup.close();
}

void BM_KeyToFirstCompletions_Code(benchmark::State& state) {
    keyToFirstCompletions(state, "600", "0");
}
BENCHMARK(BM_KeyToFirstCompletions_Code)->Unit(benchmark::kMillisecond);

void BM_KeyToFirstCompletions_Pinyin(benchmark::State& state) {
    keyToFirstCompletions(state, "z", "g");
}
BENCHMARK(BM_KeyToFirstCompletions_Pinyin)->Unit(benchmark::kMillisecond);

void BM_KeyToFirstCompletions_Name(benchmark::State& state) {
    keyToFirstCompletions(state, QStringLiteral("中"), QStringLiteral("国"));
}
BENCHMARK(BM_KeyToFirstCompletions_Name)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    const std::filesystem::path data =
        std::filesystem::temp_directory_path() / ("wizard-bench-" + std::to_string(getpid()));
    setenv("ORVANE_DATA_DIR", data.c_str(), 1);
    QApplication application(argc, argv);
    // The offscreen platform's notes on every pop-up (no raise, no grab).
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    const std::filesystem::path list =
        std::filesystem::path(ORVANE_SOURCE_DIR) / "../shared/market/stocklist.csv";
    const auto stocks = readStockList(list, [](const std::string&) {});
    if (stocks.empty()) {
        std::cerr << "wizard_bench: no stock list at " << list << "\n";
        return 1;
    }
    makeFolders(CodeTable::shared().file().parent_path());
    writeFileAtomically(CodeTable::shared().file(), *utf8ToUtf16(server::codeTableText(stocks)));
    std::cout << "code table: " << CodeTable::shared().entryCount() << " stocks\n";
    Window window;
    shared = &window;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    shared = nullptr;
    std::filesystem::remove_all(data);
    return 0;
}
