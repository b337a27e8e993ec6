#pragma once
// The user-notification seam: desktop alerts with two buttons. The desktop
// application installs a centre that shows them on the desktop; the headless
// default (command line, server, tests) logs each alert and never activates
// one.

#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "orvane/core/ReplaceableService.h"
#include "orvane/core/Value.h"

namespace orvane {

struct UserNotification {
    std::string title;
    std::string subtitle;
    std::string informativeText;
    /// Handed back with the activation.
    Dictionary userInfo;
    std::string actionButtonTitle;
    std::string otherButtonTitle;
};

/// What the user clicked on an alert.
enum class UserNotificationActivation { ContentsClicked, ActionButtonClicked, OtherButtonClicked };

class UserNotificationCenter : public ReplaceableService<UserNotificationCenter> {
  public:
    using ActivationHandler =
        std::function<void(const UserNotification&, UserNotificationActivation)>;

    virtual ~UserNotificationCenter() = default;
    virtual void deliverNotification(const UserNotification& notification) = 0;

    /// Called when the user activates an alert, on the main thread.
    void setActivationHandler(ActivationHandler handler);

    static std::shared_ptr<UserNotificationCenter> headlessDefault();

  protected:
    /// For implementations: reports the user's click to the handler.
    void didActivateNotification(const UserNotification& notification,
                                 UserNotificationActivation activation);

  private:
    std::mutex mutex_;
    ActivationHandler handler_;
};

}  // namespace orvane
