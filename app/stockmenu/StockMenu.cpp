#include "stockmenu/StockMenu.h"

#include <QAbstractItemView>
#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>

#include "common/StockCodeRole.h"
#include "mainwindow/WebSearch.h"
#include "orvane/core/Workspace.h"
#include "orvane/market/CodeTable.h"

namespace orvane::app {

namespace {

constexpr const char* kAttachedProperty = "orvaneStockMenu";

bool askWithDialog(QWidget* parent, const QString& question) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("Orvane"), question,
                    QMessageBox::NoButton, parent);
    QPushButton* yes = box.addButton(QStringLiteral("删除"), QMessageBox::AcceptRole);
    box.addButton(QStringLiteral("取消"), QMessageBox::RejectRole);
    box.exec();
    return box.clickedButton() == yes;
}

/// The selected (else the current) row's stock of a view, or "".
std::string selectedCode(const QAbstractItemView& view) {
    const QAbstractItemModel* model = view.model();
    if (!model) return {};
    int row = view.currentIndex().row();
    if (const QItemSelectionModel* selection = view.selectionModel()) {
        const QModelIndexList rows = selection->selectedRows();
        if (!rows.isEmpty()) row = rows.front().row();
    }
    return row < 0 ? std::string() : stockCodeAt(*model, row);
}

/// An item that runs `run` when its provider is set, and shows disabled
/// while it is not.
template <class Provider, class Run>
QAction* addItem(QMenu& menu, const QString& text, const Provider& provider, Run run,
                 QKeySequence shortcut = {}) {
    QAction* action = menu.addAction(text);
    action->setShortcut(shortcut);
    action->setEnabled(static_cast<bool>(provider));
    if (provider) QObject::connect(action, &QAction::triggered, &menu, std::move(run));
    return action;
}

}  // namespace

QString stockLabel(const std::string& code) {
    const auto name = CodeTable::shared().getStockCodeName(code);
    return QString::fromStdString(name && !name->empty() ? *name + "(" + code + ")" : code);
}

StockMenu::StockMenu(QObject* parent) : QObject(parent), confirm_(askWithDialog) {}

std::unique_ptr<QMenu> StockMenu::menuFor(const std::string& code, StockListSource list,
                                          QWidget* parent) {
    if (!list) list = [code] { return std::vector<std::string>{code}; };
    auto menu = std::make_unique<QMenu>(parent);
    menu->setTitle(stockLabel(code));
    const StockMenuProviders& p = providers_;
    addItem(*menu, QStringLiteral("诊断"), p.diagnose, [p, code] { p.diagnose(code); });
    addItem(
        *menu, QStringLiteral("日K线"), p.dayChart, [p, code, list] { p.dayChart(code, list()); },
        Qt::Key_F5);
    addItem(*menu, QStringLiteral("分时"), p.intraday,
            [p, code, list] { p.intraday(code, list()); });
    menu->addSeparator();
    if (p.isHeld && p.isHeld(code)) {
        addItem(
            *menu, QStringLiteral("删除持仓"), p.removeHolding,
            [this, code, parent] {
                confirmRemoval(parent, QStringLiteral("从持仓中删除 %1？").arg(stockLabel(code)),
                               [this, code] { providers_.removeHolding(code); });
            },
            Qt::Key_Delete);
    } else {
        addItem(*menu, QStringLiteral("加入持仓"), p.addHolding, [p, code] { p.addHolding(code); });
    }
    QMenu* groups = menu->addMenu(QStringLiteral("加入自选"));
    const std::vector<std::string> groupNames =
        p.watchGroups && p.addToWatchGroup ? p.watchGroups() : std::vector<std::string>{};
    for (const std::string& group : groupNames)
        connect(groups->addAction(QString::fromStdString(group)), &QAction::triggered, groups,
                [p, code, group] { p.addToWatchGroup(code, group); });
    groups->setEnabled(!groupNames.empty());
    addItem(*menu, QStringLiteral("设置价格提醒…"), p.setPriceAlert,
            [p, code] { p.setPriceAlert(code); });
    menu->addSeparator();
    QAction* copy = menu->addAction(QStringLiteral("复制代码"));
    copy->setShortcut(QKeySequence::Copy);
    connect(copy, &QAction::triggered, menu.get(),
            [code] { QGuiApplication::clipboard()->setText(QString::fromStdString(code)); });
    menu->addSeparator();
    for (const std::string& portal : webSearchTargets()) {
        const auto url = portalPageURL(portal, code);
        if (!url) continue;  // the day chart is an item of its own
        connect(menu->addAction(QString::fromStdString(portal)), &QAction::triggered, menu.get(),
                [url = *url] { Workspace::shared()->openURL(url); });
    }
    return menu;
}

std::unique_ptr<QMenu> StockMenu::menuForRow(QAbstractItemView* view, int row) {
    const QAbstractItemModel* model = view->model();
    if (!model || row < 0 || row >= model->rowCount()) return nullptr;
    const std::string code = stockCodeAt(*model, row);
    if (code.empty()) return nullptr;
    return menuFor(
        code,
        [model = QPointer(model)] {
            return model ? stockCodesOf(*model) : std::vector<std::string>{};
        },
        view);
}

void StockMenu::attach(QAbstractItemView* view) {
    if (!view || view->property(kAttachedProperty).toBool()) return;
    view->setProperty(kAttachedProperty, true);
    view->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(view, &QWidget::customContextMenuRequested, this, [this, view](const QPoint& at) {
        const QModelIndex index = view->indexAt(at);
        if (!index.isValid()) return;
        if (auto menu = menuForRow(view, index.row()))
            menu->exec(view->viewport()->mapToGlobal(at));
    });
    auto* copy = new QAction(QStringLiteral("复制代码"), view);
    copy->setShortcut(QKeySequence::Copy);
    copy->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    view->addAction(copy);
    connect(copy, &QAction::triggered, view, [view] {
        if (const std::string code = selectedCode(*view); !code.empty())
            QGuiApplication::clipboard()->setText(QString::fromStdString(code));
    });
}

void StockMenu::attachDeleteKey(QAbstractItemView* view,
                                std::function<QString(const std::string& code)> question,
                                std::function<void(const std::string& code)> remove) {
    auto* del = new QAction(QStringLiteral("删除"), view);
    del->setShortcut(Qt::Key_Delete);
    del->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    view->addAction(del);
    connect(del, &QAction::triggered, view,
            [this, view, question = std::move(question), remove = std::move(remove)] {
                const std::string code = selectedCode(*view);
                if (code.empty()) return;
                confirmRemoval(view, question(code), [&] { remove(code); });
            });
}

bool StockMenu::confirmRemoval(QWidget* parent, const QString& question,
                               const std::function<void()>& remove) const {
    if (!confirm_(parent, question)) return false;
    remove();
    return true;
}

}  // namespace orvane::app
