// The data server over HTTP on 127.0.0.1: files, error pages, the tree's
// boundary, the quote service, stopping, and clients that pipeline, trickle
// or say nothing.

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>
#include <vector>

#include "RunProgram.h"
#include "ServerSamples.h"

namespace fs = std::filesystem;
using namespace orvane::test;
using namespace orvane::server;
using namespace std::chrono_literals;

namespace {

/// A connection to 127.0.0.1 for what an HTTP client will not do: send half
/// a request, several at once, or nothing at all.
class RawConnection {
  public:
    explicit RawConnection(int port) : fd_(::socket(AF_INET, SOCK_STREAM, 0)) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<std::uint16_t>(port));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        EXPECT_EQ(::connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    }
    ~RawConnection() { ::close(fd_); }

    void send(const std::string& bytes) { ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL); }
    /// What arrives until the server closes the connection or `wait` has passed.
    std::string receiveUntilClosed(std::chrono::milliseconds wait, bool* closed = nullptr,
                                   std::string_view enough = {}) {
        std::string received;
        const auto end = std::chrono::steady_clock::now() + wait;
        while (true) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                end - std::chrono::steady_clock::now());
            pollfd p{fd_, POLLIN, 0};
            if (left.count() <= 0 || ::poll(&p, 1, static_cast<int>(left.count())) <= 0) break;
            char buffer[4096];
            const ssize_t n = ::recv(fd_, buffer, sizeof buffer, 0);
            if (n <= 0) {
                if (closed) *closed = true;
                break;
            }
            received.append(buffer, static_cast<std::size_t>(n));
            if (!enough.empty() && received.find(enough) != std::string::npos) break;
        }
        return received;
    }

  private:
    int fd_;
};

std::string get(const std::string& path, const std::string& headers = "") {
    return "GET " + path + " HTTP/1.1\r\nHost: 127.0.0.1\r\n" + headers + "\r\n";
}

}  // namespace

TEST(DataServer, ServesTreeFilesByteForByteWithTheirTypesAndAnythingElseAnHtmlErrorPage) {
    SampleTree sample;
    sample.write("const/other.bin", "raw");
    auto client = sample.client();
    for (auto [path, body, type] : {
             std::tuple{kSampleResultPath, std::string(kSampleResult), "text/plain"},
             {"/orvane/const/constdata.zip", allByteValues(), "application/zip"},
             {"/orvane/const/trendupmode/1001.png", "\x89PNG\r\n\x1a\n", "image/png"},
             {"/orvane/const/other.bin", "raw", "application/octet-stream"},
             // Percent-encoded names and doubled slashes still find the file.
             {"/orvane/const/hisdata/retdata/%36%30%30000.txt", kSampleResult, "text/plain"},
             {"/orvane//const//hisdata/retdata/600000.txt", kSampleResult, "text/plain"},
         }) {
        // No content coding, even for a client that would accept one.
        auto res = client.Get(path, {{"Accept-Encoding", "gzip, br"}});
        ASSERT_TRUE(res) << path;
        EXPECT_EQ(res->body, body) << path;
        EXPECT_EQ(res->get_header_value("Content-Type"), type) << path;
        EXPECT_FALSE(res->has_header("Content-Encoding")) << path;
    }
    // HEAD announces the length of the GET answer and sends no body.
    auto head = client.Head("/orvane/const/constdata.zip");
    ASSERT_TRUE(head && head->body.empty());
    EXPECT_EQ(head->get_header_value("Content-Length"), std::to_string(allByteValues().size()));

    auto atRoot = SampleTree("/").client().Get("/const/hisdata/retdata/600000.txt");
    EXPECT_EQ(atRoot ? atRoot->body : "", kSampleResult);

    // A link that stays inside the tree is followed; links leading out of it
    // are the tree lookup's test.
    fs::create_symlink(sample.tree() / (kSampleResultPath + 8), sample.tree() / "const/alias.txt");
    auto alias = client.Get("/orvane/const/alias.txt");
    EXPECT_EQ(alias ? alias->body : "", kSampleResult);

    const std::string secret = sample.secret().filename().string();
    for (const std::string& path : std::vector<std::string>{
             "/orvane/const/hisdata/retdata/999999.txt", "/orvane/const", "/orvane",
             "/orvanex/const/constdata.zip", "/const/constdata.zip", "/", "/orvane/../" + secret,
             "/orvane/const/../../" + secret, "/orvane/%2e%2e/" + secret,
             "/orvane/%2E%2E%2F" + secret, "/orvane/const%2f..%2f..%2f" + secret,
             "/orvane/./const/constdata.zip", "/orvane/..%5c" + secret,
             "/orvane/" + sample.secret().string(), "/orvane//" + sample.secret().string(),
             "/orvane/%00"}) {
        auto res = client.Get(path);
        ASSERT_TRUE(res) << path;
        EXPECT_TRUE(res->status == 400 || res->status == 404) << path << " " << res->status;
        EXPECT_EQ(res->get_header_value("Content-Type"), "text/html; charset=utf-8") << path;
        EXPECT_NE(res->body.find("<title>" + std::to_string(res->status)), std::string::npos);
    }
    // A request line the HTTP library refuses itself (sent raw, by bash) is
    // a bad request, and the connection ends.
    const std::string broken =
        runProgram("bash -c 'exec 3<>/dev/tcp/127.0.0.1/" + std::to_string(sample.port()) +
                   "; printf \"GET /orvane\\r\\n\\r\\n\" >&3; timeout 5 cat <&3'")
            .out;
    EXPECT_EQ(broken.rfind("HTTP/1.1 400 Bad Request\r\n", 0), 0u) << broken;

    auto post = client.Post(kSampleResultPath, "x", "text/plain");
    ASSERT_TRUE(post);
    EXPECT_EQ(post->status, 405);
    EXPECT_EQ(post->get_header_value("Allow"), "GET, HEAD");
}

TEST(DataServer, QuoteServiceAnswersBothAddressFormsOneLineASymbol) {
    SampleTree sample;
    sample.write("const/hisdata/sinadata/000002.txt", "");
    sample.write("const/hisdata/sinadata/000004.txt", "var hq_str_sz000004=\"X,1\";");
    auto client = sample.client();
    // The GB 18030 bytes untouched, in the order asked; only the first line
    // of a stored copy is the quote.
    auto res = client.Get("/list=sh600000,sz000001", {{"Accept-Encoding", "gzip, br"}});
    ASSERT_TRUE(res);
    EXPECT_EQ(res->body, std::string(kStoredQuote600000) + "var hq_str_sz000001=\"PA,1,2\";\n");
    EXPECT_EQ(res->get_header_value("Content-Type"), "text/plain; charset=GB18030");
    EXPECT_FALSE(res->has_header("Content-Encoding"));
    // Unknown stocks, an empty stored copy and malformed symbols get an empty
    // quote, echoed safely and shortened; a copy without a newline gets one.
    auto other = client.Get("/?list=sh000001,sz000002,,sz000004,sh..%2F..%2Fs,a%22b%3Cc" +
                            std::string(40, 'z'));
    EXPECT_EQ(other ? other->body : "",
              "var hq_str_sh000001=\"\";\nvar hq_str_sz000002=\"\";\nvar hq_str_sz000004=\"X,1\";\n"
              "var hq_str_sh______s=\"\";\nvar hq_str_a_b_c" +
                  std::string(27, 'z') + "=\"\";\n");

    std::string many = "/list=";
    for (int i = 0; i < 1005; ++i) many += "a,";
    auto capped = client.Get(many);
    EXPECT_EQ(capped ? std::count(capped->body.begin(), capped->body.end(), '\n') : 0, 1000);
}

TEST(DataServer, StopBeforeRunEndsAtOnceStopInFlightLetsTheRequestFinishBadOptionsRefuse) {
    SampleTree sample;
    auto options = [](fs::path tree, std::string base = "/orvane", int port = 0) {
        return ServeOptions{.tree = std::move(tree), .basePath = std::move(base), .port = port};
    };
    for (bool beforeBind : {false, true}) {
        DataServer server(options(sample.tree()));
        if (beforeBind) server.stop();  // a signal during start-up
        ASSERT_TRUE(server.bind());
        if (!beforeBind) server.stop();
        const auto start = std::chrono::steady_clock::now();
        EXPECT_TRUE(server.run());
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    }
    EXPECT_FALSE(DataServer(options(sample.tree() / "none")).bind());
    EXPECT_FALSE(DataServer(options(sample.secret())).bind());
    EXPECT_FALSE(DataServer(options(sample.tree(), "/a/../b")).bind());
    EXPECT_FALSE(DataServer(options(sample.tree(), "/orvane", sample.port())).bind());
    EXPECT_FALSE(DataServer(options(sample.tree())).run());  // never bound

    const std::string big(8 << 20, 'k');
    sample.write("const/big.zip", big);
    std::size_t received = 0;
    std::thread stopper;
    auto res = sample.client().Get("/orvane/const/big.zip", [&](const char*, size_t n) {
        if (received == 0) stopper = std::thread([&] { sample.stop(); });
        received += n;
        return true;
    });
    stopper.join();
    EXPECT_EQ(received, big.size());
    EXPECT_TRUE(sample.stop());  // run() has returned, reporting a clean stop
    EXPECT_FALSE(sample.client().Get(kSampleResultPath));
}

TEST(DataServer, PipelinedRequestsAreAllAnsweredInOrder) {
    SampleTree sample;
    RawConnection connection(sample.port());
    connection.send(get(kSampleResultPath) + get("/orvane/none.txt") +
                    get("/list=sh600000", "Connection: close\r\n"));
    const std::string answers = connection.receiveUntilClosed(5s);
    const std::size_t file = answers.find(kSampleResult);
    const std::size_t missing = answers.find("404 Not Found");
    const std::size_t quote = answers.find(kStoredQuote600000);
    EXPECT_LT(file, missing) << answers;
    EXPECT_LT(missing, quote) << answers;
    EXPECT_NE(quote, std::string::npos) << answers;
}

TEST(DataServer, RequestLinesAndHostHeadersAreTakenAsHttpOneOneSaysOrRefused) {
    SampleTree sample;
    const auto statusLineOf = [&](const std::string& request) {
        RawConnection connection(sample.port());
        connection.send(request);
        const std::string answer = connection.receiveUntilClosed(5s, nullptr, "\r\n");
        return answer.substr(0, answer.find("\r\n"));
    };
    const std::string path = kSampleResultPath;
    // HTTP/1.1 asks every request for its Host; HTTP/1.0 did not.
    EXPECT_EQ(statusLineOf("GET " + path + " HTTP/1.1\r\n\r\n"), "HTTP/1.1 400 Bad Request");
    EXPECT_EQ(statusLineOf("GET " + path + " HTTP/1.0\r\n\r\n"), "HTTP/1.1 200 OK");
    // The absolute form a proxy would send is served as its path.
    for (const std::string& target :
         {"http://127.0.0.1:1" + path, "HTTP://example.org" + path, "https://a" + path})
        EXPECT_EQ(statusLineOf(get(target)), "HTTP/1.1 200 OK") << target;
    EXPECT_EQ(statusLineOf(get("http://127.0.0.1/list=sh600000")), "HTTP/1.1 200 OK");
    EXPECT_EQ(statusLineOf(get("http://127.0.0.1")), "HTTP/1.1 404 Not Found");
    // A NUL byte in the target is a bad request, not the target before it.
    for (const std::string& tail : {std::string("\0", 1), std::string("\0.png", 5)})
        EXPECT_EQ(statusLineOf(get(path + tail)), "HTTP/1.1 400 Bad Request") << tail.size();
    EXPECT_EQ(statusLineOf(get(path + "?a=" + std::string("\0", 1))), "HTTP/1.1 400 Bad Request");
    // Spaces before the version still leave the target as it was.
    EXPECT_EQ(statusLineOf("GET " + path + "  HTTP/1.1\r\nHost: a\r\n\r\n"),
              "HTTP/1.1 404 Not Found");
}

// Several polling threads answering several keep-alive clients at once: files,
// missing files and quotes each get their own answer, whichever thread takes
// the connection (scripts/tsan runs this under ThreadSanitizer).
TEST(DataServer, ConcurrentClientsEachGetTheirOwnAnswers) {
    SampleTree sample;
    ServeOptions options{.tree = sample.tree(), .port = 0, .threads = 4};
    options.live = LiveMarket::Always;
    DataServer server(options);
    const int port = server.bind().value_or(0);
    std::thread runner([&] { server.run(); });

    std::atomic<int> wrong{0}, answered{0};
    std::vector<std::thread> clients;
    for (int c = 0; c < 6; ++c)
        clients.emplace_back([&, c] {
            httplib::Client client("127.0.0.1", port);
            client.set_keep_alive(true);
            client.set_read_timeout(10);
            for (int i = 0; i < 20; ++i) {
                const int kind = (c + i) % 3;
                const std::string path = kind == 0 ? std::string(kSampleResultPath)
                                         : kind == 1
                                             ? "/orvane/const/none" + std::to_string(i) + ".txt"
                                             : "/list=sh600000,sz000001";
                auto res = client.Get(path);
                wrong += !res || (kind == 0 && res->body != kSampleResult) ||
                         (kind == 1 && res->status != 404) ||
                         (kind == 2 && res->body.find("hq_str_sz000001=") == std::string::npos);
                ++answered;
            }
        });
    for (auto& t : clients) t.join();
    server.stop();
    runner.join();
    EXPECT_EQ(answered.load(), 6 * 20);
    EXPECT_EQ(wrong.load(), 0);
}

TEST(DataServer, TricklingAndSilentClientsBlockNoOneAndAreDisconnectedAtTheirDeadline) {
    SampleTree sample;
    ServeOptions options{.tree = sample.tree(), .port = 0, .headDeadline = 1s};
    DataServer server(options);
    const int port = server.bind().value_or(0);
    std::thread runner([&] { server.run(); });

    // More of each than a server with a worker per connection would have
    // workers: heads that never end, a header line a second, and silence.
    std::vector<std::unique_ptr<RawConnection>> trickling, silent;
    for (int i = 0; i < 40; ++i) {
        trickling.push_back(std::make_unique<RawConnection>(port));
        trickling.back()->send("GET " + std::string(kSampleResultPath) + " HTTP/1.1\r\n");
        silent.push_back(std::make_unique<RawConnection>(port));
    }
    std::atomic<bool> done{false};
    std::thread trickle([&] {
        for (int line = 0; !done; ++line) {
            for (auto& c : trickling) c->send("X-Line: " + std::to_string(line) + "\r\n");
            for (int wait = 0; wait < 20 && !done; ++wait) std::this_thread::sleep_for(50ms);
        }
    });

    httplib::Client client("127.0.0.1", port);
    client.set_read_timeout(5);
    auto res = client.Get(kSampleResultPath);
    EXPECT_EQ(res ? res->body : "", kSampleResult);
    for (auto* group : {&trickling, &silent}) {
        for (auto& c : *group) {
            bool closed = false;
            c->receiveUntilClosed(5s, &closed);
            EXPECT_TRUE(closed);
        }
    }
    done = true;
    trickle.join();
    server.stop();
    runner.join();
}
