#include "RunProgram.h"

#include <array>
#include <cstdio>

namespace orvane::test {

ProgramRun runProgram(const std::string& commandLine, bool withStderr) {
    ProgramRun r;
    FILE* pipe = ::popen((commandLine + (withStderr ? " 2>&1" : " 2>/dev/null")).c_str(), "r");
    if (!pipe) return r;
    std::array<char, 4096> buf;
    while (std::size_t n = std::fread(buf.data(), 1, buf.size(), pipe)) r.out.append(buf.data(), n);
    r.status = ::pclose(pipe);
    return r;
}

}  // namespace orvane::test
