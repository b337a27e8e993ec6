// The tests' main: engine log lines stay quiet unless ORVANE_TEST_LOG is set.

#include <gtest/gtest.h>
#include <spdlog/spdlog.h>

#include <cstdlib>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (!std::getenv("ORVANE_TEST_LOG")) spdlog::set_level(spdlog::level::warn);
    return RUN_ALL_TESTS();
}
