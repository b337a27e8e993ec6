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
            int now = ++inFlight, seen = maxInFlight.load();
            while (now > seen && !maxInFlight.compare_exchange_weak(seen, now)) {
            }
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
    void add(const std::string& url) {
        auto r = HttpRequest::requestWithURL(url);
        r->setCompletionBlock([this](HttpRequest& req) {
            // The request counts as outstanding while its handlers run.
            completions += queue->requestsCount() >= 1 && req.responseString() == "busy";
        });
        r->setFailedBlock([this](HttpRequest& req) { failures.push_back(*req.error()); });
        queue->addOperation(r);
    }
    /// Starts the queue and waits for its end.
    void go() {
        queue->go();
        ASSERT_TRUE(scoped.loop().runUntil([&] { return finished > 0; }, 10s));
        scoped.loop().runFor(50ms);
        EXPECT_EQ(finished, 1);
    }

    test::LocalHttpServer server;
    ScopedRunLoop scoped;
    std::shared_ptr<RequestQueue> queue = RequestQueue::queue();
    std::atomic<int> inFlight{0}, maxInFlight{0};
    int finished = 0, completions = 0;
    std::vector<std::string> failures;
};

TEST_F(RequestQueueTest, StartsOnGoRunsFourAtOnceAndFinishesOnceAtZero) {
    queue->setQueueDidFinish([&](RequestQueue& q) { finished += q.requestsCount() == 0; });
    for (int i = 0; i < 10; ++i) add(server.url("/busy"));
    scoped.loop().runFor(200ms);
    EXPECT_EQ(maxInFlight, 0);  // created suspended
    EXPECT_EQ(queue->requestsCount(), 10);
    go();
    EXPECT_EQ(completions, 10);
    EXPECT_LE(maxInFlight, 4);
    EXPECT_GE(maxInFlight, 2);
}

TEST_F(RequestQueueTest, FirstFailureCancelsTheRest) {
    queue->setMaxConcurrentOperationCount(2);
    queue->setQueueDidFinish([&](RequestQueue&) { ++finished; });
    add(server.url("/slow"));  // running when the failure comes
    add("http://127.0.0.1:" + std::to_string(test::refusedPort()) + "/x");
    for (int i = 0; i < 5; ++i) add(server.url("/slow"));  // never started
    const auto start = std::chrono::steady_clock::now();
    go();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 2500ms);
    EXPECT_EQ(completions, 0);
    ASSERT_EQ(failures.size(), 7u);
    EXPECT_EQ(std::count(failures.begin(), failures.end(), "The request was cancelled"), 6);
}

}  // namespace
