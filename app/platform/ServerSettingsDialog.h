#pragma once
// The data-server settings window: the data server's and the quote
// service's addresses in use, a reset to the embedded server's defaults, OK
// and Cancel. OK accepts only http:// addresses; changed ones are stored in
// the settings and the effective addresses made the program's (the command
// line and the environment still win over the settings).

#include <QDialog>
#include <memory>

#include "platform/ServerPreferences.h"

namespace Ui {
class ServerSettingsDialog;
}

namespace orvane::app {

class ServerSettingsDialog final : public QDialog {
    Q_OBJECT
  public:
    explicit ServerSettingsDialog(ServerPreferences preferences, QWidget* parent = nullptr);
    ~ServerSettingsDialog() override;

    /// Stores and installs the addresses and closes, or shows what is wrong
    /// and stays open.
    void accept() override;
    /// Puts the embedded server's addresses into the fields (stored on OK).
    void resetToDefaults();

  private:
    ServerAddresses enteredAddresses() const;

    std::unique_ptr<Ui::ServerSettingsDialog> ui_;
    ServerPreferences preferences_;
};

/// Opens the settings window over `parent` and waits for it; true when new
/// addresses were stored.
bool openServerSettings(const ServerPreferences& preferences, QWidget* parent);

}  // namespace orvane::app
