#pragma once
// Where the embedded data server listens unless told otherwise, and the
// data-server address the command line and the app use by default.

#include <string_view>

namespace orvane::server {

inline constexpr int kDefaultPort = 8468;
inline constexpr std::string_view kDefaultHost = "127.0.0.1";
/// The first path segment of every data-server path ("/orvane/const/...").
inline constexpr std::string_view kDefaultBasePath = "/orvane";
/// http://kDefaultHost:kDefaultPort followed by kDefaultBasePath.
inline constexpr std::string_view kDefaultServerUrl = "http://127.0.0.1:8468/orvane";

}  // namespace orvane::server
