#pragma once
// The embedded demo market, started on the user's request when no data
// server answers: `orvane-server demo` from beside the application, on the
// default address's port, stopped again when the application quits.

#include <QObject>
#include <QProcess>
#include <string>

namespace orvane::app {

class EmbeddedDemoServer : public QObject {
    Q_OBJECT
  public:
    explicit EmbeddedDemoServer(QObject* parent = nullptr);
    ~EmbeddedDemoServer() override;

    /// Starts the demo server and waits (serving the event loop) until it
    /// answers, at most `waitSeconds`; then its addresses are the program's
    /// servers. False, with `error()` set, when it does not start or answer.
    bool start(int waitSeconds = 60);
    void stop();
    const std::string& error() const { return error_; }

  private:
    QProcess process_;
    std::string error_;
};

}  // namespace orvane::app
