#include "orvane/market/HttpRequest.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <thread>

#include "LocalHttpServer.h"
#include "TempDataDir.h"
#include "orvane/core/AtomicFile.h"
#include "orvane/core/RunLoop.h"

using namespace orvane;
using namespace std::chrono_literals;

namespace {

class HttpRequestTest : public ::testing::Test {
  protected:
    void SetUp() override {
        auto& s = server.server();
        s.Get("/text", [](const httplib::Request&, httplib::Response& res) {
            // 浦发银行 in GB 18030, declared as UTF-8 on purpose.
            res.set_content("\xC6\xD6\xB7\xA2\xD2\xF8\xD0\xD0,10.5", "text/plain; charset=utf-8");
        });
        s.Get("/slow", [this](const httplib::Request&, httplib::Response& res) {
            server.pause(3000);
            res.set_content("late", "text/plain");
        });
        s.Get("/truncated", [](const httplib::Request&, httplib::Response& res) {
            res.set_content_provider(100, "text/plain",
                                     [](size_t offset, size_t, httplib::DataSink& sink) {
                                         if (offset > 0) return false;  // drop the connection
                                         sink.write("0123456789", 10);
                                         return true;
                                     });
        });
        s.Get("/port", [this](const httplib::Request& req, httplib::Response& res) {
            std::lock_guard lock(mutex);
            ports.insert(req.remote_port);
            res.set_content("ok", "text/plain");
        });
        server.start();
    }

    std::shared_ptr<HttpRequest> get(const std::string& path) {
        return HttpRequest::requestWithURL(server.url(path));
    }

    test::LocalHttpServer server;
    std::mutex mutex;
    std::set<int> ports;
};

TEST_F(HttpRequestTest, BodyIsDecodedAsGb18030AndAnErrorStatusIsStillATransfer) {
    auto ok = get("/text");
    ok->startSynchronous();
    EXPECT_FALSE(ok->error());
    EXPECT_EQ(ok->responseStatusCode(), 200);
    EXPECT_EQ(ok->responseString(), "浦发银行,10.5");  // whatever the server declares

    auto missing = get("/nothing-here.txt");
    missing->startSynchronous();
    EXPECT_FALSE(missing->error());
    EXPECT_EQ(missing->responseStatusCode(), 404);
    EXPECT_NE(missing->responseString()->find("404 Not Found"), std::string::npos);
}

TEST_F(HttpRequestTest, TransportFailuresSetTheErrorAndCallTheFailureHandler) {
    auto refused = HttpRequest::requestWithURL(
        "http://127.0.0.1:" + std::to_string(test::refusedPort()) + "/x");
    int failures = 0, completions = 0;
    refused->setFailedBlock([&](HttpRequest&) { ++failures; });
    refused->setCompletionBlock([&](HttpRequest&) { ++completions; });
    refused->startSynchronous();
    ASSERT_TRUE(refused->error());
    EXPECT_FALSE(refused->responseString());
    EXPECT_EQ(failures, 1);
    EXPECT_EQ(completions, 0);

    auto truncated = get("/truncated");
    truncated->startSynchronous();
    EXPECT_TRUE(truncated->error());
    EXPECT_FALSE(truncated->responseString());

    auto large = get("/text");
    large->setMaxBodyBytes(4);
    large->startSynchronous();
    EXPECT_EQ(large->error(), "The response is too large");

    auto other = HttpRequest::requestWithURL("file:///etc/passwd");
    other->startSynchronous();
    EXPECT_TRUE(other->error());
}

TEST_F(HttpRequestTest, SilenceLongerThanTheTimeOutFailsTheRequest) {
    auto slow = get("/slow");
    slow->setTimeOutSeconds(1);
    auto start = std::chrono::steady_clock::now();
    slow->startSynchronous();
    auto took = std::chrono::steady_clock::now() - start;
    ASSERT_TRUE(slow->error());
    EXPECT_NE(slow->error()->find("timed out"), std::string::npos) << *slow->error();
    EXPECT_LT(took, 2500ms);
}

TEST_F(HttpRequestTest, DownloadReplacesTheFileOnlyWhenTheBodyArrivedWhole) {
    test::TempDataDir dir;
    auto target = dir.path() / "quote.txt";
    ASSERT_TRUE(writeFileAtomically(target, "old"));

    auto broken = get("/truncated");
    broken->setDownloadDestinationPath(target);
    broken->startSynchronous();
    EXPECT_TRUE(broken->error());
    EXPECT_EQ(readFile(target), "old");

    auto page = get("/missing");  // an error page is stored like any body
    page->setDownloadDestinationPath(target);
    page->startSynchronous();
    EXPECT_FALSE(page->error());
    EXPECT_NE(readFile(target)->find("404"), std::string::npos);
    EXPECT_FALSE(page->responseString());

    auto ok = get("/text");
    ok->setDownloadDestinationPath(target);
    ok->startSynchronous();
    EXPECT_EQ(readFile(target), "\xC6\xD6\xB7\xA2\xD2\xF8\xD0\xD0,10.5");  // the bytes as sent
    // No temporary files are left beside it.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST_F(HttpRequestTest, AsynchronousHandlersRunOnTheMainThreadInOrder) {
    ScopedRunLoop scoped;
    std::vector<std::string> calls;
    std::atomic<bool> onMain{true};
    auto ok = get("/text");
    ok->setDidFinishHandler([&](HttpRequest&) {
        onMain = onMain && MainThreadDispatcher::shared()->isMainThread();
        calls.push_back("finish");
    });
    ok->setCompletionBlock([&](HttpRequest& r) {
        onMain = onMain && MainThreadDispatcher::shared()->isMainThread();
        calls.push_back("completion:" + r.responseString().value_or(""));
    });
    std::thread starter([&] { ok->startAsynchronous(); });
    starter.join();
    ASSERT_TRUE(scoped.loop().runUntil([&] { return calls.size() == 2; }, 5s));
    EXPECT_EQ(calls, (std::vector<std::string>{"finish", "completion:浦发银行,10.5"}));
    EXPECT_TRUE(onMain);
}

TEST_F(HttpRequestTest, SynchronousFetchesFromSeveralThreadsReuseConnections) {
    constexpr int kThreads = 4, kEach = 50;
    std::atomic<int> good{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([&] {
            for (int i = 0; i < kEach; ++i) {
                auto r = get("/port");
                r->startSynchronous();
                if (!r->error() && r->responseString() == "ok") ++good;
            }
        });
    for (auto& t : threads) t.join();
    EXPECT_EQ(good, kThreads * kEach);
    // One kept-alive connection per thread, not one per request.
    EXPECT_LE(ports.size(), static_cast<std::size_t>(kThreads));
}

}  // namespace
