#include "mainwindow/Questionnaire.h"

#include <algorithm>

#include "orvane/core/NumberText.h"

namespace orvane::app {

std::string Questionnaire::resultKey(int yesCount) {
    if (yesCount == 7) return "answer1";
    if (yesCount >= 5) return "answer2";
    if (yesCount >= 3) return "answer3";
    return "answer4";
}

void Questionnaire::initQA() {
    index_ = 0;
    answers_.fill(0);
    view_ = View{};
}

void Questionnaire::startQA() {
    started_ = true;
    index_ = 1;
    showQuestion();
}

void Questionnaire::showQuestion() {
    const std::string q = lookup_("Property" + std::to_string(index_));
    view_.question = format("问题%d:\r\n \r\n      %s", index_, q.c_str());
    view_.yes = view_.no = false;
    view_.previousEnabled = index_ != 1;
    view_.answersShown = true;
    view_.result.clear();
}

void Questionnaire::answerAction(bool yes) {
    if (index_ < 1 || index_ > kQuestions) return;
    view_.yes = yes;
    view_.no = !yes;
    answers_[static_cast<std::size_t>(index_)] = yes ? 1 : 0;
    if (index_ == kQuestions) {
        const int count =
            static_cast<int>(std::count(answers_.begin() + 1, answers_.begin() + 8, 1));
        view_.result = lookup_(resultKey(count));
        view_.nextEnabled = false;
        view_.startShown = true;
    } else {
        view_.nextEnabled = true;
        view_.startShown = false;
        view_.result.clear();
    }
}

void Questionnaire::nextQAAction() {
    if ((!view_.yes && !view_.no) || index_ >= kQuestions) return;
    ++index_;
    showQuestion();
}

void Questionnaire::lastQAAction() {
    if (index_ <= 1) return;
    --index_;
    showQuestion();
}

}  // namespace orvane::app
