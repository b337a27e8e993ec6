#include "platform/QtMainThreadDispatcher.h"

#include <QObject>
#include <QThread>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <utility>

namespace orvane::app {

// The tasks wait in a queue of our own, under our own lock, which
// ThreadSanitizer sees; a worker only asks the main thread's event loop to
// look at the queue (one queued call of the waker, an object of the main
// thread, however many tasks wait). No task or data of ours crosses threads
// inside Qt's event queue, whose own lock the sanitizer cannot see.
struct QtMainThreadDispatcher::State {
    std::mutex mutex;
    std::condition_variable done;
    bool closed = false;
    bool wakePending = false;
    std::deque<Task> tasks;

    /// Runs the queued tasks; a task that runs a nested event loop lets the
    /// later tasks run there, still in order.
    void runQueued() {
        while (true) {
            Task task;
            {
                std::lock_guard lock(mutex);
                wakePending = false;
                if (closed || tasks.empty()) return;
                task = std::move(tasks.front());
                tasks.pop_front();
            }
            task();
        }
    }
};

// Lives in the main thread; its queued call runs the tasks there.
class QtMainThreadDispatcher::Waker : public QObject {
  public:
    explicit Waker(std::shared_ptr<State> state) : state_(std::move(state)) {}
    void wake() { QMetaObject::invokeMethod(this, &Waker::runQueued, Qt::QueuedConnection); }

  private:
    void runQueued() { state_->runQueued(); }
    std::shared_ptr<State> state_;
};

QtMainThreadDispatcher::QtMainThreadDispatcher(QObject* context)
    : context_(context), state_(std::make_shared<State>()) {
    waker_ = std::make_unique<Waker>(state_);
    waker_->moveToThread(context_->thread());
}

QtMainThreadDispatcher::~QtMainThreadDispatcher() {
    shutDown();
    // The waker belongs to the main thread: the last holder of the
    // dispatcher may be a worker.
    if (waker_->thread() == QThread::currentThread())
        waker_.reset();
    else
        waker_.release()->deleteLater();
}

void QtMainThreadDispatcher::post(Task task) {
    {
        std::lock_guard lock(state_->mutex);
        if (state_->closed) return;
        state_->tasks.push_back(std::move(task));
        if (std::exchange(state_->wakePending, true)) return;
    }
    waker_->wake();
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
