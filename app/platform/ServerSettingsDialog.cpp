#include "platform/ServerSettingsDialog.h"

#include <QPushButton>

#include "mainwindow/WidgetColours.h"
#include "ui_ServerSettingsDialog.h"

namespace orvane::app {

ServerSettingsDialog::ServerSettingsDialog(ServerPreferences preferences, QWidget* parent)
    : QDialog(parent),
      ui_(std::make_unique<Ui::ServerSettingsDialog>()),
      preferences_(std::move(preferences)) {
    ui_->setupUi(this);
    setTextColour(ui_->errorLabel, toPlainQColor(colours::refusalRed));
    ui_->buttonBox->button(QDialogButtonBox::Ok)->setText(QStringLiteral("确定"));
    ui_->buttonBox->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("取消"));
    ui_->overrideNote->setVisible(preferences_.hasOverrides());
    ui_->errorLabel->hide();

    // The addresses in use, which the command line or the environment may
    // have chosen over the settings.
    const ServerAddresses current = preferences_.effective();
    ui_->dataServerField->setText(current.dataServer);
    ui_->quoteServerField->setText(current.quoteServer);
    connect(ui_->resetButton, &QPushButton::clicked, this, &ServerSettingsDialog::resetToDefaults);
}

ServerSettingsDialog::~ServerSettingsDialog() = default;

ServerAddresses ServerSettingsDialog::enteredAddresses() const {
    return {ui_->dataServerField->text().trimmed(), ui_->quoteServerField->text().trimmed()};
}

void ServerSettingsDialog::resetToDefaults() {
    const ServerAddresses defaults = ServerPreferences::defaults();
    ui_->dataServerField->setText(defaults.dataServer);
    ui_->quoteServerField->setText(defaults.quoteServer);
    ui_->errorLabel->hide();
}

void ServerSettingsDialog::accept() {
    const ServerAddresses entered = enteredAddresses();
    QLineEdit* wrong = !isValidServerURL(entered.dataServer)    ? ui_->dataServerField
                       : !isValidServerURL(entered.quoteServer) ? ui_->quoteServerField
                                                                : nullptr;
    // Unchanged addresses are not stored: those the command line or the
    // environment chose stay out of the settings.
    if (!wrong && entered == preferences_.effective()) {
        QDialog::accept();
        return;
    }
    if (wrong || !preferences_.store(entered)) {
        ui_->errorLabel->show();
        (wrong ? wrong : ui_->dataServerField)->setFocus();
        return;
    }
    preferences_.install();
    QDialog::accept();
}

bool openServerSettings(const ServerPreferences& preferences, QWidget* parent) {
    ServerSettingsDialog dialog(preferences, parent);
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace orvane::app
