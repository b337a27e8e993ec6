#include "orvane/core/NotificationBus.h"

#include <algorithm>

namespace orvane {

NotificationBus& NotificationBus::shared() {
    static NotificationBus bus;
    return bus;
}

NotificationBus::Token NotificationBus::addObserver(std::string name, Observer observer) {
    std::lock_guard lock(mutex_);
    Token token = next_++;
    entries_.push_back({token, std::move(name), std::move(observer)});
    return token;
}

void NotificationBus::removeObserver(Token token) {
    std::lock_guard lock(mutex_);
    std::erase_if(entries_, [token](const Entry& e) { return e.token == token; });
}

void NotificationBus::post(std::string name, const void* object, Dictionary userInfo) {
    Notification note{std::move(name), object, std::move(userInfo)};
    // Observers run outside the lock so they may post or (un)register in turn.
    std::vector<Observer> targets;
    {
        std::lock_guard lock(mutex_);
        for (const Entry& e : entries_)
            if (e.name.empty() || e.name == note.name) targets.push_back(e.observer);
    }
    for (const Observer& o : targets) o(note);
}

}  // namespace orvane
