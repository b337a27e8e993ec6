#pragma once
// What the data server's tests serve: a small sample tree.

#include <filesystem>
#include <string>

#include "ServedTree.h"

namespace orvane::test {

constexpr const char* kSampleResult = "STOCK_Code=600000\nSTOCK_Trend=1\n";
constexpr const char* kSampleResultPath = "/orvane/const/hisdata/retdata/600000.txt";
/// GB 18030 bytes of a stored quote line of 600000 (the name 浦发银行).
constexpr const char* kStoredQuote600000 =
    "var hq_str_sh600000=\"\xC6\xD6\xB7\xA2\xD2\xF8\xD0\xD0,10.01,10.00,2025-09-03\";\n";
/// Every byte value, NUL and CR LF included.
std::string allByteValues();

/// A served tree with a result file, a binary archive, a picture and two
/// quote copies; secret() lies beside the tree, outside it.
class SampleTree : public ServedTree {
  public:
    explicit SampleTree(std::string base = "/orvane");
    std::filesystem::path secret() const { return folder() / "secret.txt"; }
};

}  // namespace orvane::test
