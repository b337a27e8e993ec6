#include "orvane/market/RequestQueue.h"

#include <gtest/gtest.h>

#include "LocalHttpServer.h"
#include "orvane/core/RunLoop.h"

using namespace orvane;
using namespace std::chrono_literals;

namespace {

class RequestQueueTest : public ::testing::Test {
  protected:
    void SetUp() override {
        server.server().Get("/busy", [this](const httplib::Request&, httplib::Response& res) {
            int now = ++inFlight;
            int seen = maxInFlight.load();
            while (now > seen && !maxInFlight.compare_exchange_weak(seen, now)) {
            }
            ++hits;
            server.pause(150);
            --inFlight;
            res.set_content("busy", "text/plain");
        });
        server.server().Get("/slow", [this](const httplib::Request&, httplib::Response& res) {
            server.pause(3000);
            res.set_content("late", "text/plain");
        });
        server.start();
    }

    test::LocalHttpServer server;
    std::atomic<int> inFlight{0}, maxInFlight{0}, hits{0};
};

TEST_F(RequestQueueTest, StartsOnGoRunsFourAtOnceAndFinishesOnceAtZero) {
    ScopedRunLoop scoped;
    auto queue = RequestQueue::queue();
    int finished = 0, completions = 0;
    queue->setQueueDidFinish([&](RequestQueue& q) {
        ++finished;
        EXPECT_EQ(q.requestsCount(), 0);
    });
    for (int i = 0; i < 10; ++i) {
        auto r = HttpRequest::requestWithURL(server.url("/busy"));
        r->setCompletionBlock([&](HttpRequest& req) {
            ++completions;
            // The request counts as outstanding while its handlers run.
            EXPECT_GE(queue->requestsCount(), 1);
            EXPECT_EQ(req.responseString(), "busy");
        });
        queue->addOperation(r);
    }
    scoped.loop().runFor(200ms);
    EXPECT_EQ(hits, 0);  // created suspended
    EXPECT_EQ(queue->requestsCount(), 10);

    queue->go();
    ASSERT_TRUE(scoped.loop().runUntil([&] { return finished > 0; }, 10s));
    scoped.loop().runFor(50ms);
    EXPECT_EQ(finished, 1);
    EXPECT_EQ(completions, 10);
    EXPECT_LE(maxInFlight, 4);
    EXPECT_GE(maxInFlight, 2);
}

TEST_F(RequestQueueTest, FirstFailureCancelsTheRest) {
    ScopedRunLoop scoped;
    auto queue = RequestQueue::queue();
    queue->setMaxConcurrentOperationCount(2);
    int finished = 0, completions = 0;
    std::vector<std::string> failures;
    queue->setQueueDidFinish([&](RequestQueue&) { ++finished; });
    auto add = [&](const std::string& url) {
        auto r = HttpRequest::requestWithURL(url);
        r->setCompletionBlock([&](HttpRequest&) { ++completions; });
        r->setFailedBlock([&](HttpRequest& req) { failures.push_back(*req.error()); });
        queue->addOperation(r);
    };
    add(server.url("/slow"));  // running when the failure comes
    add("http://127.0.0.1:" + std::to_string(test::refusedPort()) + "/x");
    for (int i = 0; i < 5; ++i) add(server.url("/slow"));  // never started

    auto start = std::chrono::steady_clock::now();
    queue->go();
    ASSERT_TRUE(scoped.loop().runUntil([&] { return finished > 0; }, 10s));
    EXPECT_LT(std::chrono::steady_clock::now() - start, 2500ms);
    scoped.loop().runFor(50ms);
    EXPECT_EQ(finished, 1);
    EXPECT_EQ(completions, 0);
    ASSERT_EQ(failures.size(), 7u);
    EXPECT_EQ(std::count(failures.begin(), failures.end(), "The request was cancelled"), 6);
}

}  // namespace
