// The data server over HTTP on 127.0.0.1: files, error pages, the tree's
// boundary, the quote service, many clients, stopping.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <vector>

#include "ServerFixture.h"

namespace fs = std::filesystem;
using orvane::test::RunningServer;
using orvane::test::SampleTree;

namespace {

constexpr const char* kResultPath = "/orvane/const/hisdata/retdata/600000.txt";

}  // namespace

TEST(DataServer, ServesTreeFilesByteForByteWithTheirTypes) {
    SampleTree sample;
    sample.write("const/other.bin", "raw");
    RunningServer server(sample.tree());
    auto client = server.client();

    auto text = client.Get(kResultPath);
    ASSERT_TRUE(text);
    EXPECT_EQ(text->status, 200);
    EXPECT_EQ(text->body, "STOCK_Code=600000\nSTOCK_Trend=1\n");
    EXPECT_EQ(text->get_header_value("Content-Type"), "text/plain");
    EXPECT_EQ(text->get_header_value("Content-Length"), std::to_string(text->body.size()));

    auto zip = client.Get("/orvane/const/constdata.zip");
    ASSERT_TRUE(zip);
    EXPECT_EQ(zip->body, orvane::test::allByteValues());
    EXPECT_EQ(zip->get_header_value("Content-Type"), "application/zip");

    auto png = client.Get("/orvane/const/trendupmode/1001.png");
    ASSERT_TRUE(png);
    EXPECT_EQ(png->body, "\x89PNG\r\n\x1a\n");
    EXPECT_EQ(png->get_header_value("Content-Type"), "image/png");

    auto other = client.Get("/orvane/const/other.bin");
    ASSERT_TRUE(other);
    EXPECT_EQ(other->get_header_value("Content-Type"), "application/octet-stream");

    // HEAD announces the length of the GET answer and sends no body.
    auto head = client.Head("/orvane/const/constdata.zip");
    ASSERT_TRUE(head);
    EXPECT_EQ(head->status, 200);
    EXPECT_EQ(head->get_header_value("Content-Length"),
              std::to_string(orvane::test::allByteValues().size()));
    EXPECT_TRUE(head->body.empty());

    // No content coding, even for a client that would accept one.
    auto accepting = client.Get(kResultPath, {{"Accept-Encoding", "gzip, br"}});
    ASSERT_TRUE(accepting);
    EXPECT_EQ(accepting->body, text->body);
    EXPECT_FALSE(accepting->has_header("Content-Encoding"));
    auto quote = client.Get("/list=sh600000", {{"Accept-Encoding", "gzip, br"}});
    ASSERT_TRUE(quote);
    EXPECT_FALSE(quote->has_header("Content-Encoding"));

    // Percent-encoded names and doubled slashes still find the file.
    auto encoded = client.Get("/orvane/const/hisdata/retdata/%36%30%30000.txt");
    ASSERT_TRUE(encoded);
    EXPECT_EQ(encoded->status, 200);
    auto doubled = client.Get("/orvane//const//hisdata/retdata/600000.txt");
    ASSERT_TRUE(doubled);
    EXPECT_EQ(doubled->status, 200);
}

TEST(DataServer, AnswersWhatIsNotAFileWithAnHtmlErrorPage) {
    SampleTree sample;
    RunningServer server(sample.tree());
    auto client = server.client();

    for (const char* path :
         {"/orvane/const/hisdata/retdata/999999.txt", "/orvane/const", "/orvane/const/", "/orvane",
          "/orvane/", "/orvanex/const/constdata.zip", "/const/constdata.zip", "/",
          "/favicon.ico"}) {
        auto res = client.Get(path);
        ASSERT_TRUE(res) << path;
        EXPECT_EQ(res->status, 404) << path;
        EXPECT_EQ(res->get_header_value("Content-Type"), "text/html; charset=utf-8") << path;
        EXPECT_NE(res->body.find("<title>404 Not Found</title>"), std::string::npos) << path;
    }
    auto head = client.Head("/orvane/missing.txt");
    ASSERT_TRUE(head);
    EXPECT_EQ(head->status, 404);

    // Requests httplib refuses itself get the same kind of page.
    std::string broken = orvane::test::rawExchange(server.port(), "BROKEN\r\n\r\n");
    EXPECT_EQ(broken.rfind("HTTP/1.1 400 Bad Request\r\n", 0), 0u) << broken;
    EXPECT_NE(broken.find("<title>400 Bad Request</title>"), std::string::npos) << broken;

    auto post = client.Post(kResultPath, "x", "text/plain");
    ASSERT_TRUE(post);
    EXPECT_EQ(post->status, 405);
    EXPECT_EQ(post->get_header_value("Allow"), "GET, HEAD");
}

TEST(DataServer, ServesNothingOutsideTheTree) {
    SampleTree sample;
    fs::create_directories(sample.tree() / "const");
    fs::create_symlink(sample.secret(), sample.tree() / "const/leak.txt");
    fs::create_directory_symlink(sample.secret().parent_path(), sample.tree() / "const/up");
    // A link that stays inside the tree is followed.
    fs::create_symlink(sample.tree() / "const/hisdata/retdata/600000.txt",
                       sample.tree() / "const/alias.txt");
    RunningServer server(sample.tree());
    auto client = server.client();

    const std::string secretName = sample.secret().filename().string();
    const std::vector<std::string> attempts = {
        "/orvane/../" + secretName,
        "/orvane/const/../../" + secretName,
        "/orvane/%2e%2e/" + secretName,
        "/orvane/%2E%2E%2F" + secretName,
        "/orvane/const%2f..%2f..%2f" + secretName,
        "/orvane/./const/constdata.zip",
        "/orvane/..%5c" + secretName,
        "/orvane/" + sample.secret().string(),
        "/orvane//" + sample.secret().string(),
        "/orvane/const/leak.txt",
        "/orvane/const/up/" + secretName,
        "/orvane/%00",
    };
    for (const std::string& path : attempts) {
        auto res = client.Get(path);
        ASSERT_TRUE(res) << path;
        EXPECT_TRUE(res->status == 400 || res->status == 404) << path << " " << res->status;
        EXPECT_EQ(res->body.find("SECRET"), std::string::npos) << path;
    }

    auto alias = client.Get("/orvane/const/alias.txt");
    ASSERT_TRUE(alias);
    EXPECT_EQ(alias->status, 200);
    EXPECT_EQ(alias->body, "STOCK_Code=600000\nSTOCK_Trend=1\n");
}

TEST(DataServer, QuoteServiceAnswersBothAddressFormsOneLineASymbol) {
    SampleTree sample;
    RunningServer server(sample.tree());
    auto client = server.client();
    const std::string quote = orvane::test::storedQuote600000();

    auto asPath = client.Get("/list=sh600000");
    ASSERT_TRUE(asPath);
    EXPECT_EQ(asPath->status, 200);
    EXPECT_EQ(asPath->body, quote);  // the GB 18030 bytes, untouched
    EXPECT_EQ(asPath->get_header_value("Content-Type"), "text/plain; charset=GB18030");

    auto asQuery = client.Get("/?list=sh600000");
    ASSERT_TRUE(asQuery);
    EXPECT_EQ(asQuery->body, quote);

    // Several symbols, unknown and malformed ones included, in order; only
    // the first line of a stored copy is the quote.
    auto several = client.Get("/list=sz000001,sh600000,sz000002,sh000001,SH600000,sh60000,x%22y");
    ASSERT_TRUE(several);
    EXPECT_EQ(several->body, "var hq_str_sz000001=\"PA,1,2\";\n" + quote +
                                 "var hq_str_sz000002=\"\";\n"
                                 "var hq_str_sh000001=\"\";\n"
                                 "var hq_str_SH600000=\"\";\n"
                                 "var hq_str_sh60000=\"\";\n"
                                 "var hq_str_x_y=\"\";\n");

    auto encodedComma = client.Get("/?list=sh600000%2Csz000001");
    ASSERT_TRUE(encodedComma);
    EXPECT_EQ(encodedComma->body, quote + "var hq_str_sz000001=\"PA,1,2\";\n");

    // The codes never become paths: a traversal in a symbol is an unknown symbol.
    auto hostile = client.Get("/list=sh../../secret");
    ASSERT_TRUE(hostile);
    EXPECT_EQ(hostile->body, "var hq_str_sh______secret=\"\";\n");
}

TEST(DataServer, ServesManyClientsAtOnce) {
    SampleTree sample;
    RunningServer server(sample.tree(), "/orvane", 8);
    constexpr int kClients = 24;
    constexpr int kRequestsEach = 40;
    std::atomic<int> good{0};
    std::vector<std::thread> clients;
    for (int c = 0; c < kClients; ++c) {
        clients.emplace_back([&, c] {
            auto client = server.client();
            for (int i = 0; i < kRequestsEach; ++i) {
                bool quote = (c + i) % 3 == 0;
                auto res = client.Get(quote ? "/list=sh600000" : kResultPath);
                if (res && res->status == 200 &&
                    res->body == (quote ? orvane::test::storedQuote600000()
                                        : "STOCK_Code=600000\nSTOCK_Trend=1\n"))
                    ++good;
            }
        });
    }
    for (auto& t : clients) t.join();
    EXPECT_EQ(good.load(), kClients * kRequestsEach);
}

TEST(DataServer, StopLetsTheRequestInFlightFinishThenRefusesConnections) {
    SampleTree sample;
    const std::string big(8 << 20, 'k');
    sample.write("const/big.zip", big);
    RunningServer server(sample.tree());
    auto client = server.client();

    std::string received;
    std::atomic<bool> stopped{false};
    std::thread stopper;
    auto res = client.Get("/orvane/const/big.zip", [&](const char* data, size_t n) {
        received.append(data, n);
        if (!stopped.exchange(true)) stopper = std::thread([&] { server.stop(); });
        return true;
    });
    stopper.join();
    ASSERT_TRUE(res);
    EXPECT_EQ(res->status, 200);
    EXPECT_EQ(received.size(), big.size());
    EXPECT_TRUE(server.stop());  // run() has returned, reporting a clean stop

    auto after = server.client().Get(kResultPath);
    EXPECT_FALSE(after);
}

TEST(DataServer, StopBeforeRunOrBindEndsRunAtOnce) {
    SampleTree sample;
    orvane::server::ServeOptions options;
    options.tree = sample.tree();
    options.port = 0;
    orvane::server::DataServer server(options);
    ASSERT_TRUE(server.bind());
    server.stop();
    auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(server.run());
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));

    // A stop that comes even before binding (a signal during start-up) holds.
    orvane::server::DataServer early(options);
    early.stop();
    ASSERT_TRUE(early.bind());
    start = std::chrono::steady_clock::now();
    EXPECT_TRUE(early.run());
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
}

TEST(DataServer, RefusesToStartWithoutATreeABaseOrAPort) {
    SampleTree sample;
    auto options = [&](fs::path tree, std::string base, int port) {
        orvane::server::ServeOptions o;
        o.tree = std::move(tree);
        o.basePath = std::move(base);
        o.port = port;
        return o;
    };
    EXPECT_FALSE(orvane::server::DataServer(options(sample.tree() / "none", "/orvane", 0)).bind());
    EXPECT_FALSE(orvane::server::DataServer(options(sample.secret(), "/orvane", 0)).bind());
    EXPECT_FALSE(orvane::server::DataServer(options(sample.tree(), "/a/../b", 0)).bind());

    RunningServer first(sample.tree());
    EXPECT_FALSE(
        orvane::server::DataServer(options(sample.tree(), "/orvane", first.port())).bind());

    orvane::server::DataServer unbound(options(sample.tree(), "/orvane", 0));
    EXPECT_FALSE(unbound.run());
}

TEST(DataServer, ServesTheTreeAtTheRootWhenTheBaseIsEmpty) {
    SampleTree sample;
    RunningServer server(sample.tree(), "/");
    auto client = server.client();
    auto file = client.Get("/const/hisdata/retdata/600000.txt");
    ASSERT_TRUE(file);
    EXPECT_EQ(file->status, 200);
    auto quote = client.Get("/list=sh600000");
    ASSERT_TRUE(quote);
    EXPECT_EQ(quote->body, orvane::test::storedQuote600000());
}
