#pragma once
// The application's own alert panel, used when the desktop has no
// notification service: a small frameless window that slides up into the
// bottom-right corner of the screen, shows one model-B notice (or the text
// of a sell signal) and lets the user page through the notices received so
// far. One shared instance, created on first use on the main thread and
// never destroyed.

#include <QObject>
#include <QPoint>
#include <QRect>
#include <QString>
#include <cstdint>
#include <memory>

#include "alerts/ModelBAlertText.h"
#include "orvane/core/Value.h"

class QFrame;
class QPropertyAnimation;
class QTextBrowser;
namespace Ui {
class NotificationPanel;
}

namespace orvane::app {

class NotificationPanelController : public QObject {
    Q_OBJECT
  public:
    /// Loads the panel from "NotificationPanel.ui"; the list starts empty.
    explicit NotificationPanelController(QObject* parent = nullptr);
    ~NotificationPanelController() override;

    /// Names in the texts come from the code table unless set otherwise.
    void setStockNameLookup(StockNameLookup nameOf) { nameOf_ = std::move(nameOf); }

    /// Appends a model-B notice payload; an unusable payload is ignored (false).
    bool setModeBStockDict(const Dictionary& payload);
    /// Shows this text at once (the sell signals).
    void setNofifyInfoStr(const QString& text);
    /// Shows this text at once under its own heading (the rule alerts).
    void setAlertText(const QString& heading, const QString& text);

    /// Shows the newest notice and slides the panel in; nothing when the
    /// list is empty.
    void showNotificationWindow();
    /// Shows a price alert with its own title and text and slides in.
    void showPriceAlert(const QString& title, const QString& text);
    /// Slides the panel in with whatever text it holds.
    void showStockRaiseDownNotificationWindow();
    /// Empties the text and slides the panel out of sight.
    void closeNotificationWindow();
    /// Shows the notice at `index`.
    void updateMsgUI();

    const Array& incommingSMSDictList() const { return incommingSMSDictList_; }
    std::int32_t index() const { return index_; }
    QFrame* newMsgPanel() const { return newMsgPanel_; }
    QTextBrowser* contentTextView() const;
    /// Where the panel rests when shown: the bottom-right corner of the
    /// available area of the primary screen.
    QRect restingFrame() const;
    /// The slide's duration; 0 moves at once.
    void setAnimationDuration(int milliseconds);

  public slots:
    /// The next (newer) notice; stays on the newest.
    void nextMsg();
    /// The previous (older) notice; stays on the first.
    void lastAction();
    /// The panel's own button: closes it.
    void viewButton();

  private:
    void slideIn();
    void updateButtons();

    std::unique_ptr<Ui::NotificationPanel> ui_;
    QFrame* newMsgPanel_ = nullptr;  // owned: a top-level window
    QPropertyAnimation* slide_ = nullptr;
    bool closing_ = false;
    StockNameLookup nameOf_ = codeTableName;
    Array incommingSMSDictList_;
    std::int32_t index_ = 0;
};

}  // namespace orvane::app
