#include "orvane/core/UserNotificationCenter.h"

#include <gtest/gtest.h>

using namespace orvane;
using Activation = UserNotificationActivation;

namespace {
// Clicks the other button of every alert at once.
struct ClickingCenter final : UserNotificationCenter {
    void deliverNotification(const UserNotification& n) override {
        didActivateNotification(n, Activation::OtherButtonClicked);
    }
};
}  // namespace

TEST(UserNotificationCenter, ActivationReportsTheButtonWithThePayloadAndHeadlessNeverActivates) {
    std::string clicked;
    auto deliver = [&] {
        UserNotificationCenter::shared()->setActivationHandler([&](auto& n, Activation a) {
            clicked = n.userInfo.at("StockCode").string() +
                      (a == Activation::OtherButtonClicked ? " other" : " not other");
        });
        UserNotificationCenter::shared()->deliverNotification(
            {"title", "", "text", {{"StockCode", "600000"}}, "看", "关"});
    };
    deliver();
    EXPECT_EQ(clicked, "");
    UserNotificationCenter::install(std::make_shared<ClickingCenter>());
    deliver();
    EXPECT_EQ(clicked, "600000 other");
    UserNotificationCenter::install(nullptr);
    clicked.clear();
    deliver();
    EXPECT_EQ(clicked, "");
}
