#pragma once
// The main-thread dispatcher of the desktop application: tasks run on the Qt
// event loop of the application's thread, in the order posted. After shutDown() (the application
// is quitting and waits for its workers) tasks are dropped and
// invokeAndWait returns at once, so a worker never waits for a main thread
// that is waiting for it.

#include <atomic>
#include <memory>

#include "orvane/core/MainThreadDispatcher.h"

class QObject;

namespace orvane::app {

class QtMainThreadDispatcher final : public MainThreadDispatcher {
  public:
    /// Tasks run in the thread of `context` (the application object).
    explicit QtMainThreadDispatcher(QObject* context);
    ~QtMainThreadDispatcher() override;

    void post(Task task) override;
    void invokeAndWait(Task task) override;
    bool isMainThread() const override;

    /// From now on tasks are dropped; waiting workers are released.
    void shutDown();

  private:
    struct State;
    class Waker;
    QObject* context_;
    std::shared_ptr<State> state_;
    std::unique_ptr<Waker> waker_;
};

}  // namespace orvane::app
