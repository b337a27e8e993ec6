#pragma once
// The chart window, built from the window description "KLineWindow". Its
// close button does not close it: it asks its owner (closeRequested) instead;
// a new size is reported through resized.

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

  private:
    std::unique_ptr<Ui::KLineWindow> ui_;
};

}  // namespace orvane::chart
