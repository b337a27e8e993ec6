#pragma once
// The start-up check of the data server. When it does not answer, the user
// is told which address was tried and why, and chooses the way on: try
// again, open the server settings, start the embedded demo market, or quit.
// The program ends only when the user chooses to.

#include <functional>
#include <optional>
#include <string>

namespace orvane::app {

enum class UnreachableChoice { TryAgain, ServerSettings, DemoMarket, Quit };

struct UnreachableAlert {
    std::string title;
    std::string message;
};

/// The alert for `server`, which failed with `problem`.
UnreachableAlert unreachableServerAlert(const std::string& server, const std::string& problem);

/// The four ways on, in the order the alert offers them.
inline constexpr const char* kUnreachableChoiceTitles[] = {"再试", "数据服务器…", "启动演示市场",
                                                           "退出"};

struct DataServerCheck {
    /// The data server's problem, or nothing when it answers.
    std::function<std::optional<std::string>()> problem;
    /// The address in use (it changes with the settings and the demo).
    std::function<std::string()> server;
    std::function<UnreachableChoice(const UnreachableAlert&)> ask;
    std::function<void()> openSettings;
    /// Starts the embedded demo market and makes it the data server; false
    /// when it could not be started.
    std::function<bool()> startDemo;
};

/// True once the data server answers; false when the user chose to quit.
bool ensureDataServer(const DataServerCheck& check);

}  // namespace orvane::app
