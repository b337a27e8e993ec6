#include "ServerSamples.h"

#include <fstream>

namespace orvane::test {

std::string allByteValues() {
    std::string bytes;
    for (int i = 0; i < 1024; ++i) bytes.push_back(static_cast<char>(i));
    return bytes + "\r\n\r\n";
}

SampleTree::SampleTree(std::string base) : ServedTree(std::move(base)) {
    std::ofstream(secret(), std::ios::binary) << "SECRET";
    write("const/hisdata/retdata/600000.txt", kSampleResult);
    write("const/constdata.zip", allByteValues());
    write("const/trendupmode/1001.png", "\x89PNG\r\n\x1a\n");
    write("const/hisdata/sinadata/600000.txt", kStoredQuote600000);
    write("const/hisdata/sinadata/000001.txt", "var hq_str_sz000001=\"PA,1,2\";\r\nextra\n");
}

}  // namespace orvane::test
