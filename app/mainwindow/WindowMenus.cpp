#include "mainwindow/WindowMenus.h"

#include <QCoreApplication>
#include <QPointer>
#include <filesystem>

#include "backtest/BacktestWindow.h"
#include "gallery/QXTrendMode.h"
#include "gallery/TrendModeCount.h"
#include "mainwindow/HelpWindow.h"
#include "orvane/core/MainThreadDispatcher.h"
#include "orvane/core/Workspace.h"
#include "orvane/market/ServerPaths.h"
#include "platform/AlertSound.h"
#include "ui_QXDocument.h"

namespace orvane::app {

namespace fs = std::filesystem;

WindowMenus::WindowMenus(QMainWindow& window, Ui::QXDocument& ui, QXTrendMode& gallery,
                         std::function<chart::KWindowController*()> charts)
    : QObject(&window), window_(window), ui_(ui), gallery_(gallery) {
    // The count of new models, in white on a red badge.
    ui_.notifyBtn->hide();
    ui_.notifyBtn->setStyleSheet(
        QStringLiteral("QPushButton { background: #e8413c; color: white; font-weight: bold;"
                       " border-radius: 9px; padding: 2px 10px; }"));
    connect(ui_.notifyBtn, &QPushButton::clicked, this, &WindowMenus::ModeThrendUp);
    connect(ui_.actionTrendUpModels, &QAction::triggered, this,
            [this] { gallery_.showTrendUpModeForWindow(); });
    connect(ui_.actionBacktest, &QAction::triggered, this,
            [this, charts] { BacktestWindow::showFor(window_, charts); });
    connect(ui_.actionGuide, &QAction::triggered, this, &WindowMenus::helpAction);
    connect(ui_.actionDoublePaoHelp, &QAction::triggered, this, [this] {
        if (!doublePaoHelp_)
            doublePaoHelp_ = new HelpWindow(std::string(serverpath::kDoubleCannonHelp),
                                            QStringLiteral("双炮形态"), &window_);
        doublePaoHelp_->help_DoublePao();
    });
    connect(ui_.actionQuit, &QAction::triggered, &window_, &QWidget::close);
}

void WindowMenus::helpAction() {
    // Installed beside the program's share folder; in a build tree too.
    const fs::path guide = fs::path(QCoreApplication::applicationDirPath().toStdString()) /
                           "../share/orvane/Guide.pdf";
    std::error_code ec;
    if (!fs::exists(guide, ec) || !Workspace::shared()->openFile(fs::weakly_canonical(guide, ec)))
        Q_EMIT statusMessage("没有找到使用指南 Guide.pdf，或没有可以打开它的程序");
}

void WindowMenus::ModeThrendUp() {
    gallery_.showTrendUpModeForWindow();
    ui_.notifyBtn->hide();
}

void WindowMenus::updateNotifyTrendMode(std::stop_token stop) {
    const int diff = getServerTrendModeNum(stop) - getLocalTrendModeNum();
    if (stop.stop_requested()) return;
    postToMainThread([menus = QPointer(this), diff] {
        if (!menus) return;
        QPushButton* button = menus->ui_.notifyBtn;
        if (diff >= 1) {
            button->setText(QString::number(diff));
            AlertSound::playNewMessage();
        }
        button->setVisible(diff >= 1);
    });
}

}  // namespace orvane::app
