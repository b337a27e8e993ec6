// The data server's parts without HTTP: base paths, quote symbols and
// answers, tree lookups, log lines, the demo tree's folder.

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "ServerSamples.h"
#include "orvane/httpserver/QuoteService.h"
#include "orvane/httpserver/QuoteSymbol.h"
#include "orvane/httpserver/RequestLog.h"
#include "orvane/httpserver/TreeFiles.h"
#include "orvane/publisher/DemoTreeFolder.h"

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

TEST(QuoteSymbol, MarketPrefixDecidesWhichSymbolsNameOurStocks) {
    for (const char* code : {"600000", "510300", "000001", "300750", "399001"}) {
        const std::string prefix = code[0] == '6' || code[0] == '5' ? "sh" : "sz";
        EXPECT_EQ(marketPrefix(code), prefix) << code;
        EXPECT_EQ(codeOfQuoteSymbol(prefix + code), code);
        EXPECT_FALSE(codeOfQuoteSymbol((prefix == "sh" ? "sz" : "sh") + std::string(code)));
    }
    for (const char* bad :
         {"SH600000", "sh60000", "sh6000001", "sh60000a", "600000", "", "sh/../..", "sh60000\xef"})
        EXPECT_FALSE(codeOfQuoteSymbol(bad)) << bad;
}

TEST(QuoteService, AnswersOneLineASymbolFromTheStoredCopies) {
    orvane::test::SampleTree sample;
    sample.write("const/hisdata/sinadata/000002.txt", "");
    sample.write("const/hisdata/sinadata/000004.txt", "var hq_str_sz000004=\"X,1\";");
    QuoteService quotes(*TreeFiles::open(sample.tree()));

    EXPECT_EQ(quotes.answer(",,"), "");
    // An empty stored copy is an unknown stock; a copy without a newline gets one.
    EXPECT_EQ(quotes.answer("sz000002,,sz000004"),
              "var hq_str_sz000002=\"\";\nvar hq_str_sz000004=\"X,1\";\n");
    // Symbols never become paths, nor script.
    EXPECT_EQ(quotes.answer("sh../../secret,a\"b\n<c>"),
              "var hq_str_sh______secret=\"\";\nvar hq_str_a_b__c_=\"\";\n");
    EXPECT_EQ(QuoteService::emptyQuoteLine(std::string(100, 'z')),
              "var hq_str_" + std::string(32, 'z') + "=\"\";\n");

    std::string many;
    for (std::size_t i = 0; i < QuoteService::kMaxSymbols + 5; ++i) many += "sh600000,";
    const std::string answer = quotes.answer(many);
    EXPECT_EQ(std::count(answer.begin(), answer.end(), '\n'), QuoteService::kMaxSymbols);
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
    EXPECT_EQ(tree->lookup("/v2/const/constdata.zip").status, TreeLookupStatus::NotFound);
    EXPECT_EQ(tree->lookup("/const\\constdata.zip").status, TreeLookupStatus::Refused);
    EXPECT_FALSE(TreeFiles::open(sample.secret()));

    // A sibling folder whose name starts like the tree's is outside it.
    fs::create_directories(sample.tree().string() + "2");
    std::ofstream(sample.tree().string() + "2/x.txt") << "x";
    fs::create_symlink(sample.tree().string() + "2/x.txt", sample.tree() / "sibling.txt");
    EXPECT_EQ(TreeFiles::open(sample.tree())->lookup("/sibling.txt").status,
              TreeLookupStatus::NotFound);
}

TEST(RequestLog, OneSafeLinePerRequest) {
    RequestRecord r{"127.0.0.1", "GET", "/orvane/a.txt",
                    200,         1234,  std::chrono::microseconds(2500)};
    EXPECT_EQ(requestLogLine(r), "127.0.0.1 \"GET /orvane/a.txt\" 200 1234 B 2.50 ms");
    const std::string target = "/x\"\r\n\x1b" + std::string(300, 'a');
    r.target = target;
    const std::string line = requestLogLine(r);
    EXPECT_EQ(line.find_first_of("\r\n\x1b"), std::string::npos);
    EXPECT_NE(line.find("\"GET /x????aaa"), std::string::npos);
    EXPECT_NE(line.find("...\" 200"), std::string::npos);
    EXPECT_LT(line.size(), 260u);
}

TEST(DemoTreeFolder, InTheUsersCache) {
    const std::string savedXdg = std::getenv("XDG_CACHE_HOME") ? std::getenv("XDG_CACHE_HOME") : "";
    const std::string savedHome = std::getenv("HOME") ? std::getenv("HOME") : "";
    setenv("HOME", "/home/someone", 1);
    setenv("XDG_CACHE_HOME", "/var/cache/me", 1);
    EXPECT_EQ(demoTreeFolder(), fs::path("/var/cache/me/Orvane/demo-tree"));
    setenv("XDG_CACHE_HOME", "relative", 1);  // ignored, as the XDG rules say
    EXPECT_EQ(demoTreeFolder(), fs::path("/home/someone/.cache/Orvane/demo-tree"));
    savedXdg.empty() ? unsetenv("XDG_CACHE_HOME") : setenv("XDG_CACHE_HOME", savedXdg.c_str(), 1);
    setenv("HOME", savedHome.c_str(), 1);
}
