#include "mainwindow/HelpWindow.h"

#include <QPointer>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "orvane/market/HttpRequest.h"
#include "orvane/market/MarketServers.h"

namespace orvane::app {

HelpWindow::HelpWindow(std::string serverPath, const QString& title, QWidget* parent)
    : QDialog(parent), serverPath_(std::move(serverPath)), browser_(new QTextBrowser(this)) {
    setObjectName(QStringLiteral("helpWindow"));
    setWindowTitle(title);
    resize(560, 480);
    browser_->setOpenExternalLinks(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(browser_);
}

void HelpWindow::help_DoublePao() {
    show();
    raise();
    browser_->setPlainText(QStringLiteral("正在下载..."));
    auto request = HttpRequest::requestWithURL(dataServerURL(serverPath_));
    request->setTimeOutSeconds(5);
    request->setCompletionBlock([window = QPointer(this)](HttpRequest& r) {
        if (!window) return;
        const bool page = r.responseStatusCode() == 200;
        if (page)
            window->browser_->setHtml(QString::fromUtf8(r.responseData()));
        else
            window->browser_->setPlainText(QStringLiteral("数据服务器没有这个帮助页面。"));
        emit window->pageShown(page);
    });
    request->setFailedBlock([window = QPointer(this)](HttpRequest&) {
        if (!window) return;
        window->browser_->setPlainText(QStringLiteral("连接不上数据服务器，请稍后再试。"));
        emit window->pageShown(false);
    });
    request->startAsynchronous();
}

}  // namespace orvane::app
