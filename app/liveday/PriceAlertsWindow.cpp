#include "liveday/PriceAlertsWindow.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "liveday/PriceAlertDialog.h"
#include "liveday/PriceAlerts.h"
#include "orvane/market/StockCode.h"

namespace orvane::app {

PriceAlertsWindow::PriceAlertsWindow(PriceAlerts& alerts, StockNameLookup nameOf, QWidget* parent)
    : QDialog(parent), alerts_(alerts), nameOf_(std::move(nameOf)) {
    setWindowTitle(QStringLiteral("价格提醒"));
    resize(420, 300);
    auto* layout = new QVBoxLayout(this);
    table_ = new QTableWidget(0, 2, this);
    table_->setHorizontalHeaderLabels({QStringLiteral("股票"), QStringLiteral("条件")});
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->verticalHeader()->hide();
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    layout->addWidget(table_);
    auto* row = new QHBoxLayout;
    auto* add = new QPushButton(QStringLiteral("添加…"), this);
    auto* edit = new QPushButton(QStringLiteral("修改…"), this);
    auto* remove = new QPushButton(QStringLiteral("删除"), this);
    auto* close = new QPushButton(QStringLiteral("关闭"), this);
    for (QPushButton* b : {add, edit, remove}) row->addWidget(b);
    row->addStretch();
    row->addWidget(close);
    layout->addLayout(row);
    connect(add, &QPushButton::clicked, this, [this] {
        bool ok = false;
        const QString code =
            QInputDialog::getText(this, QStringLiteral("添加价格提醒"), QStringLiteral("股票代码"),
                                  QLineEdit::Normal, {}, &ok)
                .trimmed();
        if (ok && isValidStockCode(code.toStdString())) addFor(code.toStdString());
    });
    connect(edit, &QPushButton::clicked, this, [this] { editRow(table_->currentRow()); });
    connect(remove, &QPushButton::clicked, this, [this] { deleteRow(table_->currentRow()); });
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    connect(table_, &QTableWidget::cellDoubleClicked, this, [this](int r, int) { editRow(r); });
    connect(&alerts_, &PriceAlerts::alertsChanged, this, &PriceAlertsWindow::reload);
    reload();
}

QString PriceAlertsWindow::titleOf(const std::string& code) const {
    const std::string name = nameOf_ ? nameOf_(code) : std::string();
    return QString::fromStdString(name.empty() ? code : name + "(" + code + ")");
}

void PriceAlertsWindow::reload() {
    const auto& list = alerts_.alerts();
    table_->setRowCount(static_cast<int>(list.size()));
    for (std::size_t i = 0; i < list.size(); ++i) {
        table_->setItem(int(i), 0, new QTableWidgetItem(titleOf(list[i].code)));
        table_->setItem(int(i), 1,
                        new QTableWidgetItem(QString::fromStdString(conditionText(list[i]))));
    }
    table_->resizeColumnToContents(0);
}

void PriceAlertsWindow::editRow(int row) {
    auto list = alerts_.alerts();
    if (row < 0 || row >= static_cast<int>(list.size())) return;
    PriceAlertDialog dialog(list[row].code, titleOf(list[row].code), list[row], this);
    if (dialog.exec() != QDialog::Accepted || !dialog.alert()) return;
    list[row] = *dialog.alert();
    alerts_.replace(std::move(list));
}

void PriceAlertsWindow::deleteRow(int row) {
    auto list = alerts_.alerts();
    if (row < 0 || row >= static_cast<int>(list.size())) return;
    list.erase(list.begin() + row);
    alerts_.replace(std::move(list));
}

void PriceAlertsWindow::addFor(const std::string& code) {
    PriceAlertDialog dialog(code, titleOf(code), std::nullopt, this);
    if (dialog.exec() == QDialog::Accepted && dialog.alert()) alerts_.add(*dialog.alert());
}

}  // namespace orvane::app
