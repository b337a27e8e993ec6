// orvane-server serve as a process: it logs one line a request (none with
// -q, before or after the subcommand) and ends cleanly on SIGTERM and SIGINT.

#include <gtest/gtest.h>

#include <regex>
#include <thread>

#include "LocalHttpServer.h"
#include "RunProgram.h"
#include "ServerSamples.h"

using namespace orvane::test;

TEST(ServeCommand, ServesLogsAndStopsCleanlyOnSigtermAndSigint) {
    SampleTree sample;
    const std::string tree = " --tree " + sample.tree().string();
    const struct {
        std::string args;
        std::string signal;
        bool logs;
    } cases[] = {
        {"serve" + tree, "TERM", true},
        {"serve" + tree, "INT", true},
        {"-q serve" + tree, "TERM", false},
        {"serve -q" + tree, "INT", false},
        {"serve" + tree + " --quiet", "TERM", false},
    };
    const std::regex requestLine(
        R"(127\.0\.0\.1 "GET /orvane/const/hisdata/retdata/600000\.txt" 200 32 B)");
    for (const auto& c : cases) {
        const std::string port = std::to_string(refusedPort());
        ProgramRun run;
        // The signal comes 3 s after the start; meanwhile one request.
        std::thread server([&] {
            run = runProgram("(timeout --preserve-status -s " + c.signal + " 3 " + ORVANE_SERVER +
                             " " + c.args + " --port " + port + " 2>&1)");
        });
        std::optional<httplib::Result> res;
        {
            httplib::Client client("127.0.0.1", std::stoi(port));
            for (int tries = 0; tries < 120 && !(res = client.Get(kSampleResultPath)).value();
                 ++tries)
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        server.join();
        ASSERT_TRUE(*res) << c.args << "\n" << run.out;
        EXPECT_EQ((*res)->body, kSampleResult);
        EXPECT_EQ(run.status, 0) << c.args << "\n" << run.out;
        EXPECT_EQ(std::regex_search(run.out, requestLine), c.logs) << c.args << "\n" << run.out;
        EXPECT_EQ(run.out.find("stopped on SIG" + c.signal) != std::string::npos, c.logs)
            << run.out;
    }
}
