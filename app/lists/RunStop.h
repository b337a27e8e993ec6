#pragma once
// The stop of a run that a widget starts on a thread of its own and that
// may outlive the widget: stop() (the stop button) or detach() (the widget
// goes away) end it, and so does the main window's stop flag, which is read
// only while the widget is there to vouch for it.

#include <atomic>
#include <mutex>

namespace orvane::app {

class RunStop {
  public:
    explicit RunStop(std::atomic<bool>* windowFlag) : windowFlag_(windowFlag) {}

    bool requested() {
        if (stopped_) return true;
        std::lock_guard lock(mutex_);
        return !detached_ && windowFlag_ && windowFlag_->load();
    }
    void stop() { stopped_ = true; }
    /// After it returns the window's flag is never read again.
    void detach() {
        std::lock_guard lock(mutex_);
        detached_ = true;
        stopped_ = true;
    }

  private:
    std::mutex mutex_;
    std::atomic<bool>* windowFlag_;
    bool detached_ = false;
    std::atomic<bool> stopped_{false};
};

}  // namespace orvane::app
