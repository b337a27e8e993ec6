#include "NginxSite.h"

#include <unistd.h>

#include <cstdlib>
#include <sstream>

#include "orvane/core/AtomicFile.h"

namespace orvane::test {

namespace fs = std::filesystem;

std::optional<fs::path> nginxProgram() {
    std::string path = std::getenv("PATH") ? std::getenv("PATH") : "";
    path += ":/usr/sbin:/usr/local/sbin";
    std::istringstream folders(path);
    for (std::string folder; std::getline(folders, folder, ':');) {
        std::error_code ec;
        const fs::path candidate = fs::path(folder) / "nginx";
        if (!folder.empty() && fs::is_regular_file(candidate, ec) &&
            ::access(candidate.c_str(), X_OK) == 0)
            return candidate;
    }
    return std::nullopt;
}

namespace {

constexpr auto kOpenFolder = fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                             fs::perms::others_read | fs::perms::others_exec;
constexpr auto kOpenFile =
    fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read | fs::perms::others_read;

}  // namespace

bool deployTree(const fs::path& tree, const fs::path& to) {
    std::error_code ec;
    fs::create_directories(to.parent_path(), ec);
    fs::copy(tree, to, fs::copy_options::recursive, ec);
    if (ec) return false;
    fs::permissions(to, kOpenFolder, ec);
    for (auto it = fs::recursive_directory_iterator(to, ec); !ec && it != fs::end(it);
         it.increment(ec))
        fs::permissions(it->path(), it->is_directory() ? kOpenFolder : kOpenFile, ec);
    return !ec;
}

std::string nginxConfig(const NginxSite& site) {
    const auto quoted = [](const fs::path& p) { return "\"" + p.string() + "\""; };
    const fs::path temp = site.folder / "temp";
    std::ostringstream conf;
    conf << "# For one test run: everything nginx writes stays in " << site.folder.string() << ".\n"
         << "daemon off;\n"
         << "worker_processes 1;\n"
         << "pid " << quoted(site.folder / "nginx.pid") << ";\n"
         << "error_log " << quoted(site.folder / "error.log") << " warn;\n"
         << "events { worker_connections 64; }\n"
         << "http {\n"
         << "    access_log off;\n"
         << "    client_body_temp_path " << quoted(temp / "client_body") << ";\n"
         << "    proxy_temp_path " << quoted(temp / "proxy") << ";\n"
         << "    fastcgi_temp_path " << quoted(temp / "fastcgi") << ";\n"
         << "    uwsgi_temp_path " << quoted(temp / "uwsgi") << ";\n"
         << "    scgi_temp_path " << quoted(temp / "scgi") << ";\n"
         << "    types { text/plain txt; application/zip zip; image/png png; }\n"
         << "    default_type application/octet-stream;\n"
         << "    server {\n"
         << "        listen 127.0.0.1:" << site.port << ";\n"
         << "        location " << site.base << "/ { alias " << quoted(site.root / "") << "; }\n"
         << "    }\n"
         << "}\n";
    return conf.str();
}

NginxServer::NginxServer(const fs::path& program, NginxSite site) : site_(std::move(site)) {
    std::error_code ec;
    fs::create_directories(site_.folder / "temp", ec);
    // Started as root, nginx makes its temporary folders for its workers' user.
    fs::permissions(site_.folder, kOpenFolder, ec);
    fs::permissions(site_.folder / "temp", kOpenFolder, ec);
    const fs::path config = site_.folder / "nginx.conf";
    if (ec || !writeFileAtomically(config, nginxConfig(site_))) return;
    // -e: the error log from the start, before the configuration names it
    // (nginx would open the system's otherwise).
    process_.emplace(std::vector<std::string>{program.string(), "-p", site_.folder.string(), "-c",
                                              config.string(), "-e",
                                              (site_.folder / "error.log").string()});
}

bool NginxServer::ready() {
    return process_ && waitUntilListening(site_.port, *process_);
}

std::string NginxServer::errorLog() const {
    return readFile(site_.folder / "error.log").value_or("(no error log)");
}

std::string NginxServer::url() const {
    return "http://127.0.0.1:" + std::to_string(site_.port) + site_.base;
}

}  // namespace orvane::test
