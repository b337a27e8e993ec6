#include "orvane/market/HttpRequest.h"

#include <gtest/gtest.h>

#include <thread>

#include "LocalHttpServer.h"
#include "TempDataDir.h"
#include "orvane/core/AtomicFile.h"
#include "orvane/core/RunLoop.h"

using namespace orvane;
using namespace std::chrono_literals;

namespace {

const char* kGbText = "\xC6\xD6\xB7\xA2\xD2\xF8\xD0\xD0,10.5";  // 浦发银行,10.5 in GB 18030

class HttpRequestTest : public ::testing::Test {
  protected:
    void SetUp() override {
        auto& s = server.server();
        s.Get("/text", [](const httplib::Request&, httplib::Response& res) {
            res.set_content(kGbText, "text/plain; charset=utf-8");  // declared wrongly on purpose
        });
        s.Get("/slow", [this](const httplib::Request&, httplib::Response& res) {
            server.pause(3000);
            res.set_content("late", "text/plain");
        });
        s.Get("/truncated", [](const httplib::Request&, httplib::Response& res) {
            res.set_content_provider(
                100, "text/plain", [](size_t offset, size_t, httplib::DataSink& s) {
                    return offset == 0 && s.write("0123456789", 10);  // then drop the connection
                });
        });
        // One byte every half second: never silent for a whole time-out.
        s.Get("/trickle", [](const httplib::Request&, httplib::Response& res) {
            res.set_content_provider(200, "text/plain", [](size_t, size_t, httplib::DataSink& s) {
                std::this_thread::sleep_for(500ms);
                return s.write("x", 1);
            });
        });
        server.start();
    }

    std::shared_ptr<HttpRequest> get(const std::string& path) {
        return HttpRequest::requestWithURL(server.url(path));
    }

    test::LocalHttpServer server;
};

TEST_F(HttpRequestTest, SynchronousTransfersAndTheirFailures) {
    // {url, body limit, time-out, error part (nullptr: none), status, body part (nullptr: none)}
    const struct {
        std::string url;
        std::uint64_t maxBytes;
        double timeOut;
        const char* error;
        long status;
        const char* body;
    } cases[] = {
        {server.url("/text"), 0, 0, nullptr, 200, "浦发银行,10.5"},  // whatever is declared
        {server.url("/nothing"), 0, 0, nullptr, 404, "404 Not Found"},
        {"http://127.0.0.1:" + std::to_string(test::refusedPort()) + "/x", 0, 0, "", 0, nullptr},
        {server.url("/truncated"), 0, 0, "", 200, nullptr},
        {server.url("/text"), 4, 0, "The response is too large", 200, nullptr},
        {"file:///etc/passwd", 0, 0, "", 0, nullptr},
        {server.url("/slow"), 0, 1, "timed out", 0, nullptr},
    };
    for (const auto& c : cases) {
        auto r = HttpRequest::requestWithURL(c.url);
        if (c.maxBytes) r->setMaxBodyBytes(c.maxBytes);
        if (c.timeOut) r->setTimeOutSeconds(c.timeOut);
        int failures = 0, completions = 0;
        r->setFailedBlock([&](HttpRequest&) { ++failures; });
        r->setCompletionBlock([&](HttpRequest&) { ++completions; });
        const auto start = std::chrono::steady_clock::now();
        r->startSynchronous();
        EXPECT_LT(std::chrono::steady_clock::now() - start, 2500ms) << c.url;
        EXPECT_EQ(r->error().has_value(), c.error != nullptr) << c.url;
        EXPECT_NE(r->error().value_or("").find(c.error ? c.error : ""), std::string::npos);
        EXPECT_EQ(failures, c.error ? 1 : 0) << c.url;
        EXPECT_EQ(completions, c.error ? 0 : 1) << c.url;
        EXPECT_TRUE(c.error || r->responseStatusCode() == c.status) << c.url;
        EXPECT_EQ(r->responseString().has_value(), c.body != nullptr) << c.url;
        EXPECT_NE(r->responseString().value_or("").find(c.body ? c.body : ""), std::string::npos);
    }
}

TEST_F(HttpRequestTest, DownloadReplacesTheFileOnlyWhenTheBodyArrivedWhole) {
    test::TempDataDir dir;
    auto target = dir.path() / "quote.txt";
    ASSERT_TRUE(writeFileAtomically(target, "old"));
    // An error page is stored like any body; the text keeps the bytes as sent.
    for (const auto& [path, stored] : {std::pair{"/truncated", "old"}, {"/missing", "404"}}) {
        auto r = get(path);
        r->setDownloadDestinationPath(target);
        r->startSynchronous();
        EXPECT_FALSE(r->responseString()) << path;
        EXPECT_NE(readFile(target)->find(stored), std::string::npos) << path;
    }
    auto r = get("/text");
    r->setDownloadDestinationPath(target);
    r->startSynchronous();
    EXPECT_EQ(readFile(target), kGbText);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST_F(HttpRequestTest, AsynchronousHandlersRunOnTheMainThreadInOrder) {
    ScopedRunLoop scoped;
    std::vector<std::string> calls;
    auto ok = get("/text");
    ok->setDidFinishHandler([&](HttpRequest&) {
        calls.push_back(MainThreadDispatcher::shared()->isMainThread() ? "finish" : "off main");
    });
    ok->setCompletionBlock([&](HttpRequest& r) {
        calls.push_back(MainThreadDispatcher::shared()->isMainThread() ? *r.responseString()
                                                                       : "off main");
    });
    std::thread([&] { ok->startAsynchronous(); }).join();
    ASSERT_TRUE(scoped.loop().runUntil([&] { return calls.size() == 2; }, 5s));
    EXPECT_EQ(calls, (std::vector<std::string>{"finish", "浦发银行,10.5"}));
}

}  // namespace

TEST_F(HttpRequestTest, ATricklingServerIsGivenUpOnWithinAFewTimeOuts) {
    test::TempDataDir dir;
    for (const bool toFile : {false, true}) {
        auto r = get("/trickle");
        r->setTimeOutSeconds(1);
        if (toFile) r->setDownloadDestinationPath(dir.path() / "list.txt");
        std::atomic<std::uint64_t> received{0};
        r->setProgressHandler([&](std::uint64_t bytes, std::uint64_t) { received = bytes; });
        const auto start = std::chrono::steady_clock::now();
        r->startSynchronous();
        EXPECT_LT(std::chrono::steady_clock::now() - start, 10s) << toFile;
        EXPECT_NE(r->error().value_or("").find("timed out"), std::string::npos) << toFile;
        EXPECT_GT(received.load(), 0u);
    }
}
