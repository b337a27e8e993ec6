#include "ServerFixture.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <fstream>

#include "orvane/publisher/Publisher.h"
#include "orvane/publisher/SyntheticMarket.h"

namespace orvane::test {

namespace fs = std::filesystem;

std::string storedQuote600000() {
    return "var hq_str_sh600000=\"\xC6\xD6\xB7\xA2\xD2\xF8\xD0\xD0,10.01,10.00,10.20,10.30,9.90,"
           "10.19,10.20,1234500,12580000.00,100,10.19,200,10.18,300,10.17,400,10.16,500,10.15,"
           "100,10.20,200,10.21,300,10.22,400,10.23,500,10.24,2025-09-03,15:00:03,00\";\n";
}

std::string allByteValues() {
    std::string bytes;
    for (int round = 0; round < 4; ++round)
        for (int b = 0; b < 256; ++b) bytes.push_back(static_cast<char>(b));
    bytes += "\r\n\r\n";
    return bytes;
}

SampleTree::SampleTree() : tree_(dir_.path() / "tree"), secret_(dir_.path() / "secret.txt") {
    fs::create_directories(tree_);
    std::ofstream(secret_, std::ios::binary) << "SECRET";
    write("const/hisdata/retdata/600000.txt", "STOCK_Code=600000\nSTOCK_Trend=1\n");
    write("const/constdata.zip", allByteValues());
    write("const/trendupmode/1001.png", "\x89PNG\r\n\x1a\n");
    write("const/trendupmode/modeini", "count=1");
    write("const/hisdata/sinadata/600000.txt", storedQuote600000());
    write("const/hisdata/sinadata/000001.txt", "var hq_str_sz000001=\"PA,1,2\";\r\nextra\n");
}

void SampleTree::write(const std::string& relative, const std::string& bytes) const {
    fs::path file = tree_ / relative;
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << bytes;
}

std::string rawExchange(int port, const std::string& request) {
    int sock = ::socket(AF_INET, SOCK_STREAM, 0);
    if (sock < 0) return {};
    timeval timeout{5, 0};
    ::setsockopt(sock, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<uint16_t>(port));
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    std::string answer;
    if (::connect(sock, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0 &&
        ::send(sock, request.data(), request.size(), 0) == static_cast<ssize_t>(request.size())) {
        char buf[4096];
        ssize_t n;
        while ((n = ::recv(sock, buf, sizeof buf, 0)) > 0)
            answer.append(buf, static_cast<size_t>(n));
    }
    ::close(sock);
    return answer;
}

std::vector<server::StockSeries> publishDemoMarket(const std::filesystem::path& tree, int count,
                                                   std::uint64_t seed, int daysBack) {
    server::PublishOptions options;
    options.daysBack = daysBack;
    options.version = LocalDateTime{2025, 12, 5, 16, 0, 0};
    auto market = server::makeSyntheticMarket(count, seed, *parseDate("2025-12-05"), 320);
    if (!server::publishMarket(market, tree, options).ok) market.clear();
    return market;
}

RunningServer::RunningServer(const fs::path& tree, std::string base, int threads)
    : server_([&] {
          server::ServeOptions o;
          o.tree = tree;
          o.basePath = std::move(base);
          o.port = 0;
          o.threads = threads;
          return o;
      }()) {
    std::optional<int> port = server_.bind();
    if (!port) {
        ADD_FAILURE() << "the server did not bind";
        return;
    }
    port_ = *port;
    ran_ = true;
    runner_ = std::thread([this] { runResult_ = server_.run(); });
}

RunningServer::~RunningServer() {
    stop();
}

httplib::Client RunningServer::client() const {
    httplib::Client c("127.0.0.1", port_);
    c.set_url_encode(false);
    c.set_connection_timeout(5);
    c.set_read_timeout(5);
    return c;
}

bool RunningServer::stop() {
    if (!ran_) return false;
    server_.stop();
    if (runner_.joinable()) runner_.join();
    return runResult_.value_or(false);
}

}  // namespace orvane::test
