#pragma once
// The order Chinese users expect for names (sector groups): ICU's collator
// for the "zh" locale (pinyin order) at secondary strength, so letter case
// does not separate names.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

/// One collator; not to be shared between threads.
class ChineseCollator {
  public:
    ChineseCollator();
    ~ChineseCollator();
    ChineseCollator(const ChineseCollator&) = delete;
    ChineseCollator& operator=(const ChineseCollator&) = delete;
    /// UTF-8 texts; byte order when ICU has no collator for "zh".
    bool less(std::string_view a, std::string_view b) const;

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

/// Sorts UTF-8 texts in that order; equal texts keep their order.
void sortChinese(std::vector<std::string>& texts);

/// Splits a UTF-8 line on every control or format character (general
/// categories Cc and Cf), each one a separator of its own.
std::vector<std::string> splitOnControlCharacters(std::string_view line);
/// The text without what separates fields or lines: control and format
/// characters, line and paragraph separators (Cc, Cf, Zl, Zp).
std::string withoutSeparators(std::string_view text);

}  // namespace orvane
