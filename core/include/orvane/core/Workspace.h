#pragma once
// The workspace seam: opening a file or a web address in the user's default
// application. The desktop application installs its toolkit's workspace; the
// headless default (command line, server, tests) opens nothing and logs the
// request. The shared one is `Workspace::shared()`.

#include <filesystem>
#include <memory>
#include <string>

#include "orvane/core/ReplaceableService.h"

namespace orvane {

class Workspace : public ReplaceableService<Workspace> {
  public:
    virtual ~Workspace() = default;
    /// True when the file was handed to an application.
    virtual bool openFile(const std::filesystem::path& path) = 0;
    virtual bool openURL(const std::string& url) = 0;

    static std::shared_ptr<Workspace> headlessDefault();
};

}  // namespace orvane
