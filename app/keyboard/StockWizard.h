#pragma once
// The keyboard wizard's pop-up: a search field (Chinese through the input
// method, as in any field) over the completions of the main window's
// search, opened at the bottom right of a window with the key that opened
// it. The list follows the field as the user types; Up and Down move in
// it; Enter chooses the highlighted stock (or the stock the text names);
// Esc or a click elsewhere closes it. A text that names no stock shows
// "没有找到" and the pop-up stays.

#include <QFrame>
#include <string>

class QLabel;
class QLineEdit;
class QListView;

namespace orvane::app {

class StockCompletions;

class StockWizard : public QFrame {
    Q_OBJECT
  public:
    /// The pop-up of `window`, over the completions the search field shows.
    StockWizard(StockCompletions& completions, QWidget* window);

    /// Opens at the bottom right of its window, the field holding `typed`.
    void open(const QString& typed);
    /// Enter: chooses the highlighted stock or the one the text names;
    /// false (and "没有找到") when there is none.
    bool choose();

    QLineEdit* field() const { return field_; }
    QListView* list() const { return list_; }
    /// "没有找到", shown while the text names no stock.
    QLabel* notice() const { return notice_; }

  Q_SIGNALS:
    void stockChosen(const QString& code);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void search(const QString& text);
    void moveHighlight(int by);
    void placeInWindow();

    StockCompletions& completions_;
    QWidget* window_;
    QLineEdit* field_;
    QListView* list_;
    QLabel* notice_;
};

}  // namespace orvane::app
