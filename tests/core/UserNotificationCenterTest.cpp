#include "orvane/core/UserNotificationCenter.h"

#include <gtest/gtest.h>

using namespace orvane;
using Activation = UserNotificationActivation;

namespace {
// Clicks the other button of every alert at once.
class ClickingCenter final : public UserNotificationCenter {
  public:
    void deliverNotification(const UserNotification& n) override {
        didActivateNotification(n, Activation::OtherButtonClicked);
    }
};
}  // namespace

TEST(UserNotificationCenter, ActivationReportsTheButtonWithThePayloadAndHeadlessNeverActivates) {
    const UserNotification alert{"title", "", "text", {{"StockCode", "600000"}}, "看", "关"};
    std::string clicked;
    auto handler = [&](const UserNotification& n, Activation a) {
        clicked = n.userInfo.at("StockCode").string() +
                  (a == Activation::OtherButtonClicked ? " other" : " not other");
    };
    UserNotificationCenter::shared()->setActivationHandler(handler);
    UserNotificationCenter::shared()->deliverNotification(alert);
    EXPECT_EQ(clicked, "");

    UserNotificationCenter::install(std::make_shared<ClickingCenter>());
    UserNotificationCenter::shared()->setActivationHandler(handler);
    UserNotificationCenter::shared()->deliverNotification(alert);
    EXPECT_EQ(clicked, "600000 other");
    UserNotificationCenter::install(nullptr);
    EXPECT_EQ(dynamic_cast<ClickingCenter*>(UserNotificationCenter::shared().get()), nullptr);
}
