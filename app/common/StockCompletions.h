#pragma once
// The completions of a typed stock search: one line a stock of the code
// table whose code, pinyin initials or name holds the text, as
// "name (code)    ". The main window's search field and the keyboard wizard
// show the same list from this model.

#include <QStringListModel>
#include <string>

namespace orvane::app {

class StockCompletions : public QStringListModel {
    Q_OBJECT
  public:
    explicit StockCompletions(QObject* parent = nullptr) : QStringListModel(parent) {}

    /// The completions for a typed text (empty while it is too short to
    /// search with); the number found.
    int search(const QString& typed);
    /// The code of the completion in a row ("" when there is none).
    std::string codeAt(int row) const;
    /// The text the completions are for.
    const QString& searchedText() const { return searched_; }

  private:
    QString searched_;
};

}  // namespace orvane::app
