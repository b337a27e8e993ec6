#include "ServedTree.h"

#include <gtest/gtest.h>

#include <fstream>

namespace orvane::test {

namespace fs = std::filesystem;

ServedTree::ServedTree(std::string base, server::LiveMarket live)
    : tree_(dir_.path() / "tree"), base_(base == "/" ? "" : base) {
    fs::create_directories(tree_);
    server::ServeOptions options;
    options.tree = tree_;
    options.basePath = std::move(base);
    options.port = 0;
    options.live = live;
    server_.emplace(options);
    if (std::optional<int> port = server_->bind()) {
        port_ = *port;
        runner_ = std::thread([this] { runResult_ = server_->run(); });
    } else {
        ADD_FAILURE() << "the data server did not bind";
    }
}

ServedTree::~ServedTree() {
    stop();
}

void ServedTree::write(const std::string& relative, const std::string& bytes) const {
    const fs::path file = tree_ / relative;
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << bytes;
}

std::string ServedTree::url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
}

std::string ServedTree::serverOptions() const {
    return " --server " + url(base_) + " --quote-server " + url("/");
}

httplib::Client ServedTree::client() const {
    httplib::Client c("127.0.0.1", port_);
    c.set_url_encode(false);
    c.set_connection_timeout(5);
    c.set_read_timeout(5);
    return c;
}

bool ServedTree::stop() {
    server_->stop();
    if (runner_.joinable()) runner_.join();
    return runResult_.value_or(false);
}

}  // namespace orvane::test
