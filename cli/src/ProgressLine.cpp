#include "ProgressLine.h"

#include <unistd.h>

#include <cstdio>

namespace orvane::cli {

namespace {
constexpr int kBarWidth = 24;
}

ProgressLine::ProgressLine(std::string what)
    : what_(std::move(what)), terminal_(::isatty(STDERR_FILENO) == 1) {}

ProgressLine::~ProgressLine() {
    finish();
}

void ProgressLine::update(std::uint64_t done, std::uint64_t total, std::string_view detail) {
    const int percent =
        total ? static_cast<int>(std::min<std::uint64_t>(done, total) * 100 / total) : -1;
    std::string figures =
        total ? std::to_string(done) + "/" + std::to_string(total) : std::to_string(done);
    if (!detail.empty()) figures += " " + std::string(detail);
    if (terminal_) {
        std::string bar;
        if (percent >= 0) {
            const int filled = percent * kBarWidth / 100;
            bar = "[" + std::string(static_cast<std::size_t>(filled), '#') +
                  std::string(static_cast<std::size_t>(kBarWidth - filled), '.') + "] " +
                  std::to_string(percent) + "% ";
        }
        // \x1b[K clears what a longer earlier line left on the right.
        std::fprintf(stderr, "\r%s %s%s\x1b[K", what_.c_str(), bar.c_str(), figures.c_str());
        std::fflush(stderr);
        open_ = true;
        return;
    }
    const int step = percent >= 0 ? percent / 10 : lastStep_ + 1;
    if (step == lastStep_ || (percent < 0 && done % 100 != 0)) return;
    lastStep_ = step;
    if (percent >= 0)
        std::fprintf(stderr, "%s: %d%% (%s)\n", what_.c_str(), percent, figures.c_str());
    else
        std::fprintf(stderr, "%s: %s\n", what_.c_str(), figures.c_str());
}

void ProgressLine::finish() {
    if (!open_) return;
    std::fputc('\n', stderr);
    std::fflush(stderr);
    open_ = false;
}

std::string byteCount(std::uint64_t bytes) {
    char text[32];
    if (bytes >= 1000 * 1000)
        std::snprintf(text, sizeof text, "%.1f MB", static_cast<double>(bytes) / 1e6);
    else if (bytes >= 1000)
        std::snprintf(text, sizeof text, "%llu KB", static_cast<unsigned long long>(bytes / 1000));
    else
        std::snprintf(text, sizeof text, "%llu B", static_cast<unsigned long long>(bytes));
    return text;
}

}  // namespace orvane::cli
