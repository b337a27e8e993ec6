#pragma once
// The process-wide notification bus: a poster names a notification, passes
// itself as the object and a dictionary as the payload; observers are called
// synchronously on the poster's thread.

#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

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

    static NotificationBus& shared();

    /// Observes every notification of that name (an empty name: all of them).
    Token addObserver(std::string name, Observer observer);
    void removeObserver(Token token);
    void post(std::string name, const void* object, Dictionary userInfo = {});

  private:
    struct Entry {
        Token token;
        std::string name;
        Observer observer;
    };
    std::mutex mutex_;
    std::vector<Entry> entries_;
    Token next_ = 1;
};

/// Removes its observer when it goes out of scope.
class ScopedObserver {
  public:
    ScopedObserver(NotificationBus& bus, std::string name, NotificationBus::Observer observer)
        : bus_(bus), token_(bus.addObserver(std::move(name), std::move(observer))) {}
    ~ScopedObserver() { bus_.removeObserver(token_); }
    ScopedObserver(const ScopedObserver&) = delete;
    ScopedObserver& operator=(const ScopedObserver&) = delete;

  private:
    NotificationBus& bus_;
    NotificationBus::Token token_;
};

}  // namespace orvane
