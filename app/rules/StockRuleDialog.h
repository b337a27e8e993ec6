#pragma once
// The rule dialog (分析 › 选股规则…): the rules of the book by name, each
// shown and edited as its text, marked 提醒 or not. While the text is typed
// it is read: a fault is named with its character and that character is
// marked in the text; a good text is shown as the program reads it back.
// 保存 writes the whole book (atomically) and tells rulesChanged.

#include <QDialog>
#include <filesystem>
#include <memory>
#include <vector>

#include "orvane/market/StockRuleBook.h"

namespace Ui {
class StockRuleDialog;
}

namespace orvane::app {

class StockRuleDialog : public QDialog {
    Q_OBJECT
  public:
    explicit StockRuleDialog(QWidget* parent = nullptr,
                             std::filesystem::path book = defaultRuleBookFile());
    ~StockRuleDialog() override;

    /// The one dialog of `owner`, shown and raised.
    static StockRuleDialog& showFor(QWidget& owner);

    /// Reads the book again; a note when it was set aside.
    void reload();
    /// Selects the rule of that name (nothing else when there is none).
    void selectRule(const QString& name);
    /// Saves the edited rule under its name; false (with the reason shown)
    /// when it has no name, its text does not read or the write failed.
    bool saveRule();

    const std::vector<NamedRule>& rules() const { return rules_; }
    Ui::StockRuleDialog& ui() { return *ui_; }

  Q_SIGNALS:
    void rulesChanged();

  private:
    void showRule(int row);
    void checkText();
    void newRule();
    void deleteRule();
    void fillList();

    std::unique_ptr<Ui::StockRuleDialog> ui_;
    std::filesystem::path book_;
    std::vector<NamedRule> rules_;
};

}  // namespace orvane::app
