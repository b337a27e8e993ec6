#include "orvane/core/Workspace.h"

#include "orvane/core/Log.h"
#include "orvane/core/ServiceSlot.h"

namespace orvane {

namespace {

class HeadlessWorkspace final : public Workspace {
  public:
    bool openFile(const std::filesystem::path& path) override {
        ORVANE_LOG("open %s", path.c_str());
        return false;
    }
    bool openURL(const std::string& url) override {
        ORVANE_LOG("open %s", url.c_str());
        return false;
    }
};

ServiceSlot<Workspace>& slot() {
    static ServiceSlot<Workspace> s(std::make_shared<HeadlessWorkspace>());
    return s;
}

}  // namespace

std::shared_ptr<Workspace> sharedWorkspace() {
    return slot().get();
}

void setSharedWorkspace(std::shared_ptr<Workspace> workspace) {
    slot().install(std::move(workspace));
}

}  // namespace orvane
