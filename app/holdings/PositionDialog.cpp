#include "holdings/PositionDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "orvane/core/NumberText.h"

namespace orvane::app {

namespace {

constexpr int kMostShares = 2'000'000'000;

}  // namespace

PositionDialog::PositionDialog(const QString& stock, const std::optional<Position>& position,
                               QWidget* parent)
    : QDialog(parent),
      cost_(new QLineEdit(this)),
      shares_(new QSpinBox(this)),
      refusal_(new QLabel(this)),
      chosen_(position) {
    setWindowTitle(QStringLiteral("成本与持股 — %1").arg(stock));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    cost_->setObjectName(QStringLiteral("costField"));
    cost_->setPlaceholderText(QStringLiteral("每股成本，元"));
    shares_->setObjectName(QStringLiteral("sharesField"));
    shares_->setRange(0, kMostShares);
    shares_->setSingleStep(int(kLotSize));
    shares_->setSuffix(QStringLiteral(" 股"));
    if (position) {
        cost_->setText(QString::fromStdString(format("%.3f", position->cost)));
        shares_->setValue(int(position->shares));
    } else {
        shares_->setValue(int(kLotSize));
    }
    form->addRow(QStringLiteral("成本价："), cost_);
    form->addRow(QStringLiteral("持股数量："), shares_);
    layout->addLayout(form);
    refusal_->setObjectName(QStringLiteral("refusalLabel"));
    layout->addWidget(refusal_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("确定"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("取消"));
    QPushButton* clear = buttons->addButton(QStringLiteral("清除"), QDialogButtonBox::ResetRole);
    clear->setEnabled(position.has_value());
    connect(buttons, &QDialogButtonBox::accepted, this, &PositionDialog::tryAccept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(clear, &QPushButton::clicked, this, &PositionDialog::clearPosition);
    layout->addWidget(buttons);
}

void PositionDialog::tryAccept() {
    const std::string cost = cost_->text().trimmed().toStdString();
    const std::int64_t shares = shares_->value();
    if (auto refusal = refusalOfPosition(cost, shares)) {
        refusal_->setText(QString::fromStdString(*refusal));
        return;
    }
    chosen_ = Position{leadingDouble(cost), shares};
    accept();
}

void PositionDialog::clearPosition() {
    chosen_.reset();
    accept();
}

}  // namespace orvane::app
