#include "orvane/core/Workspace.h"

#include "orvane/core/Log.h"

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

}  // namespace

std::shared_ptr<Workspace> Workspace::headlessDefault() {
    return std::make_shared<HeadlessWorkspace>();
}

}  // namespace orvane
