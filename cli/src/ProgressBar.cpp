#include "ProgressBar.h"

#include <unistd.h>

#include <cstdio>

namespace orvane::cli {

ProgressBar::ProgressBar(std::string label)
    : label_(std::move(label)), terminal_(::isatty(STDERR_FILENO) == 1) {}

void ProgressBar::update(std::size_t done, std::size_t total) {
    const std::size_t steps = terminal_ ? 100 : 10;
    const long step = static_cast<long>(total > 0 ? done * steps / total : steps);
    if (step == shown_) return;
    shown_ = step;
    if (!terminal_) {
        std::fprintf(stderr, "%s: %ld%% (%zu/%zu)\n", label_.c_str(), step * 10, done, total);
        return;
    }
    constexpr int kWidth = 30;
    const int filled = static_cast<int>(step * kWidth / 100);
    std::fprintf(stderr, "\r%s [%s%s] %zu/%zu", label_.c_str(), std::string(filled, '#').c_str(),
                 std::string(kWidth - filled, ' ').c_str(), done, total);
    if (done >= total) std::fputc('\n', stderr);
    std::fflush(stderr);
}

}  // namespace orvane::cli
