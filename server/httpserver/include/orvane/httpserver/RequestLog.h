#pragma once
// The one log line of a request: client, method, target, status, bytes, time.

#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>

namespace orvane::server {

struct RequestRecord {
    std::string_view client;
    std::string_view method;
    std::string_view target;  ///< as the client sent it (still percent-encoded)
    int status = 0;
    std::size_t bytes = 0;  ///< body length (for HEAD: the length announced)
    std::chrono::microseconds elapsed{0};
};

/// `127.0.0.1 "GET /orvane/const/x.txt" 200 1234 B 0.21 ms`; control bytes
/// and quotes in the client's text become '?', and a long target is cut
/// with "...".
std::string requestLogLine(const RequestRecord& record);

}  // namespace orvane::server
