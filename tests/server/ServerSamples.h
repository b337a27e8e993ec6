#pragma once
// What the data server's tests serve: a small sample tree.

#include <filesystem>
#include <fstream>
#include <string>

#include "ServedTree.h"

namespace orvane::test {

constexpr const char* kSampleResult = "STOCK_Code=600000\nSTOCK_Trend=1\n";
constexpr const char* kSampleResultPath = "/orvane/const/hisdata/retdata/600000.txt";
/// GB 18030 bytes of a stored quote line of 600000 (the name 浦发银行).
constexpr const char* kStoredQuote600000 =
    "var hq_str_sh600000=\"\xC6\xD6\xB7\xA2\xD2\xF8\xD0\xD0,10.01,10.00,2025-09-03\";\n";
/// Every byte value, NUL and CR LF included.
inline std::string allByteValues() {
    std::string bytes;
    for (int i = 0; i < 1024; ++i) bytes.push_back(static_cast<char>(i));
    return bytes + "\r\n\r\n";
}

/// A served tree with a result file, a binary archive, a picture and two
/// quote copies; secret() lies beside the tree, outside it.
class SampleTree : public ServedTree {
  public:
    explicit SampleTree(std::string base = "/orvane") : ServedTree(std::move(base)) {
        std::ofstream(secret(), std::ios::binary) << "SECRET";
        write("const/hisdata/retdata/600000.txt", kSampleResult);
        write("const/constdata.zip", allByteValues());
        write("const/trendupmode/1001.png", "\x89PNG\r\n\x1a\n");
        write("const/hisdata/sinadata/600000.txt", kStoredQuote600000);
        write("const/hisdata/sinadata/000001.txt", "var hq_str_sz000001=\"PA,1,2\";\r\nextra\n");
    }
    std::filesystem::path secret() const { return folder() / "secret.txt"; }
};

}  // namespace orvane::test
