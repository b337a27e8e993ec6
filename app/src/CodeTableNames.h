#pragma once
// Stock names for the chart window's titles, read from the code table
// (constdata/stockcode/code.txt in the data directory: UTF-16 with a
// byte-order mark, one "code<TAB>name<TAB>pinyin" entry per line). A small
// reader of our own until the application's code table module arrives.

#include <map>
#include <string>

namespace orvane::app {

class CodeTableNames {
  public:
    /// Reads the data directory's code table; no table gives no names.
    static CodeTableNames fromDataDirectory();
    /// Reads a code table text given as UTF-16 bytes.
    static CodeTableNames fromUtf16(const std::string& bytes);

    /// The stock's name, "" when unknown. Codes compare by integer value.
    std::string nameOf(const std::string& code) const;
    std::size_t size() const { return names_.size(); }

  private:
    std::map<int, std::string> names_;
};

}  // namespace orvane::app
