// The data server's parts without HTTP: base paths, quote symbols, tree
// lookups, log lines.

#include <gtest/gtest.h>

#include <fstream>

#include "ServerSamples.h"
#include "orvane/httpserver/QuoteSymbol.h"
#include "orvane/httpserver/RequestLog.h"
#include "orvane/httpserver/TreeFiles.h"

namespace fs = std::filesystem;
using namespace orvane::server;

TEST(ServeOptions, BasePathIsNormalisedOrRefused) {
    for (auto [base, normal] : {std::pair{"/orvane", "/orvane"},
                                {"orvane/", "/orvane"},
                                {"//a//b/", "/a/b"},
                                {"/", ""},
                                {"", ""}})
        EXPECT_EQ(normalizeBasePath(base), normal) << base;
    for (const char* bad : {"/a/../b", "/.", "/a b", "/a?x=1", "/a%2e", "/a\\b", "/a#b", "/a\tb"})
        EXPECT_FALSE(normalizeBasePath(bad)) << bad;
}

TEST(QuoteSymbol, OnlyTheCodesOwnMarketPrefixAndSixDigitsNameAStock) {
    for (const char* symbol : {"sh600000", "sh510300", "sz000001", "sz300750"})
        EXPECT_EQ(codeOfQuoteSymbol(symbol), std::string(symbol + 2)) << symbol;
    for (const char* bad : {"sz600000", "sh000001", "SH600000", "sh60000", "sh6000001", "sh60000a",
                            "600000", "", "sh/../..", "sh60000\xef"})
        EXPECT_FALSE(codeOfQuoteSymbol(bad)) << bad;
}

TEST(TreeFiles, FindsRegularFilesInsideOnly) {
    orvane::test::SampleTree sample;
    // A tree that is a symbolic link follows the link when it is switched.
    sample.write("v2/const/constdata.zip", "v2");
    const fs::path current = sample.folder() / "current";
    fs::create_directory_symlink(sample.tree(), current);
    auto tree = TreeFiles::open(current);
    ASSERT_TRUE(tree);
    EXPECT_EQ(tree->lookup("/const/constdata.zip").file,
              fs::canonical(sample.tree() / "const/constdata.zip"));
    fs::create_directory_symlink(sample.tree() / "v2", current.string() + ".new");
    fs::rename(current.string() + ".new", current);
    EXPECT_EQ(tree->lookup("/const/constdata.zip").file,
              fs::canonical(sample.tree() / "v2/const/constdata.zip"));
    for (const char* refused : {"/const\\constdata.zip", "/const/../const/constdata.zip"})
        EXPECT_EQ(tree->lookup(refused).status, TreeLookupStatus::Refused) << refused;

    // A sibling folder whose name starts like the tree's is outside it.
    fs::create_directories(sample.tree().string() + "2");
    std::ofstream(sample.tree().string() + "2/x.txt") << "x";
    fs::create_symlink(sample.tree().string() + "2/x.txt", sample.tree() / "sibling.txt");
    EXPECT_EQ(TreeFiles::open(sample.tree())->lookup("/sibling.txt").status,
              TreeLookupStatus::NotFound);
}

// The ordinary line is pinned by the serve command's test.
TEST(RequestLog, TargetsAreMadeSafeAndShortened) {
    const std::string line =
        requestLogLine({"127.0.0.1", "GET", "/x\"\r\n\x1b" + std::string(300, 'a'), 200, 1234,
                        std::chrono::microseconds(2500)});
    EXPECT_EQ(line.find_first_of("\r\n\x1b"), std::string::npos);
    EXPECT_NE(line.find("\"GET /x????aaa"), std::string::npos);
    EXPECT_NE(line.find("...\" 200 1234 B 2.50 ms"), std::string::npos) << line;
    EXPECT_LT(line.size(), 260u);
}
