#pragma once
// A chart tab's button, 20 pixels high and as wide as the tab row allows
// (kTabButtonWidth at most): a close image at its left end and the tab's
// label, cut short with "…" when it does not fit. Clicking either posts
// "InfoButtonCloseNotification" or "InfoButtonClickNotification" on the shared notification bus,
// with the button as object and {"infoButtonID": buttonID}.

#include <QWidget>
#include <string>

namespace orvane::chart {

class KImageButton;

inline constexpr int kInfoButtonWidth = 150;  // room for "浦发银行 600000" in bold
inline constexpr int kInfoButtonHeight = 20;

class KInfoButton : public QWidget {
  public:
    /// Built not selected, at `frame` (widget coordinates).
    KInfoButton(const QRect& frame, QWidget* parent = nullptr);

    void setDelegate(QObject* delegate) { delegate_ = delegate; }
    QObject* delegate() const { return delegate_; }
    void setButtonTitle(const QString& title);
    QString buttonTitle() const;
    void setButtonInfo(const std::string& info) { buttonInfoString_ = info; }
    const std::string& buttonInfoString() const { return buttonInfoString_; }
    void setButtonID(int id) { buttonID_ = id; }
    int buttonID() const { return buttonID_; }
    /// Stores the flag and lays the button out: a selected tab is black with
    /// a bold 13-pixel title, others light grey with a 12-pixel title.
    void setSelected(bool selected);
    bool isSelected() const { return isSelected_; }

    KImageButton* closeButton() const { return closeButton_; }
    KImageButton* infoButton() const { return infoButton_; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void layOut();
    void buttonActions(QObject* sender);

    KImageButton* closeButton_;
    KImageButton* infoButton_;
    QObject* delegate_ = nullptr;
    int buttonID_ = 0;
    std::string buttonInfoString_;
    bool isSelected_ = false;
};

}  // namespace orvane::chart
