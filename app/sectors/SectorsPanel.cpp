#include "sectors/SectorsPanel.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "common/DisplayText.h"
#include "orvane/analysis/AnalysisSession.h"
#include "orvane/core/AtomicFile.h"
#include "orvane/core/Clock.h"
#include "orvane/core/DataDirectory.h"
#include "orvane/core/FileWrites.h"
#include "orvane/core/LocalTime.h"
#include "orvane/core/MainThreadDispatcher.h"
#include "orvane/core/NumberText.h"
#include "orvane/core/ProgressPanel.h"
#include "orvane/market/CodeTable.h"
#include "orvane/market/SectorGroups.h"
#include "orvane/market/StockKeys.h"
#include "orvane/reports/StockScreening.h"
#include "orvane/stocklib/QXStockLib.h"

namespace orvane::app {

namespace fs = std::filesystem;

namespace {

std::optional<std::string> nameOf(const std::string& code) {
    return CodeTable::shared().getStockCodeName(code);
}

}  // namespace

SectorsPanel::SectorsPanel(SectorFields fields, AlertPresenter alert, QObject* parent)
    : QObject(parent), fields_(fields), alert_(std::move(alert)) {
    fields_.sortPlantGainsPopbtn->addItems({QStringLiteral("5"), QStringLiteral("10")});
    connect(fields_.plantPopbtn, &QComboBox::activated, this, [this] { selectPlantPopAction(); });
    connect(fields_.filterPlatebtn, &QPushButton::clicked, this, &SectorsPanel::filterPlantAction);
    connect(fields_.sortPlantGainsPopbtn, &QComboBox::activated, this,
            [this] { sortPlantStock(); });
    connect(fields_.filterPlantPopbtn, &QComboBox::activated, this, [this](int index) {
        const QString code = fields_.filterPlantPopbtn->itemData(index).toString();
        if (!code.isEmpty()) Q_EMIT stockPicked(code.toStdString());
    });
    connect(fields_.sortPlantGroupBtn, &QPushButton::clicked, this,
            &SectorsPanel::marketReportRequested);
    connect(fields_.selectCompositBtn, &QPushButton::clicked, this, &SectorsPanel::selectComposit);
}

SectorsPanel::~SectorsPanel() {
    shutDown();
}

void SectorsPanel::reload() {
    fields_.plantPopbtn->clear();
    for (const std::string& name : SectorGroups::shared().getPlateGroupNameArray())
        fields_.plantPopbtn->addItem(qs(name));
    fields_.filterPlantPopbtn->clear();
    fields_.sortPlantGrouptextView->clear();
}

void SectorsPanel::selectPlantPopAction() {
    const std::string group = fields_.plantPopbtn->currentText().toStdString();
    fields_.sortPlantGrouptextView->setPlainText(
        qs(sectorSizeText(group, SectorGroups::shared().getPlantGroupNum(group))));
}

bool SectorsPanel::runInBackground(
    std::function<void(std::stop_token, const std::atomic<bool>&)> work) {
    if (busy_ || shutDown_) return false;
    if (background_.joinable()) background_.join();  // the last one has ended
    busy_ = true;
    ended_ = false;
    runStop_ = std::make_shared<std::atomic<bool>>(false);
    Q_EMIT runStarted();
    background_ =
        std::jthread([this, stopFlag = runStop_, work = std::move(work)](std::stop_token stop) {
            std::stop_callback raise(stop, [&] { *stopFlag = true; });
            work(stop, *stopFlag);
            ended_ = true;
            postToMainThread([panel = QPointer(this)] {
                if (!panel) return;
                panel->busy_ = false;
                Q_EMIT panel->runEnded();
            });
        });
    return true;
}

void SectorsPanel::stopRun() {
    if (runStop_) *runStop_ = true;
}

void SectorsPanel::shutDown() {
    if (shutDown_) return;
    shutDown_ = true;
    if (!background_.joinable()) return;
    background_.request_stop();
    // The run may be waiting for this thread to show a record: keep serving
    // until it has ended (after quit the dispatcher drops the tasks).
    while (!ended_) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    background_.join();
}

void SectorsPanel::filterPlantAction() {
    const std::string group = fields_.plantPopbtn->currentText().toStdString();
    if (group.empty()) return;
    screening_ = SectorScreening{};
    runInBackground([this, group](std::stop_token, const std::atomic<bool>& stop) {
        SectorScreening result{group, 0, {}, {}};
        result.today = processFilterStockFromSubPlateGroup(QXStockLib::defQXStockLib(), group,
                                                           result.processed, result.before5, &stop);
        postToMainThread([panel = QPointer(this), result = std::move(result)] {
            if (!panel) return;
            panel->screening_ = result;
            ProgressPanel::shared()->closeProgressPanel();
            if (result.today.empty())
                panel->alert_(QStringLiteral("没有选出符合条件的股票！"),
                              QStringLiteral("没有选出符合条件的股票,请重新选择。"));
            panel->sortPlantStock();
            Q_EMIT panel->sectorReportShown();
        });
    });
}

void SectorsPanel::sortPlantStock() {
    const int window = fields_.sortPlantGainsPopbtn->currentText().toInt();
    const auto report = app::sortPlantStock(screening_, window, nameOf);
    if (!report) return;
    // The picked codes show as "名称 (代码)"; each item keeps its code.
    QComboBox* picked = fields_.filterPlantPopbtn;
    picked->clear();
    for (const std::string& code : report->pickedCodes)
        picked->addItem(qs(format("%s (%s)", nameOf(code).value_or("").c_str(), code.c_str())),
                        qs(code));
    fields_.sortPlantGrouptextView->setPlainText(displayText(report->text));
    const fs::path file =
        ensureFolder(getGainsPath()) / sectorReportFileName(screening_.group, toLocal(now()));
    // Written whole or not at all; a failed write leaves the report shown.
    if (!writeFileAtomically(file, report->text)) {
        const auto failure = lastWriteFailure();
        Q_EMIT statusMessage("板块报告没有保存：" + file.string() + "（" +
                             std::strerror(failure ? failure->error : errno) + "）");
    }
}

void SectorsPanel::tagArrayActivatePlateDelegate(const Array& list, bool up, bool clearOldMark) {
    QComboBox* sectors = fields_.plantPopbtn;
    if (clearOldMark)
        for (int i = 0; i < sectors->count(); ++i) sectors->setItemIcon(i, QIcon());
    const QIcon marker(up ? QStringLiteral(":/app/sortup.svg")
                          : QStringLiteral(":/app/sortdown.svg"));
    const std::size_t marked = std::min<std::size_t>(list.size(), 8);
    for (std::size_t i = 0; i < marked; ++i) {
        if (!list[i].isDictionary()) continue;
        const int item =
            sectors->findText(qs(stringFor(list[i].dictionary(), keys::KEY_Plate_Group)));
        if (item < 0) continue;
        if (i == 0) sectors->setCurrentIndex(item);
        sectors->setItemIcon(item, marker);
    }
}

void SectorsPanel::setActivatePlateReportDelegate(const std::string& text) {
    fields_.sortPlantGrouptextView->setPlainText(displayText(text));
}

void SectorsPanel::selectComposit() {
    fields_.sortPlantGrouptextView->setPlainText(QStringLiteral("正在分析指数…"));
    runInBackground([this](std::stop_token stop, const std::atomic<bool>& stopFlag) {
        std::vector<std::string> rising, breakingOut;
        for (const std::string& code : SectorGroups::shared().compositeCodes()) {
            if (stop.stop_requested() || stopFlag) break;
            if (code.size() != 6) continue;
            { AnalysisSession reset; }
            const auto record = QXStockLib::defQXStockLib().getOneStockDataInfoFormServer(code);
            if (!record) continue;
            // The trend of the record just fetched: when it came from the
            // server's result file the engine has analysed nothing.
            const int trend = record->trend.value_or(0);
            if (trend == 1000 || trend == 1001) breakingOut.push_back(code);
            if (trend == 1) rising.push_back(code);
            postToMainThread([panel = QPointer(this), record = *record] {
                if (panel) Q_EMIT panel->recordFetched(record);
            });
        }
        postToMainThread([panel = QPointer(this), text = compositeBatchText(rising, breakingOut)] {
            if (!panel) return;
            // Where the eye is: the report area, and the status line.
            panel->fields_.sortPlantGrouptextView->setPlainText(QStringLiteral("指数分析结果\n\n") +
                                                                displayText(text));
            Q_EMIT panel->statusMessage(text);
            Q_EMIT panel->compositeBatchDone();
        });
    });
}

}  // namespace orvane::app
