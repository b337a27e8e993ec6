#pragma once
// What the data server's tests serve: a small sample tree and a demo market.

#include <filesystem>
#include <string>
#include <vector>

#include "ServedTree.h"
#include "orvane/publisher/DailySeries.h"

namespace orvane::test {

constexpr const char* kSampleResult = "STOCK_Code=600000\nSTOCK_Trend=1\n";
constexpr const char* kSampleResultPath = "/orvane/const/hisdata/retdata/600000.txt";
/// GB 18030 bytes of a stored quote line of 600000 (the name 浦发银行).
std::string storedQuote600000();
/// Every byte value, NUL and CR LF included.
std::string allByteValues();

/// A served tree with a result file, a binary archive, a picture and two
/// quote copies; secret() lies beside the tree, outside it.
class SampleTree : public ServedTree {
  public:
    explicit SampleTree(std::string base = "/orvane");
    std::filesystem::path secret() const { return folder() / "secret.txt"; }
};

/// A demo market of `count` stocks ending on 2025-12-05, published below
/// `tree` with `daysBack` earlier days; the stocks, or nothing on failure.
std::vector<server::StockSeries> publishDemoMarket(const std::filesystem::path& tree, int count,
                                                   std::uint64_t seed, int daysBack);

}  // namespace orvane::test
