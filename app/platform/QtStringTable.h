#pragma once
// The program's string table read from its translation: context
// "Localizable", the key as the source text.
//   "title"                 the stock caption; a printf format taking the
//                           stock's name (%s), then its code (%s)
//   "Property1".."Property7" the questionnaire's seven yes/no questions
//   "answer1".."answer4"    its result for 7, 5-6, 3-4 and 0-2 yes answers
//   "noticeDown2"           the sell-signal notice (arguments in StringTable.h)
// Lookups may come from any thread: the table only reads its loaded translation.

#include <QString>
#include <memory>

#include "orvane/core/StringTable.h"

class QTranslator;

namespace orvane::app {

class QtStringTable final : public StringTable {
  public:
    /// Reads the compiled translation `qmFile` (by default the application's).
    explicit QtStringTable(const QString& qmFile);
    QtStringTable();
    ~QtStringTable() override;

    /// False when the translation could not be read: every key then answers empty.
    bool isLoaded() const { return loaded_; }
    std::string localizedString(std::string_view key) const override;

  private:
    std::unique_ptr<QTranslator> translator_;
    bool loaded_ = false;
};

}  // namespace orvane::app
