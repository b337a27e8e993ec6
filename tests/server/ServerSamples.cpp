#include "ServerSamples.h"

#include <fstream>

#include "orvane/publisher/Publisher.h"
#include "orvane/publisher/SyntheticMarket.h"

namespace orvane::test {

std::string storedQuote600000() {
    return "var hq_str_sh600000=\"\xC6\xD6\xB7\xA2\xD2\xF8\xD0\xD0,10.01,10.00,10.20,10.30,9.90,"
           "10.19,10.20,1234500,12580000.00,100,10.19,200,10.18,300,10.17,400,10.16,500,10.15,"
           "100,10.20,200,10.21,300,10.22,400,10.23,500,10.24,2025-09-03,15:00:03,00\";\n";
}

std::string allByteValues() {
    std::string bytes;
    for (int round = 0; round < 4; ++round)
        for (int b = 0; b < 256; ++b) bytes.push_back(static_cast<char>(b));
    return bytes + "\r\n\r\n";
}

SampleTree::SampleTree(std::string base) : ServedTree(std::move(base)) {
    std::ofstream(secret(), std::ios::binary) << "SECRET";
    write("const/hisdata/retdata/600000.txt", kSampleResult);
    write("const/constdata.zip", allByteValues());
    write("const/trendupmode/1001.png", "\x89PNG\r\n\x1a\n");
    write("const/trendupmode/modeini", "count=1");
    write("const/hisdata/sinadata/600000.txt", storedQuote600000());
    write("const/hisdata/sinadata/000001.txt", "var hq_str_sz000001=\"PA,1,2\";\r\nextra\n");
}

std::vector<server::StockSeries> publishDemoMarket(const std::filesystem::path& tree, int count,
                                                   std::uint64_t seed, int daysBack) {
    server::PublishOptions options;
    options.daysBack = daysBack;
    options.version = LocalDateTime{2025, 12, 5, 16, 0, 0};
    auto market = server::makeSyntheticMarket(count, seed, *parseDate("2025-12-05"), 320);
    if (!server::publishMarket(market, tree, options).ok) market.clear();
    return market;
}

}  // namespace orvane::test
