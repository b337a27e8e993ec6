#pragma once
// The process-wide notification bus: a poster names a notification, passes
// itself as the object and a dictionary as the payload. Observers are called
// synchronously on the poster's thread, or, when they own widgets, on the
// main thread (through the main-thread dispatcher).
//
// Removal is a guarantee: once removeObserver returns, the observer is never
// called again and no call of it is still running on another thread, so its
// state may be destroyed right away. Removing an observer from inside its own
// call returns at once and takes effect for later posts. Observers may post
// and (un)register from inside a call. An observer must not wait, inside its
// call, for a thread that is removing that same observer.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "orvane/core/Value.h"

namespace orvane {

struct Notification {
    std::string name;
    const void* object = nullptr;
    Dictionary userInfo;
};

class NotificationBus {
  public:
    using Observer = std::function<void(const Notification&)>;
    using Token = std::uint64_t;

    enum class Delivery {
        PostingThread,  ///< at once, on the poster's thread
        MainThread,     ///< at once when posted on the main thread, else queued to it
    };

    NotificationBus();
    ~NotificationBus();
    NotificationBus(const NotificationBus&) = delete;
    NotificationBus& operator=(const NotificationBus&) = delete;

    static NotificationBus& shared();

    /// Observes every notification of that name (an empty name: all of them).
    Token addObserver(std::string name, Observer observer,
                      Delivery delivery = Delivery::PostingThread);
    void removeObserver(Token token);
    void post(std::string name, const void* object, Dictionary userInfo = {});

  private:
    // Shared with the calls queued for the main thread, which may outlive the bus.
    struct Registry;
    std::shared_ptr<Registry> registry_;
};

/// Removes its observer when it goes out of scope.
class ScopedObserver {
  public:
    ScopedObserver(NotificationBus& bus, std::string name, NotificationBus::Observer observer,
                   NotificationBus::Delivery delivery = NotificationBus::Delivery::PostingThread)
        : bus_(bus), token_(bus.addObserver(std::move(name), std::move(observer), delivery)) {}
    ~ScopedObserver() { bus_.removeObserver(token_); }
    ScopedObserver(const ScopedObserver&) = delete;
    ScopedObserver& operator=(const ScopedObserver&) = delete;

  private:
    NotificationBus& bus_;
    NotificationBus::Token token_;
};

}  // namespace orvane
