#pragma once
// The program's free-text log lines (printf-style, the program's own texts).

#include <spdlog/spdlog.h>

#include "orvane/core/NumberText.h"

namespace orvane {

/// True when informational lines are written; guard costly formatting with it.
inline bool logEnabled() {
    return spdlog::should_log(spdlog::level::info);
}

#define ORVANE_LOG(...)                                                                \
    do {                                                                               \
        if (::orvane::logEnabled()) spdlog::info("{}", ::orvane::format(__VA_ARGS__)); \
    } while (0)

}  // namespace orvane
