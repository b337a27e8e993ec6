// Fetch-layer and parser throughput: synchronous GETs on loopback against a
// local server (kept-alive connection), and the quote and code-table parsers.

#include <benchmark/benchmark.h>

#include "LocalHttpServer.h"
#include "orvane/core/TextEncoding.h"
#include "orvane/market/CodeTable.h"
#include "orvane/market/HttpRequest.h"
#include "orvane/market/QuoteLine.h"

using namespace orvane;

namespace {

test::LocalHttpServer& server() {
    static test::LocalHttpServer* s = [] {
        auto* srv = new test::LocalHttpServer;
        srv->server().Get("/quote", [](const httplib::Request&, httplib::Response& res) {
            res.set_content(std::string(300, 'x'), "text/plain");
        });
        srv->start();
        return srv;
    }();
    return *s;
}

void BM_SynchronousFetchLoop(benchmark::State& state) {
    const std::string url = server().url("/quote");
    for (auto _ : state) {
        auto r = HttpRequest::requestWithURL(url);
        r->startSynchronous();
        if (r->error()) state.SkipWithError(r->error()->c_str());
        benchmark::DoNotOptimize(r->responseString());
    }
}
BENCHMARK(BM_SynchronousFetchLoop)->Unit(benchmark::kMicrosecond);

void BM_ParseSinaData(benchmark::State& state) {
    std::string line = "var hq_str_sh600000=\"浦发银行,10.10,10.00,10.50,10.60,9.90";
    for (int i = 6; i < 30; ++i) line += ",12345";
    line += ",2025-09-03,15:00:00,00\";";
    for (auto _ : state) benchmark::DoNotOptimize(parseSinaData(line, "600000"));
}
BENCHMARK(BM_ParseSinaData);

void BM_ParseCodeTable5000(benchmark::State& state) {
    std::string text;
    for (int i = 0; i < 5000; ++i) text += std::to_string(600000 + i) + "\t浦发银行\tPFYH\r\n";
    const std::string bytes = *utf8ToUtf16(text);
    for (auto _ : state) benchmark::DoNotOptimize(parseCodeTable(bytes));
}
BENCHMARK(BM_ParseCodeTable5000)->Unit(benchmark::kMillisecond);

}  // namespace
