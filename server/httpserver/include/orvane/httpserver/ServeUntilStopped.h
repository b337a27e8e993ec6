#pragma once
// Serving from the command line: bind, announce, serve until SIGINT or SIGTERM.

#include "orvane/httpserver/ServeOptions.h"

namespace orvane::server {

/// The process exit status: 0 after a clean stop, 1 when serving could not
/// start. Logs "serving TREE at http://HOST:PORT/BASE" once listening.
int serveUntilStopped(const ServeOptions& options);

}  // namespace orvane::server
