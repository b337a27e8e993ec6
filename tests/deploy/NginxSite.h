#pragma once
// A published tree on a plain static web server: Debian's nginx, run by the
// test on a free loopback port with a configuration of its own (never the
// system's), its own pid file, error log and temporary folders.

#include <filesystem>
#include <optional>
#include <string>

#include "BackgroundProgram.h"

namespace orvane::test {

/// The nginx program (/usr/sbin is not on every PATH), or nothing.
std::optional<std::filesystem::path> nginxProgram();

/// Copies a published tree to `to` as one deploys it to a static host: links
/// followed, and every folder and file opened to every user, since nginx
/// started as root reads as `nobody` (its workers' user).
bool deployTree(const std::filesystem::path& tree, const std::filesystem::path& to);

struct NginxSite {
    std::filesystem::path folder;  // the configuration, pid file, logs and temporary folders
    std::filesystem::path root;    // what is served...
    std::string base;              // ...below this path ("/orvane")
    int port = 0;                  // on 127.0.0.1
};

/// The whole configuration of `site`.
std::string nginxConfig(const NginxSite& site);

class NginxServer {
  public:
    /// Writes the configuration into site.folder and starts nginx on it.
    NginxServer(const std::filesystem::path& program, NginxSite site);
    /// Whether nginx answers on its port; errorLog() says why not.
    bool ready();
    std::string errorLog() const;
    std::string url() const;

  private:
    NginxSite site_;
    std::optional<BackgroundProgram> process_;
};

}  // namespace orvane::test
