#pragma once
// The workspace of the desktop: files and web addresses open in the user's
// default application (the desktop's URL handlers).

#include "orvane/core/Workspace.h"

namespace orvane::app {

class QtWorkspace final : public Workspace {
  public:
    bool openFile(const std::filesystem::path& path) override;
    bool openURL(const std::string& url) override;
};

}  // namespace orvane::app
