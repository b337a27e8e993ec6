#include "mainwindow/QuestionnairePanel.h"

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "common/DisplayText.h"
#include "mainwindow/Questionnaire.h"
#include "orvane/core/StringTable.h"

namespace orvane::app {

QuestionnairePanel::QuestionnairePanel(QuestionnaireFields fields, QObject* parent)
    : QObject(parent),
      fields_(fields),
      questionnaire_(std::make_unique<Questionnaire>(
          [](const std::string& key) { return localizedString(key); })) {
    auto on = [this](auto* button, auto action) {
        connect(button, &QAbstractButton::clicked, this, [this, action] {
            action(*questionnaire_);
            redraw();
        });
    };
    on(fields_.startButton, [](Questionnaire& q) { q.startQA(); });
    on(fields_.answerYes, [](Questionnaire& q) { q.answerAction(true); });
    on(fields_.answerNo, [](Questionnaire& q) { q.answerAction(false); });
    on(fields_.nextBtn, [](Questionnaire& q) { q.nextQAAction(); });
    on(fields_.lastBtn, [](Questionnaire& q) { q.lastQAAction(); });
}

QuestionnairePanel::~QuestionnairePanel() = default;

void QuestionnairePanel::reset() {
    questionnaire_->initQA();
    redraw();
}

void QuestionnairePanel::redraw() {
    const Questionnaire::View& v = questionnaire_->view();
    fields_.QuestionTextField->setText(displayText(v.question));
    fields_.answerTextField->setText(displayText(v.result));
    fields_.answerMatrix->setVisible(v.answersShown);
    // Both cells off is a state radio buttons only reach without exclusivity.
    for (auto [button, on] : {std::pair{fields_.answerYes, v.yes}, {fields_.answerNo, v.no}}) {
        button->setAutoExclusive(false);
        button->setChecked(on);
        button->setAutoExclusive(true);
    }
    fields_.lastBtn->setEnabled(v.previousEnabled);
    fields_.nextBtn->setEnabled(v.nextEnabled);
    fields_.startButton->setVisible(v.startShown);
}

}  // namespace orvane::app
