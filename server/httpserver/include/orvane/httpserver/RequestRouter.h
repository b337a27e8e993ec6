#pragma once
// What the data server answers to a request, apart from HTTP: tree files
// below the base path, the quote service at "/list=..." and "/?list=...",
// and the day's minutes of a live market at "/min=...".

#include <optional>
#include <string>
#include <string_view>

#include "orvane/httpserver/QuoteService.h"
#include "orvane/httpserver/TreeFiles.h"

namespace orvane::server {

struct Reply {
    int status = 200;
    std::string contentType;
    std::string body;
};

class RequestRouter {
  public:
    /// `basePath` normalised (see normalizeBasePath).
    RequestRouter(TreeFiles tree, std::string basePath, LiveMarket live = LiveMarket::Off,
                  std::uint64_t liveSeed = 1);

    /// `path` is the decoded URL path, `listParam` the value of a "list"
    /// query parameter when there is one. GET and HEAD only (the HTTP layer
    /// drops the body of a HEAD answer).
    Reply route(std::string_view method, std::string_view path,
                const std::optional<std::string>& listParam) const;

  private:
    Reply treeFile(std::string_view belowBase) const;
    Reply quotes(std::string_view symbolList) const;
    Reply minutes(std::string_view symbolList) const;

    TreeFiles tree_;
    QuoteService quotes_;
    std::string basePath_;
};

}  // namespace orvane::server
