#include "orvane/core/UserNotificationCenter.h"

#include "orvane/core/Log.h"

namespace orvane {

namespace {

class HeadlessUserNotificationCenter final : public UserNotificationCenter {
  public:
    void deliverNotification(const UserNotification& notification) override {
        ORVANE_LOG("%s %s %s", notification.title.c_str(), notification.subtitle.c_str(),
                   notification.informativeText.c_str());
    }
};

}  // namespace

void UserNotificationCenter::setActivationHandler(ActivationHandler handler) {
    std::lock_guard lock(mutex_);
    handler_ = std::move(handler);
}

void UserNotificationCenter::didActivateNotification(const UserNotification& notification,
                                                     UserNotificationActivation activation) {
    ActivationHandler handler;
    {
        std::lock_guard lock(mutex_);
        handler = handler_;
    }
    if (handler) handler(notification, activation);
}

std::shared_ptr<UserNotificationCenter> UserNotificationCenter::headlessDefault() {
    return std::make_shared<HeadlessUserNotificationCenter>();
}

}  // namespace orvane
