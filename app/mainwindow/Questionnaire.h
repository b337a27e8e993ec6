#pragma once
// The main window's seven-question investor self-check: the flow of its
// buttons and answer cells, and the result from the number of "yes"
// answers. Pure; the texts come from the string table ("Property1" ...
// "Property7", "answer1" ... "answer4").

#include <array>
#include <functional>
#include <string>

namespace orvane::app {

class Questionnaire {
  public:
    using Lookup = std::function<std::string(const std::string& key)>;
    static constexpr int kQuestions = 7;

    /// What the window shows.
    struct View {
        std::string question, result;
        bool answersShown = false, yes = false, no = false;
        bool previousEnabled = false, nextEnabled = false, startShown = true;
    };

    explicit Questionnaire(Lookup lookup) : lookup_(std::move(lookup)) {}

    void initQA();
    void startQA();
    /// The user picks an answer cell.
    void answerAction(bool yes);
    /// Only when an answer cell is on.
    void nextQAAction();
    void lastQAAction();

    const View& view() const { return view_; }
    int index() const { return index_; }
    /// "answer1" for 7 yes, "answer2" for 5 or 6, "answer3" for 3 or 4, else "answer4".
    static std::string resultKey(int yesCount);

  private:
    void showQuestion();

    Lookup lookup_;
    View view_;
    bool started_ = false;
    int index_ = 0;
    std::array<char, 10> answers_{};
};

}  // namespace orvane::app
