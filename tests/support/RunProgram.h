#pragma once
// Running one of the project's programs from a test, as a user would.

#include <string>

namespace orvane::test {

struct ProgramRun {
    int status = -1;  // as pclose reports it
    std::string out;  // standard output, and standard error when asked for
};

ProgramRun runProgram(const std::string& commandLine, bool withStderr = false);

}  // namespace orvane::test
