#include "platform/QtMainThreadDispatcher.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <QObject>
#include <QSocketNotifier>
#include <QThread>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>

namespace orvane::app {

// The tasks wait in a queue of our own, under our own lock; an eventfd wakes
// the main thread's event loop, which runs them one by one in the order
// posted. No Qt object crosses threads for a task, so every hand-off is
// ordered by a lock that ThreadSanitizer sees (Debian's Qt hides its own).
struct QtMainThreadDispatcher::State {
    std::mutex mutex;
    std::condition_variable done;
    bool closed = false;
    std::deque<Task> tasks;
    int wakeFd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);

    ~State() { ::close(wakeFd); }
    void wake() const {
        const std::uint64_t one = 1;
        [[maybe_unused]] const ssize_t n = ::write(wakeFd, &one, sizeof one);
    }
    /// Runs the queued tasks; a task that runs a nested event loop lets the
    /// later tasks run there, still in order.
    void runQueued() {
        std::uint64_t count = 0;
        [[maybe_unused]] const ssize_t n = ::read(wakeFd, &count, sizeof count);
        while (true) {
            Task task;
            {
                std::lock_guard lock(mutex);
                if (closed || tasks.empty()) return;
                task = std::move(tasks.front());
                tasks.pop_front();
            }
            task();
        }
    }
};

QtMainThreadDispatcher::QtMainThreadDispatcher(QObject* context)
    : context_(context), state_(std::make_shared<State>()) {
    notifier_ = std::make_unique<QSocketNotifier>(state_->wakeFd, QSocketNotifier::Read);
    notifier_->moveToThread(context_->thread());
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, context_,
                     [state = state_] { state->runQueued(); });
}

QtMainThreadDispatcher::~QtMainThreadDispatcher() {
    shutDown();
    // The notifier belongs to the main thread: the last holder of the
    // dispatcher may be a worker.
    if (notifier_->thread() == QThread::currentThread())
        notifier_.reset();
    else
        notifier_.release()->deleteLater();
}

void QtMainThreadDispatcher::post(Task task) {
    {
        std::lock_guard lock(state_->mutex);
        if (state_->closed) return;
        state_->tasks.push_back(std::move(task));
    }
    state_->wake();
}

void QtMainThreadDispatcher::invokeAndWait(Task task) {
    if (isMainThread()) return task();
    auto finished = std::make_shared<bool>(false);
    post([state = state_, finished, task = std::move(task)] {
        task();
        std::lock_guard lock(state->mutex);
        *finished = true;
        state->done.notify_all();
    });
    std::unique_lock lock(state_->mutex);
    state_->done.wait(lock, [&] { return *finished || state_->closed; });
}

bool QtMainThreadDispatcher::isMainThread() const {
    return QThread::currentThread() == context_->thread();
}

void QtMainThreadDispatcher::shutDown() {
    std::lock_guard lock(state_->mutex);
    state_->closed = true;
    state_->done.notify_all();
}

}  // namespace orvane::app
