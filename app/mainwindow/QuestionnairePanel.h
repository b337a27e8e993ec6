#pragma once
// The small built-in questionnaire of the main window: its question, the
// yes/no answers, next, previous and start, drawn from `Questionnaire`.

#include <QObject>
#include <memory>

class QLabel;
class QPushButton;
class QRadioButton;
class QWidget;

namespace orvane::app {

class Questionnaire;

struct QuestionnaireFields {
    QLabel* QuestionTextField;
    QLabel* answerTextField;
    QWidget* answerMatrix;
    QRadioButton* answerYes;
    QRadioButton* answerNo;
    QPushButton* startButton;
    QPushButton* nextBtn;
    QPushButton* lastBtn;
};

class QuestionnairePanel : public QObject {
    Q_OBJECT
  public:
    explicit QuestionnairePanel(QuestionnaireFields fields, QObject* parent = nullptr);
    ~QuestionnairePanel() override;

    Questionnaire& questionnaire() { return *questionnaire_; }
    /// Back to the first page (on start-up and after a reference update).
    void reset();
    void redraw();

  private:
    QuestionnaireFields fields_;
    std::unique_ptr<Questionnaire> questionnaire_;
};

}  // namespace orvane::app
