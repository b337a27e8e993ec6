#include "rules/RuleScreenWindow.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QPointer>

#include "common/DisplayText.h"
#include "orvane/core/MainThreadDispatcher.h"
#include "orvane/core/StringTable.h"
#include "orvane/market/RuleScreen.h"
#include "orvane/market/SectorGroups.h"
#include "orvane/stocklib/DayResultsFetch.h"
#include "rules/RuleScreenModel.h"
#include "rules/StockRuleDialog.h"
#include "ui_RuleScreenWindow.h"

namespace orvane::app {

struct RuleScreenWindow::Outcome {
    std::vector<DayResult> all;
    std::vector<DayResult> met;
    std::size_t undecided = 0;
    std::string rule;  // its name, or its text
    std::string error;
};

RuleScreenWindow::RuleScreenWindow(QWidget* parent, std::filesystem::path book)
    : QWidget(parent, Qt::Window),
      ui_(std::make_unique<Ui::RuleScreenWindow>()),
      model_(new RuleScreenModel(this)),
      book_(std::move(book)) {
    ui_->setupUi(this);
    ui_->resultTable->setModel(model_);
    ui_->resultTable->verticalHeader()->hide();
    ui_->resultTable->sortByColumn(RuleScreenModel::Code, Qt::AscendingOrder);
    connect(ui_->screenButton, &QPushButton::clicked, this, &RuleScreenWindow::screen);
    connect(ui_->ruleCombo->lineEdit(), &QLineEdit::returnPressed, this, &RuleScreenWindow::screen);
    connect(ui_->editRulesButton, &QPushButton::clicked, this, [this] {
        StockRuleDialog& dialog = StockRuleDialog::showFor(*this);
        dialog.selectRule(ui_->ruleCombo->currentText());
        connect(&dialog, &StockRuleDialog::rulesChanged, this, &RuleScreenWindow::reloadRules,
                Qt::UniqueConnection);
    });
    connect(ui_->resultTable, &QTableView::doubleClicked, this, [this](const QModelIndex& i) {
        const DayResult& r = model_->rows().at(static_cast<std::size_t>(i.row()));
        Q_EMIT stockPicked(qs(r.code), qs(r.name));
    });
    reloadRules();
}

RuleScreenWindow::~RuleScreenWindow() {
    waitForFinished();
}

RuleScreenWindow& RuleScreenWindow::showFor(QWidget& owner) {
    auto* window = owner.findChild<RuleScreenWindow*>(QString(), Qt::FindDirectChildrenOnly);
    if (!window) window = new RuleScreenWindow(&owner);
    window->show();
    window->raise();
    window->activateWindow();
    return *window;
}

void RuleScreenWindow::reloadRules() {
    const QString typed = ui_->ruleCombo->currentText();
    const QSignalBlocker block(ui_->ruleCombo);
    ui_->ruleCombo->clear();
    for (const NamedRule& r : readRuleBook(book_).rules) ui_->ruleCombo->addItem(qs(r.name));
    if (!typed.isEmpty()) ui_->ruleCombo->setCurrentText(typed);
}

void RuleScreenWindow::waitForFinished() {
    ++generation_;
    if (worker_.joinable()) {
        worker_.request_stop();
        worker_.join();
    }
    running_ = false;
}

void RuleScreenWindow::screen() {
    const std::string typed = ui_->ruleCombo->currentText().trimmed().toStdString();
    if (typed.empty()) {
        ui_->screenStatusLabel->setText(textOf("ruleScreenNoRule"));
        return;
    }
    auto chosen = chooseRule(typed, readRuleBook(book_).rules);
    if (const auto* why = std::get_if<std::string>(&chosen)) {
        ui_->screenStatusLabel->setText(textOf("ruleScreenFailed").arg(qs(*why)));
        model_->setRows({});
        Q_EMIT screened();
        return;
    }
    waitForFinished();
    running_ = true;
    ui_->screenButton->setEnabled(false);
    ui_->screenStatusLabel->setText(textOf("ruleScreenFetching"));
    const std::uint64_t generation = ++generation_;
    worker_ =
        std::jthread([self = QPointer(this), generation,
                      chosen = std::get<ChosenRule>(std::move(chosen))](std::stop_token stop) {
            FetchedDayResults day = fetchDayResults(stop);
            auto outcome = std::make_shared<Outcome>();
            outcome->error = day.error;
            outcome->rule = chosen.name;
            if (day.error.empty()) {
                const ScreenOutcome s =
                    screenDayResults(day.results, chosen.rule, &SectorGroups::shared());
                for (std::size_t i : s.met) outcome->met.push_back(day.results[i]);
                outcome->undecided = s.undecided;
                outcome->all = std::move(day.results);
            }
            if (stop.stop_requested()) return;
            postToMainThread([self, generation, outcome] {
                if (self) self->showOutcome(generation, *outcome);
            });
        });
}

void RuleScreenWindow::showOutcome(std::uint64_t generation, const Outcome& o) {
    if (generation != generation_) return;  // a newer screen replaced it
    running_ = false;
    ui_->screenButton->setEnabled(true);
    if (!o.error.empty()) {
        model_->setRows({});
        ui_->screenStatusLabel->setText(textOf("ruleScreenFailed").arg(qs(o.error)));
        Q_EMIT screened();
        return;
    }
    model_->setRows(o.met);
    // The rows keep the order the user chose by a column's header.
    const QHeaderView& header = *ui_->resultTable->horizontalHeader();
    model_->sort(header.sortIndicatorSection(), header.sortIndicatorOrder());
    ui_->resultTable->resizeColumnsToContents();
    const QString date = qs(o.all.empty() ? "" : o.all.front().date);
    // A rule that meets nothing says so, never an empty table alone.
    QString status = o.met.empty()
                         ? textOf("ruleScreenNone").arg(date).arg(o.all.size()).arg(qs(o.rule))
                         : textOf("ruleScreenCount").arg(date).arg(o.all.size()).arg(o.met.size());
    if (o.undecided) status += textOf("ruleScreenUndecided").arg(o.undecided);
    ui_->screenStatusLabel->setText(status);
    if (listener_) listener_(o.all);
    Q_EMIT screened();
}

}  // namespace orvane::app
