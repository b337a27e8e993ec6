#include "orvane/core/NotificationBus.h"

#include <gtest/gtest.h>

using namespace orvane;

TEST(NotificationBus, DeliversByNameWithObjectAndPayload) {
    NotificationBus bus;
    int seen = 0;
    const void* object = nullptr;
    auto token = bus.addObserver("A", [&](const Notification& n) {
        ++seen;
        object = n.object;
        EXPECT_EQ(n.userInfo.at("k").string(), "v");
    });
    int sender = 0;
    bus.post("A", &sender, {{"k", "v"}});
    bus.post("B", &sender, {{"k", "v"}});
    EXPECT_EQ(seen, 1);
    EXPECT_EQ(object, &sender);
    bus.removeObserver(token);
    bus.post("A", &sender, {{"k", "v"}});
    EXPECT_EQ(seen, 1);
}

TEST(NotificationBus, ObserverMayUnregisterWhileBeingCalled) {
    NotificationBus bus;
    NotificationBus::Token token = 0;
    int seen = 0;
    token = bus.addObserver("", [&](const Notification&) {
        ++seen;
        bus.removeObserver(token);
    });
    bus.post("X", nullptr);
    bus.post("Y", nullptr);
    EXPECT_EQ(seen, 1);
}
