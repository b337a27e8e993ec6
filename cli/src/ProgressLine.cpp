#include "ProgressLine.h"

#include <unistd.h>

#include <cstdio>

namespace orvane::cli {

namespace {

constexpr int kBarWidth = 24;

/// "1.2 MB", "350 KB", "87 B".
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

}  // namespace

ProgressLine::ProgressLine(std::string what, Units units)
    : what_(std::move(what)), units_(units), terminal_(::isatty(STDERR_FILENO) == 1) {}

ProgressLine::~ProgressLine() {
    finish();
}

void ProgressLine::update(std::uint64_t done, std::uint64_t total, std::string_view detail) {
    const int percent =
        total ? static_cast<int>(std::min<std::uint64_t>(done, total) * 100 / total) : -1;
    auto figure = [this](std::uint64_t n) {
        return units_ == Units::Bytes ? byteCount(n) : std::to_string(n);
    };
    std::string figures = total ? figure(done) + " of " + figure(total) : figure(done);
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
    // A log gets a line at every tenth of the way, none while the whole is
    // unknown.
    if (percent < 0 || percent / 10 == lastStep_) return;
    lastStep_ = percent / 10;
    std::fprintf(stderr, "%s: %d%% (%s)\n", what_.c_str(), percent, figures.c_str());
}

void ProgressLine::finish() {
    if (!open_) return;
    std::fputc('\n', stderr);
    std::fflush(stderr);
    open_ = false;
}

}  // namespace orvane::cli
