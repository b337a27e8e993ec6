#include "application/DataServerCheck.h"

#include "orvane/core/NumberText.h"

namespace orvane::app {

UnreachableAlert unreachableServerAlert(const std::string& server, const std::string& problem) {
    return {"链接不上服务器,请确定您的电脑已经连接互联网!",
            format("       Orvane 必须在有互联网的环境下才能使用 , "
                   "没有网络的环境下应用程序即将退出！或者稍后再试\n\n"
                   "数据服务器 %s 没有应答：%s\n"
                   "可以再试，在“数据服务器…”中改正地址，或者启动本机的演示市场。",
                   server.c_str(), problem.c_str())};
}

bool ensureDataServer(const DataServerCheck& check) {
    while (const auto problem = check.problem()) {
        switch (check.ask(unreachableServerAlert(check.server(), *problem))) {
            case UnreachableChoice::TryAgain:
                break;
            case UnreachableChoice::ServerSettings:
                check.openSettings();
                break;
            case UnreachableChoice::DemoMarket:
                check.startDemo();
                break;
            case UnreachableChoice::Quit:
                return false;
        }
    }
    return true;
}

}  // namespace orvane::app
