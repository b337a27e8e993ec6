// The data server over HTTP on 127.0.0.1: files, error pages, the tree's
// boundary, the quote service, many clients, stopping.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <vector>

#include "RunProgram.h"
#include "ServerSamples.h"

namespace fs = std::filesystem;
using namespace orvane::test;

namespace {

orvane::server::ServeOptions options(fs::path tree, std::string base = "/orvane", int port = 0) {
    orvane::server::ServeOptions o;
    o.tree = std::move(tree);
    o.basePath = std::move(base);
    o.port = port;
    return o;
}

}  // namespace

TEST(DataServer, ServesTreeFilesByteForByteWithTheirTypes) {
    SampleTree sample;
    sample.write("const/other.bin", "raw");
    auto client = sample.client();
    struct Case {
        const char* path;
        std::string body;
        const char* type;
    };
    const Case cases[] = {
        {kSampleResultPath, kSampleResult, "text/plain"},
        {"/orvane/const/constdata.zip", allByteValues(), "application/zip"},
        {"/orvane/const/trendupmode/1001.png", "\x89PNG\r\n\x1a\n", "image/png"},
        {"/orvane/const/other.bin", "raw", "application/octet-stream"},
        // Percent-encoded names and doubled slashes still find the file.
        {"/orvane/const/hisdata/retdata/%36%30%30000.txt", kSampleResult, "text/plain"},
        {"/orvane//const//hisdata/retdata/600000.txt", kSampleResult, "text/plain"},
    };
    for (const Case& c : cases) {
        // No content coding, even for a client that would accept one.
        auto res = client.Get(c.path, {{"Accept-Encoding", "gzip, br"}});
        ASSERT_TRUE(res) << c.path;
        EXPECT_EQ(res->status, 200) << c.path;
        EXPECT_EQ(res->body, c.body) << c.path;
        EXPECT_EQ(res->get_header_value("Content-Type"), c.type) << c.path;
        EXPECT_EQ(res->get_header_value("Content-Length"), std::to_string(c.body.size()));
        EXPECT_FALSE(res->has_header("Content-Encoding")) << c.path;
    }
    // HEAD announces the length of the GET answer and sends no body.
    auto head = client.Head("/orvane/const/constdata.zip");
    ASSERT_TRUE(head);
    EXPECT_EQ(head->get_header_value("Content-Length"), std::to_string(allByteValues().size()));
    EXPECT_TRUE(head->body.empty());

    SampleTree atRoot("/");
    auto file = atRoot.client().Get("/const/hisdata/retdata/600000.txt");
    ASSERT_TRUE(file);
    EXPECT_EQ(file->body, kSampleResult);
}

TEST(DataServer, AnswersWhatIsNotAFileWithAnHtmlErrorPage) {
    SampleTree sample;
    auto client = sample.client();
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
    // Requests httplib refuses itself get the same kind of page (sent raw, by bash).
    const std::string broken =
        runProgram("bash -c 'exec 3<>/dev/tcp/127.0.0.1/" + std::to_string(sample.port()) +
                   "; printf \"BROKEN\\r\\n\\r\\n\" >&3; timeout 5 cat <&3'")
            .out;
    EXPECT_EQ(broken.rfind("HTTP/1.1 400 Bad Request\r\n", 0), 0u) << broken;
    EXPECT_NE(broken.find("<title>400 Bad Request</title>"), std::string::npos) << broken;

    auto post = client.Post(kSampleResultPath, "x", "text/plain");
    ASSERT_TRUE(post);
    EXPECT_EQ(post->status, 405);
    EXPECT_EQ(post->get_header_value("Allow"), "GET, HEAD");
}

TEST(DataServer, ServesNothingOutsideTheTree) {
    SampleTree sample;
    fs::create_symlink(sample.secret(), sample.tree() / "const/leak.txt");
    fs::create_directory_symlink(sample.folder(), sample.tree() / "const/up");
    // A link that stays inside the tree is followed.
    fs::create_symlink(sample.tree() / "const/hisdata/retdata/600000.txt",
                       sample.tree() / "const/alias.txt");
    auto client = sample.client();

    const std::string secret = sample.secret().filename().string();
    for (const std::string& path : std::vector<std::string>{
             "/orvane/../" + secret, "/orvane/const/../../" + secret, "/orvane/%2e%2e/" + secret,
             "/orvane/%2E%2E%2F" + secret, "/orvane/const%2f..%2f..%2f" + secret,
             "/orvane/./const/constdata.zip", "/orvane/..%5c" + secret,
             "/orvane/" + sample.secret().string(), "/orvane//" + sample.secret().string(),
             "/orvane/const/leak.txt", "/orvane/const/up/" + secret, "/orvane/%00"}) {
        auto res = client.Get(path);
        ASSERT_TRUE(res) << path;
        EXPECT_TRUE(res->status == 400 || res->status == 404) << path << " " << res->status;
        EXPECT_EQ(res->body.find("SECRET"), std::string::npos) << path;
    }
    auto alias = client.Get("/orvane/const/alias.txt");
    ASSERT_TRUE(alias);
    EXPECT_EQ(alias->body, kSampleResult);
}

TEST(DataServer, QuoteServiceAnswersBothAddressFormsOneLineASymbol) {
    SampleTree sample;
    auto client = sample.client();
    const std::string quote = storedQuote600000();
    // The GB 18030 bytes untouched, in the order asked; only the first line
    // of a stored copy is the quote.
    const std::string both = quote + "var hq_str_sz000001=\"PA,1,2\";\n";
    for (const char* target : {"/list=sh600000,sz000001", "/?list=sh600000%2Csz000001"}) {
        auto res = client.Get(target, {{"Accept-Encoding", "gzip, br"}});
        ASSERT_TRUE(res) << target;
        EXPECT_EQ(res->status, 200);
        EXPECT_EQ(res->body, both) << target;
        EXPECT_EQ(res->get_header_value("Content-Type"), "text/plain; charset=GB18030");
        EXPECT_FALSE(res->has_header("Content-Encoding"));
    }
    auto unknown = client.Get("/list=sz000002,sh000001");
    ASSERT_TRUE(unknown);
    EXPECT_EQ(unknown->body, "var hq_str_sz000002=\"\";\nvar hq_str_sh000001=\"\";\n");
}

TEST(DataServer, ServesManyClientsAtOnce) {
    SampleTree sample;
    constexpr int kClients = 24, kRequestsEach = 40;
    std::atomic<int> good{0};
    std::vector<std::thread> clients;
    for (int c = 0; c < kClients; ++c) {
        clients.emplace_back([&, c] {
            auto client = sample.client();
            for (int i = 0; i < kRequestsEach; ++i) {
                const bool quote = (c + i) % 3 == 0;
                auto res = client.Get(quote ? "/list=sh600000" : kSampleResultPath);
                good += res && res->body == (quote ? storedQuote600000() : kSampleResult);
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
    std::size_t received = 0;
    std::thread stopper;
    auto res = sample.client().Get("/orvane/const/big.zip", [&](const char*, size_t n) {
        if (received == 0) stopper = std::thread([&] { sample.stop(); });
        received += n;
        return true;
    });
    stopper.join();
    ASSERT_TRUE(res);
    EXPECT_EQ(received, big.size());
    EXPECT_TRUE(sample.stop());  // run() has returned, reporting a clean stop
    EXPECT_FALSE(sample.client().Get(kSampleResultPath));
}

TEST(DataServer, StopBeforeRunOrBindEndsRunAtOnce) {
    SampleTree sample;
    for (bool beforeBind : {false, true}) {
        orvane::server::DataServer server(options(sample.tree()));
        if (beforeBind) server.stop();  // a signal during start-up
        ASSERT_TRUE(server.bind());
        if (!beforeBind) server.stop();
        const auto start = std::chrono::steady_clock::now();
        EXPECT_TRUE(server.run());
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    }
}

TEST(DataServer, RefusesToStartWithoutATreeABaseOrAPort) {
    SampleTree sample;
    using orvane::server::DataServer;
    EXPECT_FALSE(DataServer(options(sample.tree() / "none")).bind());
    EXPECT_FALSE(DataServer(options(sample.secret())).bind());
    EXPECT_FALSE(DataServer(options(sample.tree(), "/a/../b")).bind());
    EXPECT_FALSE(DataServer(options(sample.tree(), "/orvane", sample.port())).bind());
    EXPECT_FALSE(DataServer(options(sample.tree())).run());  // never bound
}
