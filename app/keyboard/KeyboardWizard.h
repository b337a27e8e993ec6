#pragma once
// The keyboard wizard: a digit or Latin letter typed anywhere in a window it
// is attached to (the main window, the chart window), outside a text field,
// opens that window's wizard pop-up with the key typed; the stock chosen
// there goes to the window's own handler. It watches the application's key
// presses, so a key typed into a table or a button counts as well.

#include <QObject>
#include <QPointer>
#include <functional>
#include <string>
#include <vector>

class QWidget;

namespace orvane::app {

class StockCompletions;
class StockWizard;

class KeyboardWizard : public QObject {
    Q_OBJECT
  public:
    using Chooser = std::function<void(const std::string& code)>;

    explicit KeyboardWizard(StockCompletions& completions, QObject* parent = nullptr);
    ~KeyboardWizard() override;

    /// Typing in `window` opens its wizard; the chosen stock goes to `chosen`.
    void attach(QWidget* window, Chooser chosen);
    /// The wizard of an attached window (null for any other).
    StockWizard* wizardOf(const QWidget* window) const;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    StockCompletions& completions_;
    struct Attached {
        QPointer<QWidget> window;
        QPointer<StockWizard> wizard;
    };
    std::vector<Attached> windows_;
};

}  // namespace orvane::app
