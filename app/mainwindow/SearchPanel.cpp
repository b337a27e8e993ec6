#include "mainwindow/SearchPanel.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "common/DisplayText.h"
#include "common/StockCompletions.h"
#include "mainwindow/ShownStock.h"
#include "mainwindow/StockSearch.h"
#include "mainwindow/WidgetColours.h"
#include "orvane/core/StringTable.h"
#include "orvane/core/TextSplit.h"
#include "orvane/market/CodeTable.h"
#include "orvane/market/SectorGroups.h"
#include "orvane/market/StockCode.h"

namespace orvane::app {

SearchPanel::SearchPanel(ShownStock& shown, SearchFields fields,
                         std::function<bool(std::string_view)> isHeld, QObject* parent)
    : QObject(parent), shown_(shown), fields_(fields), isHeld_(std::move(isHeld)) {
    setUpCompleter();
    connect(&shown_, &ShownStock::changed, this, &SearchPanel::redraw);
    redraw();
}

void SearchPanel::setUpCompleter() {
    QLineEdit* field = fields_.stockCodeTokenField;
    completions_ = new StockCompletions(this);
    completer_ = new QCompleter(completions_, this);
    completer_->setWidget(field);
    completer_->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
    completer_->setMaxVisibleItems(12);
    connect(field, &QLineEdit::textEdited, this, [this](const QString& text) {
        if (completions_->search(text) > 0) completer_->complete();
        controlTextDidChange();
    });
    connect(completer_, qOverload<const QString&>(&QCompleter::activated), this,
            [this](const QString& picked) {
                fields_.stockCodeTokenField->setText(qs(tokenDisplayString(picked.toStdString())));
                controlTextDidChange();
            });
    connect(field, &QLineEdit::returnPressed, this, [this] {
        if (!completer_->popup()->isVisible()) Q_EMIT fetchRequested();
    });
}

std::string SearchPanel::text() const {
    return fields_.stockCodeTokenField->text().trimmed().toStdString();
}

void SearchPanel::controlTextDidChange() {
    const std::string typed = fields_.stockCodeTokenField->text().toStdString();
    const SearchFieldChange change = searchTextChanged(
        typed, {CodeTable::shared(), SectorGroups::shared(), isHeld_, localizedString("title")});
    if (change.status && change.code)
        Q_EMIT stockStatusMessage(*change.code, *change.status);
    else if (change.status)
        Q_EMIT statusMessage(*change.status);
    if (change.searchText) fields_.stockCodeTokenField->setText(qs(*change.searchText));
    if (change.code) {
        shown_.choose(*change.code, change.name.value_or(""));
    } else if (utf16Length(typed) >= 2 || typed.empty()) {
        // The text names no stock (yet): no panel keeps the last one.
        shown_.clear();
    }
    refreshAddButton();
}

void SearchPanel::refreshAddButton() {
    const std::string& code = shown_.code();
    fields_.addMyStockBtn->setEnabled(!code.empty() && !isHeld_(code));
}

void SearchPanel::redraw() {
    const std::string& code = shown_.code();
    QLineEdit* field = fields_.stockCodeTokenField;
    if (!code.empty() && field->text().trimmed() != qs(code)) field->setText(qs(code));
    // No stock shown: a field still naming one is emptied (a text that names
    // none is the user's typing, and stays).
    const std::string typed = text();
    if (code.empty() && isValidStockCode(typed) && CodeTable::shared().getStockCodeName(typed))
        field->clear();
    fields_.stockCodeName->setText(qs(shown_.name()));
    fields_.QATextEdit->setText(
        code.empty()            ? QString()
        : shown_.name().empty() ? qs(code)
                                : qs(stockCaption(localizedString("title"), shown_.name(), code)));
    // A shown record tints its code, red with a random touch of green.
    if (shown_.state() == ShownStock::State::Shown)
        setTextColour(field, toPlainQColor(shown_.view()->codeColour));
    else
        resetTextColour(field);
    refreshAddButton();
}

}  // namespace orvane::app
