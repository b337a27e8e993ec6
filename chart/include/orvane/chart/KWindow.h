#pragma once
// The chart window, built from the window description "KLineWindow". Its
// close button does not close it: it asks its owner (closeRequested) instead;
// a new size is reported through resized. Whenever it is shown it keeps
// inside the available area of its screen: centred there the first time
// unless given a position, and any geometry given to it before (a restored
// one) moved and shrunk to fit.

#include <QWidget>
#include <memory>

namespace Ui {
class KLineWindow;
}

namespace orvane::chart {

class KWindow : public QWidget {
    Q_OBJECT
  public:
    explicit KWindow(QWidget* parent = nullptr);
    ~KWindow() override;

  signals:
    void closeRequested();
    void resized(QSize size);

  protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void keepInsideScreen();

    std::unique_ptr<Ui::KLineWindow> ui_;
    bool placed_ = false;  // shown before: its position is the user's
};

}  // namespace orvane::chart
