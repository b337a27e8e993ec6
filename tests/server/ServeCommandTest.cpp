// orvane-server serve as a process: it logs one line a request (none with
// -q, before or after the subcommand) and ends cleanly on SIGTERM and SIGINT.

#include <gtest/gtest.h>

#include <thread>

#include "LocalHttpServer.h"
#include "RunProgram.h"
#include "ServerSamples.h"

using namespace orvane::test;

TEST(ServeCommand, ServesLogsAndStopsCleanlyOnSigtermAndSigint) {
    SampleTree sample;
    for (auto [args, signal, logs] : {std::tuple{"serve", "TERM", true},
                                      {"serve", "INT", true},
                                      {"-q serve", "TERM", false},
                                      {"serve -q", "INT", false},
                                      {"serve --quiet", "TERM", false}}) {
        const int port = refusedPort();
        ProgramRun run;
        // The signal comes 3 s after the start; meanwhile one request.
        std::thread server([&] {
            run = runProgram("(timeout --preserve-status -s " + std::string(signal) + " 3 " +
                             ORVANE_SERVER + " " + args + " --tree " + sample.tree().string() +
                             " --port " + std::to_string(port) + " 2>&1)");
        });
        httplib::Result res{nullptr, httplib::Error::Unknown};
        for (int tries = 0; !res && tries < 120; ++tries)
            if (!(res = httplib::Client("127.0.0.1", port).Get(kSampleResultPath)))
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
        server.join();
        EXPECT_EQ(res ? res->body : "", kSampleResult) << args << "\n" << run.out;
        EXPECT_EQ(run.status, 0) << args << "\n" << run.out;
        const std::string logged =
            "127.0.0.1 \"GET /orvane/const/hisdata/retdata/600000.txt\" 200 32 B";
        EXPECT_EQ(run.out.find(logged) != std::string::npos, logs) << args << "\n" << run.out;
        EXPECT_EQ(run.out.find("stopped on SIG" + std::string(signal)) != std::string::npos, logs);
    }
}

TEST(ServeCommand, ABusyPortIsRefusedWithTheReason) {
    SampleTree sample;
    const std::string port = std::to_string(sample.port());
    const ProgramRun run = runProgram("(" + std::string(ORVANE_SERVER) + " serve --tree " +
                                      sample.tree().string() + " --port " + port + " 2>&1)");
    EXPECT_NE(run.status, 0);
    EXPECT_NE(run.out.find("cannot listen on 127.0.0.1:" + port +
                           ": the address is already in use: another server runs on port " + port +
                           "; stop it or pick another --port"),
              std::string::npos)
        << run.out;
}
