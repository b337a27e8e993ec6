#include "mainwindow/WebSearchMenu.h"

#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QToolButton>
#include <filesystem>

#include "mainwindow/WebSearch.h"
#include "orvane/chart/KBaseView.h"
#include "orvane/chart/KWindowController.h"
#include "orvane/core/DataDirectory.h"
#include "orvane/core/FileWrites.h"
#include "orvane/core/Log.h"
#include "orvane/core/Workspace.h"
#include "orvane/market/HttpRequest.h"
#include "orvane/market/MarketServers.h"
#include "orvane/market/ServerPaths.h"
#include "orvane/market/StockCode.h"

namespace orvane::app {

namespace fs = std::filesystem;

WebSearchMenu::WebSearchMenu(QToolButton* searchToWeb, QLineEdit* searchURLField,
                             std::function<chart::KWindowController&()> charts, QObject* parent)
    : QObject(parent), searchURLField_(searchURLField), charts_(std::move(charts)) {
    auto* menu = new QMenu(searchToWeb);
    for (const std::string& target : webSearchTargets()) {
        QAction* action = menu->addAction(QString::fromStdString(target));
        action->setCheckable(true);
    }
    // The highlighted target shows its mark and becomes the target while
    // highlighted; choosing it opens it.
    connect(menu, &QMenu::hovered, this, [this, menu](QAction* hovered) {
        for (QAction* a : menu->actions()) a->setChecked(a == hovered);
        setSearchKey(hovered->text());
    });
    connect(menu, &QMenu::aboutToShow, this, [] { ORVANE_LOG("menuWillOpen"); });
    connect(menu, &QMenu::triggered, this, [this](QAction* chosen) {
        setSearchKey(chosen->text());
        Q_EMIT searchRequested();
    });
    searchToWeb->setMenu(menu);
    connect(searchToWeb, &QToolButton::clicked, this, &WebSearchMenu::searchRequested);
}

QString WebSearchMenu::searchKey() const {
    return searchURLField_->text();
}

void WebSearchMenu::setSearchKey(const QString& key) {
    searchURLField_->setText(key.isEmpty() ? QString::fromUtf8(kDayChartTarget) : key);
}

void WebSearchMenu::searchToweb(const std::string& code) {
    if (!isValidStockCode(code)) return;
    const std::string target = searchKey().toStdString();
    if (target == kDayChartTarget)
        openDayChart(code);
    else if (const auto url = portalPageURL(target, code))
        Workspace::shared()->openURL(*url);
}

namespace {

// When the data server publishes the histories as traded beside adjusted
// ones, the chart offers both: the traded one lands in "traded/" beside the
// chart's file. A server without them answers 404: the chart offers 不复权 only.
void offerTradedPrices(chart::KBaseView* view, const fs::path& history) {
    const fs::path traded = ensureFolder(history.parent_path() / "traded") / history.filename();
    const fs::path incoming = fs::path(traded).concat(".incoming");
    auto request = HttpRequest::requestWithURL(
        dataServerURL(serverpath::tradedHistoryFilePath(history.stem().string())));
    request->setDownloadDestinationPath(incoming);
    const auto done = [chart = QPointer(view), traded, incoming](bool offered) {
        std::error_code ec;
        if (!offered) fs::remove(incoming, ec);
        if (chart) chart->setTradedHistoryPath(offered ? traded : fs::path());
    };
    request->setCompletionBlock([done, traded, incoming](HttpRequest& r) {
        done(r.responseStatusCode() == 200 && renameFile(incoming, traded));
    });
    request->setFailedBlock([done](HttpRequest&) { done(false); });
    request->startAsynchronous();
}

}  // namespace

void WebSearchMenu::openDayChart(const std::string& code, ChartTab tab) {
    const fs::path path = ensureFolder(getLine_K_Path()) / (code + ".txt");
    // The history arrives under a staging name and replaces the chart's file
    // only when whole, so a failed download leaves the last chart's file.
    const fs::path incoming = fs::path(path).concat(".incoming");
    auto request = HttpRequest::requestWithURL(dataServerURL(serverpath::historyFilePath(code)));
    request->setDownloadDestinationPath(incoming);
    const std::uint64_t asked = ++chartRequest_;
    request->setCompletionBlock([menu = QPointer(this), path, incoming, asked,
                                 tab](HttpRequest& r) {
        std::error_code ec;
        if (r.responseStatusCode() != 200) {
            // An error page is no history: nothing to chart.
            ORVANE_LOG("error=HTTP %ld", r.responseStatusCode());
            fs::remove(incoming, ec);
            if (menu) Q_EMIT menu->dayChartOpened(QString());
            return;
        }
        const bool placed = renameFile(incoming, path);
        if (!placed) fs::remove(incoming, ec);
        if (!menu || menu->chartRequest_ != asked) return;
        if (!placed) {
            Q_EMIT menu->dayChartOpened(QString());
            return;
        }
        chart::KWindowController& charts = menu->charts_();
        chart::KBaseView* view = tab == ChartTab::Shown && charts.isKWindowShown()
                                     ? charts.replaceKLineView(charts.currentSelectedIndex(), path)
                                     : charts.addNewKLineView(path);
        if (view) offerTradedPrices(view, path);
        Q_EMIT menu->dayChartOpened(QString::fromStdString(path.string()));
    });
    request->setFailedBlock([menu = QPointer(this), incoming](HttpRequest& r) {
        ORVANE_LOG("error=%s", r.error().value_or("").c_str());
        std::error_code ec;
        fs::remove(incoming, ec);
        if (menu) Q_EMIT menu->dayChartOpened(QString());
    });
    request->startAsynchronous();
}

}  // namespace orvane::app
