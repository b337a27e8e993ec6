#pragma once
// The stock search field with its completions, the name label, the stock
// caption and the add-to-holdings button. What the user types chooses the
// shown stock (or none); a stock shown from elsewhere (a list, an alert, a
// screening) is written back into the field, so the field, the name and the
// caption always name the shown stock.

#include <QObject>
#include <functional>
#include <string>
#include <string_view>

class QCompleter;
class QLabel;
class QLineEdit;
class QPushButton;

namespace orvane::app {

class ShownStock;
class StockCompletions;

struct SearchFields {
    QLineEdit* stockCodeTokenField;
    QLabel* stockCodeName;
    QLabel* QATextEdit;
    QPushButton* addMyStockBtn;
};

class SearchPanel : public QObject {
    Q_OBJECT
  public:
    /// `isHeld` tells whether the holdings hold a code already.
    SearchPanel(ShownStock& shown, SearchFields fields,
                std::function<bool(std::string_view)> isHeld, QObject* parent = nullptr);

    /// The field's text, trimmed.
    std::string text() const;
    /// Answers a changed text: the status line, the name, the shown stock.
    void controlTextDidChange();
    /// The add-to-holdings button follows the holdings (after an add).
    void refreshAddButton();
    /// The completer's model, which the keyboard wizard shows too.
    StockCompletions& completions() const { return *completions_; }

  Q_SIGNALS:
    /// Return pressed with no completion list open: fetch the field's stock.
    void fetchRequested();
    void statusMessage(const std::string& text);
    /// A message about the stock the text names (its sectors).
    void stockStatusMessage(const std::string& code, const std::string& text);

  private:
    void setUpCompleter();
    void redraw();

    ShownStock& shown_;
    SearchFields fields_;
    std::function<bool(std::string_view)> isHeld_;
    QCompleter* completer_ = nullptr;
    StockCompletions* completions_ = nullptr;
};

}  // namespace orvane::app
