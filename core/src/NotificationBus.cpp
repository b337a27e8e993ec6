#include "orvane/core/NotificationBus.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <vector>

#include "orvane/core/MainThreadDispatcher.h"

namespace orvane {

namespace {

struct Entry {
    NotificationBus::Token token;
    std::string name;
    NotificationBus::Observer observer;
    NotificationBus::Delivery delivery;
    // Guarded by the registry's mutex.
    bool removed = false;
    int runningCalls = 0;
};

// The observers whose calls are running on this thread, innermost last.
thread_local std::vector<const Entry*> tCallsInProgress;

bool insideCallOf(const Entry* entry) {
    return std::find(tCallsInProgress.begin(), tCallsInProgress.end(), entry) !=
           tCallsInProgress.end();
}

}  // namespace

struct NotificationBus::Registry {
    std::mutex mutex;
    std::condition_variable callFinished;
    std::vector<std::shared_ptr<Entry>> entries;
    Token next = 1;

    /// Calls the observer unless it was removed meanwhile; counts the call
    /// as running so that a removal on another thread waits for it.
    void deliver(const std::shared_ptr<Entry>& entry, const Notification& note) {
        {
            std::lock_guard lock(mutex);
            if (entry->removed) return;
            ++entry->runningCalls;
        }
        struct Running {
            Registry& registry;
            Entry& entry;
            ~Running() {
                tCallsInProgress.pop_back();
                {
                    std::lock_guard lock(registry.mutex);
                    --entry.runningCalls;
                }
                registry.callFinished.notify_all();
            }
        };
        tCallsInProgress.push_back(entry.get());
        const Running running{*this, *entry};
        entry->observer(note);
    }
};

NotificationBus::NotificationBus() : registry_(std::make_shared<Registry>()) {}
NotificationBus::~NotificationBus() = default;

NotificationBus& NotificationBus::shared() {
    static NotificationBus bus;
    return bus;
}

NotificationBus::Token NotificationBus::addObserver(std::string name, Observer observer,
                                                    Delivery delivery) {
    std::lock_guard lock(registry_->mutex);
    const Token token = registry_->next++;
    registry_->entries.push_back(
        std::make_shared<Entry>(Entry{token, std::move(name), std::move(observer), delivery}));
    return token;
}

void NotificationBus::removeObserver(Token token) {
    Registry& r = *registry_;
    std::unique_lock lock(r.mutex);
    const auto it = std::find_if(r.entries.begin(), r.entries.end(),
                                 [token](const auto& e) { return e->token == token; });
    if (it == r.entries.end()) return;
    const std::shared_ptr<Entry> entry = *it;
    r.entries.erase(it);
    entry->removed = true;
    // Inside its own call the observer cannot wait for itself.
    if (insideCallOf(entry.get())) return;
    r.callFinished.wait(lock, [&] { return entry->runningCalls == 0; });
}

void NotificationBus::post(std::string name, const void* object, Dictionary userInfo) {
    const Notification note{std::move(name), object, std::move(userInfo)};
    std::vector<std::shared_ptr<Entry>> targets;
    {
        std::lock_guard lock(registry_->mutex);
        for (const auto& e : registry_->entries)
            if (e->name.empty() || e->name == note.name) targets.push_back(e);
    }
    // Observers run outside the lock so they may post or (un)register in turn.
    std::shared_ptr<MainThreadDispatcher> mainThread;
    for (const auto& entry : targets) {
        if (entry->delivery == Delivery::MainThread) {
            if (!mainThread) mainThread = MainThreadDispatcher::shared();
            if (!mainThread->isMainThread()) {
                mainThread->post(
                    [registry = registry_, entry, note] { registry->deliver(entry, note); });
                continue;
            }
        }
        registry_->deliver(entry, note);
    }
}

}  // namespace orvane
