#include "orvane/httpserver/RequestLog.h"

#include <spdlog/fmt/fmt.h>

namespace orvane::server {

namespace {

constexpr std::size_t kMaxLoggedTarget = 200;

/// The client's text made safe for one log line.
std::string printable(std::string_view text) {
    std::string out;
    const bool cut = text.size() > kMaxLoggedTarget;
    for (unsigned char c : text.substr(0, kMaxLoggedTarget))
        out.push_back(c < 0x20 || c == 0x7f || c == '"' ? '?' : static_cast<char>(c));
    if (cut) out += "...";
    return out;
}

}  // namespace

std::string requestLogLine(const RequestRecord& r) {
    return fmt::format("{} \"{} {}\" {} {} B {:.2f} ms", printable(r.client), printable(r.method),
                       printable(r.target), r.status, r.bytes, r.elapsed.count() / 1000.0);
}

}  // namespace orvane::server
