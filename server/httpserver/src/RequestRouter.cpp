#include "orvane/httpserver/RequestRouter.h"

#include "orvane/httpserver/ContentType.h"
#include "orvane/httpserver/ErrorPage.h"

namespace orvane::server {

namespace {

constexpr std::string_view kQuotePathPrefix = "/list=";
constexpr std::string_view kMinutesPathPrefix = "/min=";
constexpr std::string_view kQuoteContentType = "text/plain; charset=GB18030";

Reply errorReply(int status) {
    return {status, "text/html; charset=utf-8", errorPage(status)};
}

}  // namespace

RequestRouter::RequestRouter(TreeFiles tree, std::string basePath, LiveMarket live,
                             std::uint64_t liveSeed)
    : tree_(tree), quotes_(std::move(tree), live, liveSeed), basePath_(std::move(basePath)) {}

Reply RequestRouter::route(std::string_view method, std::string_view path,
                           const std::optional<std::string>& listParam) const {
    if (method != "GET" && method != "HEAD") return errorReply(405);

    // The quote service keeps the shape of its public counterpart: the list
    // either as the whole path or as the query of the root.
    if (path.starts_with(kQuotePathPrefix)) return quotes(path.substr(kQuotePathPrefix.size()));
    if (path == "/" && listParam) return quotes(*listParam);
    if (path.starts_with(kMinutesPathPrefix))
        return minutes(path.substr(kMinutesPathPrefix.size()));

    if (!path.starts_with(basePath_)) return errorReply(404);
    std::string_view belowBase = path.substr(basePath_.size());
    if (!belowBase.starts_with('/')) return errorReply(404);  // "/orvanex", "/orvane"
    return treeFile(belowBase);
}

Reply RequestRouter::treeFile(std::string_view belowBase) const {
    TreeFileBytes found = tree_.read(belowBase);
    if (found.status == TreeLookupStatus::Refused) return errorReply(400);
    if (found.status == TreeLookupStatus::NotFound) return errorReply(404);
    std::optional<std::string>& bytes = found.bytes;
    if (!bytes) return errorReply(500);
    // The type follows the name asked for, also when a link inside the tree
    // leads to a file of another name.
    return {200, std::string(contentTypeFor(std::string(belowBase))), std::move(*bytes)};
}

Reply RequestRouter::quotes(std::string_view symbolList) const {
    return {200, std::string(kQuoteContentType), quotes_.answer(symbolList)};
}

Reply RequestRouter::minutes(std::string_view symbolList) const {
    // Stored copies that never move have no minutes: such a server answers
    // as one that does not know the address.
    if (!quotes_.isLive()) return errorReply(404);
    return {200, "text/plain; charset=utf-8", quotes_.minutesAnswer(symbolList)};
}

}  // namespace orvane::server
