#include "liveday/PriceAlertDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace orvane::app {

PriceAlertDialog::PriceAlertDialog(const std::string& code, const QString& title,
                                   std::optional<PriceAlert> start, QWidget* parent)
    : QDialog(parent), code_(code) {
    setWindowTitle(QStringLiteral("设置价格提醒 — %1").arg(title));
    auto* form = new QFormLayout(this);
    kind_ = new QComboBox(this);
    for (PriceAlertKind kind : kPriceAlertKinds)
        kind_->addItem(QString::fromUtf8(kindText(kind).data(), qsizetype(kindText(kind).size())),
                       static_cast<int>(kind));
    threshold_ = new QLineEdit(this);
    threshold_->setPlaceholderText(QStringLiteral("价格，或百分比"));
    refusal_ = new QLabel(this);
    refusal_->setStyleSheet(QStringLiteral("color: #c00000"));
    form->addRow(QStringLiteral("股票"), new QLabel(title, this));
    form->addRow(QStringLiteral("条件"), kind_);
    form->addRow(QStringLiteral("数值"), threshold_);
    form->addRow(QString(), refusal_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("确定"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("取消"));
    form->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &PriceAlertDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &PriceAlertDialog::reject);
    connect(threshold_, &QLineEdit::textEdited, refusal_, &QLabel::clear);
    if (start) {
        kind_->setCurrentIndex(kind_->findData(static_cast<int>(start->kind)));
        threshold_->setText(QString::number(start->threshold, 'f', 2));
    }
}

void PriceAlertDialog::accept() {
    const auto kind = static_cast<PriceAlertKind>(kind_->currentData().toInt());
    const ThresholdRead read = readThreshold(threshold_->text().toStdString(), kind);
    if (!read.value) {
        refusal_->setText(QString::fromStdString(read.refusal));
        threshold_->setFocus();
        return;
    }
    alert_ = PriceAlert{code_, kind, *read.value};
    QDialog::accept();
}

}  // namespace orvane::app
