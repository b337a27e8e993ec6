#include "platform/QtMainThreadDispatcher.h"

#include <QMetaObject>
#include <QObject>
#include <QThread>
#include <condition_variable>
#include <mutex>

namespace orvane::app {

struct QtMainThreadDispatcher::State {
    std::mutex mutex;
    std::condition_variable done;
    bool closed = false;
};

QtMainThreadDispatcher::QtMainThreadDispatcher(QObject* context)
    : context_(context), state_(std::make_shared<State>()) {}

QtMainThreadDispatcher::~QtMainThreadDispatcher() {
    shutDown();
}

void QtMainThreadDispatcher::post(Task task) {
    {
        std::lock_guard lock(state_->mutex);
        if (state_->closed) return;
    }
    QMetaObject::invokeMethod(
        context_,
        [state = state_, task = std::move(task)] {
            {
                std::lock_guard lock(state->mutex);
                if (state->closed) return;
            }
            task();
        },
        Qt::QueuedConnection);
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
