#include "rules/StockRuleDialog.h"

#include <QTextBlock>
#include <QTextCursor>

#include "common/DisplayText.h"
#include "orvane/core/StringTable.h"
#include "ui_StockRuleDialog.h"

namespace orvane::app {

StockRuleDialog::StockRuleDialog(QWidget* parent, std::filesystem::path book)
    : QDialog(parent), ui_(std::make_unique<Ui::StockRuleDialog>()), book_(std::move(book)) {
    ui_->setupUi(this);
    connect(ui_->ruleList, &QListWidget::currentRowChanged, this, &StockRuleDialog::showRule);
    connect(ui_->ruleTextEdit, &QPlainTextEdit::textChanged, this, &StockRuleDialog::checkText);
    connect(ui_->newRuleButton, &QPushButton::clicked, this, &StockRuleDialog::newRule);
    connect(ui_->deleteRuleButton, &QPushButton::clicked, this, &StockRuleDialog::deleteRule);
    connect(ui_->saveRuleButton, &QPushButton::clicked, this, &StockRuleDialog::saveRule);
    connect(ui_->closeButton, &QPushButton::clicked, this, &QDialog::close);
    reload();
}

StockRuleDialog::~StockRuleDialog() = default;

StockRuleDialog& StockRuleDialog::showFor(QWidget& owner) {
    auto* dialog = owner.findChild<StockRuleDialog*>(QString(), Qt::FindDirectChildrenOnly);
    if (!dialog) dialog = new StockRuleDialog(&owner);
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
    return *dialog;
}

void StockRuleDialog::reload() {
    const RuleBookRead read = readRuleBook(book_);
    rules_ = read.rules;
    ui_->saveStatusLabel->setText(qs(read.note));
    fillList();
    if (rules_.empty())
        newRule();
    else
        ui_->ruleList->setCurrentRow(0);
}

void StockRuleDialog::fillList() {
    const QSignalBlocker block(ui_->ruleList);
    ui_->ruleList->clear();
    for (const NamedRule& r : rules_) ui_->ruleList->addItem(qs(r.name));
}

void StockRuleDialog::selectRule(const QString& name) {
    const std::string wanted = name.toStdString();
    for (std::size_t i = 0; i < rules_.size(); ++i)
        if (rules_[i].name == wanted) ui_->ruleList->setCurrentRow(static_cast<int>(i));
}

void StockRuleDialog::showRule(int row) {
    if (row < 0 || static_cast<std::size_t>(row) >= rules_.size()) return;
    const NamedRule& r = rules_[static_cast<std::size_t>(row)];
    ui_->ruleNameField->setText(qs(r.name));
    ui_->ruleTextEdit->setPlainText(qs(r.text));
    ui_->alertCheck->setChecked(r.alert);
}

void StockRuleDialog::newRule() {
    const QSignalBlocker block(ui_->ruleList);
    ui_->ruleList->setCurrentRow(-1);
    ui_->ruleNameField->clear();
    ui_->ruleTextEdit->clear();
    ui_->alertCheck->setChecked(false);
    ui_->ruleNameField->setFocus();
}

void StockRuleDialog::deleteRule() {
    const int row = ui_->ruleList->currentRow();
    if (row < 0) return;
    std::vector<NamedRule> kept = rules_;
    kept.erase(kept.begin() + row);
    if (auto failed = writeRuleBook(kept, book_)) {
        ui_->saveStatusLabel->setText(textOf("ruleNotSaved").arg(qs(*failed)));
        return;
    }
    rules_ = std::move(kept);
    fillList();
    if (rules_.empty())
        newRule();
    else
        ui_->ruleList->setCurrentRow(std::min<int>(row, static_cast<int>(rules_.size()) - 1));
    Q_EMIT rulesChanged();
}

void StockRuleDialog::checkText() {
    const QString text = ui_->ruleTextEdit->toPlainText();
    QList<QTextEdit::ExtraSelection> marks;
    if (text.trimmed().isEmpty()) {
        ui_->ruleErrorLabel->clear();
        ui_->ruleReadAsLabel->clear();
        ui_->ruleTextEdit->setExtraSelections(marks);
        return;
    }
    const auto parsed = parseStockRule(text.toStdString());
    if (const auto* rule = std::get_if<StockRule>(&parsed)) {
        ui_->ruleErrorLabel->clear();
        ui_->ruleReadAsLabel->setText(textOf("ruleReadAs").arg(qs(stockRuleText(*rule))));
    } else {
        const RuleError& error = std::get<RuleError>(parsed);
        ui_->ruleErrorLabel->setText(
            textOf("ruleErrorAt").arg(error.column).arg(qs(error.message)));
        ui_->ruleReadAsLabel->clear();
        // The faulty character marked: columns count characters, as the
        // text's code points (a character beyond the end marks the last).
        const QList<uint> points = text.toUcs4();
        int at = 0;
        for (std::size_t i = 0; i + 1 < error.column && i < static_cast<std::size_t>(points.size());
             ++i)
            at += QChar::requiresSurrogates(points[static_cast<qsizetype>(i)]) ? 2 : 1;
        QTextEdit::ExtraSelection mark;
        mark.cursor = QTextCursor(ui_->ruleTextEdit->document());
        mark.cursor.setPosition(std::min<int>(at, static_cast<int>(text.size()) - 1));
        mark.cursor.movePosition(QTextCursor::NextCharacter, QTextCursor::KeepAnchor);
        mark.format.setBackground(QColor(0xf5, 0xb7, 0xb1));
        mark.format.setUnderlineStyle(QTextCharFormat::WaveUnderline);
        mark.format.setUnderlineColor(QColor(0xc0, 0x39, 0x2b));
        marks << mark;
    }
    ui_->ruleTextEdit->setExtraSelections(marks);
}

bool StockRuleDialog::saveRule() {
    const std::string name = ui_->ruleNameField->text().trimmed().toStdString();
    const std::string text = ui_->ruleTextEdit->toPlainText().trimmed().toStdString();
    if (name.empty()) {
        ui_->saveStatusLabel->setText(textOf("ruleNameMissing"));
        return false;
    }
    const auto parsed = parseStockRule(text);
    if (const auto* error = std::get_if<RuleError>(&parsed)) {
        ui_->saveStatusLabel->setText(
            textOf("ruleErrorAt").arg(error->column).arg(qs(error->message)));
        return false;
    }
    std::vector<NamedRule> next = rules_;
    const NamedRule edited{name, text, ui_->alertCheck->isChecked()};
    const int row = ui_->ruleList->currentRow();
    auto same =
        std::find_if(next.begin(), next.end(), [&](const NamedRule& r) { return r.name == name; });
    if (same != next.end())
        *same = edited;  // the name chosen again replaces that rule
    else if (row >= 0 && static_cast<std::size_t>(row) < next.size())
        next[static_cast<std::size_t>(row)] = edited;  // renamed
    else
        next.push_back(edited);
    if (auto failed = writeRuleBook(next, book_)) {
        ui_->saveStatusLabel->setText(textOf("ruleNotSaved").arg(qs(*failed)));
        return false;
    }
    rules_ = std::move(next);
    fillList();
    selectRule(qs(name));
    ui_->saveStatusLabel->setText(textOf("ruleSaved").arg(qs(book_.filename().string())));
    Q_EMIT rulesChanged();
    return true;
}

}  // namespace orvane::app
