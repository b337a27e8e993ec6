#include "HttpExchange.h"

#include <netdb.h>
#include <spdlog/spdlog.h>

#include <chrono>
#include <cstdint>
#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "RequestTarget.h"
#include "orvane/httpserver/ErrorPage.h"
#include "orvane/httpserver/RequestLog.h"

namespace orvane::server {

namespace {

using Clock = ConnectionDeadlines::Clock;

/// No request line is longer than a connection's memory.
constexpr std::uintptr_t kLongestRequestLine = 1 << 20;

/// The decoded path of a request target, NUL bytes kept (the tree lookup
/// refuses them): everything before the query, percent escapes undone.
std::string decodedPath(std::string_view target) {
    target = originForm(target);
    std::string path(target.substr(0, target.find('?')));
    path.resize(MHD_http_unescape(path.data()));
    return path;
}

std::optional<std::string> listParameter(MHD_Connection* connection) {
    const char* value = nullptr;
    std::size_t length = 0;
    if (MHD_lookup_connection_value_n(connection, MHD_GET_ARGUMENT_KIND, "list", 4, &value,
                                      &length) != MHD_YES)
        return std::nullopt;
    return value ? std::string(value, length) : std::string();
}

std::string clientAddress(MHD_Connection* connection) {
    const MHD_ConnectionInfo* info =
        MHD_get_connection_info(connection, MHD_CONNECTION_INFO_CLIENT_ADDRESS);
    char host[NI_MAXHOST] = "";
    if (info && info->client_addr) {
        const socklen_t length =
            info->client_addr->sa_family == AF_INET6 ? sizeof(sockaddr_in6) : sizeof(sockaddr_in);
        ::getnameinfo(info->client_addr, length, host, sizeof host, nullptr, 0, NI_NUMERICHOST);
    }
    return host;
}

ConnectionDeadlines::Connection& deadlineOf(MHD_Connection* connection) {
    return *static_cast<ConnectionDeadlines::Connection*>(
        MHD_get_connection_info(connection, MHD_CONNECTION_INFO_SOCKET_CONTEXT)->socket_context);
}

/// Whether the target held a NUL byte: the library hands the target over
/// as a C string, cut at the first NUL, but it parses the request line in
/// place, so the version follows the whole target's end in the same buffer.
/// `url` and `version` are the handler's; `seenLength` is the length of the
/// target as the request-line callback saw it.
bool targetWasCut(const char* url, const char* version, std::optional<std::size_t> seenLength) {
    if (!seenLength) return false;
    const auto target = reinterpret_cast<std::uintptr_t>(url);
    const auto versionStart = reinterpret_cast<std::uintptr_t>(version);
    // A version elsewhere (an HTTP/0.9 line has none) says nothing.
    if (versionStart <= target || versionStart - target > kLongestRequestLine) return false;
    return versionStart - target - 1 != *seenLength;
}

/// A request the library let through that HTTP/1.1 refuses: a target with
/// a NUL byte, or an HTTP/1.1 request without Host.
bool isBadRequest(MHD_Connection* connection, const char* url, const char* version,
                  std::optional<std::size_t> seenLength) {
    if (targetWasCut(url, version, seenLength)) return true;
    return std::string_view(version) == MHD_HTTP_VERSION_1_1 &&
           !MHD_lookup_connection_value(connection, MHD_HEADER_KIND, MHD_HTTP_HEADER_HOST);
}

void addHeader(MHD_Response* response, const char* name, const std::string& value) {
    MHD_add_response_header(response, name, value.c_str());
}

}  // namespace

/// One request on a connection, from its request line to its answer.
struct HttpExchange::Request {
    std::string target;  ///< as the client sent it (still percent-encoded)
    std::string method;
    Clock::time_point start;
    bool headIn = false;
    bool bad = false;  ///< answered 400 whatever it asks for
    /// `target` came from the request line callback (not the handler's
    /// decoded URL): its length is the raw target's up to any NUL.
    bool targetFromRequestLine = true;
    int status = 0;  ///< of the answer, once queued
    std::size_t bytes = 0;
};

void* HttpExchange::requestStarted(void*, const char* target, MHD_Connection*) {
    auto* request = new Request;
    request->target = target;
    return request;
}

MHD_Result HttpExchange::handle(void* self, MHD_Connection* connection, const char* url,
                                const char* method, const char* version, const char*,
                                std::size_t* uploadSize, void** context) {
    auto& exchange = *static_cast<HttpExchange*>(self);
    auto* request = static_cast<Request*>(*context);
    if (!request) {
        *context = request = static_cast<Request*>(requestStarted(self, url, connection));
        request->targetFromRequestLine = false;
    }
    if (!request->headIn) {
        request->headIn = true;
        request->start = Clock::now();
        request->method = method;
        exchange.deadlines_.headReceived(deadlineOf(connection));
        request->bad = isBadRequest(connection, url, version,
                                    request->targetFromRequestLine
                                        ? std::optional<std::size_t>(request->target.size())
                                        : std::nullopt);
        if (request->bad) return exchange.answer(connection, *request, method);
        // An answer queued now, before the library has looked for a body,
        // would end the connection: GET and HEAD are answered on the next
        // call. Other methods are refused at once, their body unread.
        if (request->method == MHD_HTTP_METHOD_GET || request->method == MHD_HTTP_METHOD_HEAD)
            return MHD_YES;
        return exchange.answer(connection, *request, method);
    }
    if (*uploadSize) {  // a body sent with a GET is not needed
        *uploadSize = 0;
        return MHD_YES;
    }
    return exchange.answer(connection, *request, method);
}

MHD_Result HttpExchange::answer(MHD_Connection* connection, Request& request, const char* method) {
    Reply reply;
    try {
        if (request.bad)
            reply = {400, "text/html; charset=utf-8", errorPage(400)};
        else
            reply = router_.route(method, decodedPath(request.target), listParameter(connection));
    } catch (const std::exception& e) {  // nothing may escape into the library's C code
        spdlog::error("cannot answer {}: {}", request.target, e.what());
        reply = {500, "text/html; charset=utf-8", errorPage(500)};
    }
    request.status = reply.status;
    request.bytes = reply.body.size();
    // The body goes out as it is (no content coding), owned by the response.
    auto* body = new std::string(std::move(reply.body));
    MHD_Response* response = MHD_create_response_from_buffer_with_free_callback_cls(
        body->size(), body->data(), [](void* owned) { delete static_cast<std::string*>(owned); },
        body);
    if (!response) {
        delete body;
        return MHD_NO;
    }
    if (!reply.contentType.empty())
        addHeader(response, MHD_HTTP_HEADER_CONTENT_TYPE, reply.contentType);
    if (reply.status == 405) addHeader(response, MHD_HTTP_HEADER_ALLOW, "GET, HEAD");
    // After a 405 or a bad request a body the client may have sent is not
    // read: the connection ends.
    if (reply.status == 405 || request.bad || closing_)
        addHeader(response, MHD_HTTP_HEADER_CONNECTION, "close");
    const MHD_Result queued =
        MHD_queue_response(connection, static_cast<unsigned>(reply.status), response);
    MHD_destroy_response(response);
    return queued;
}

void HttpExchange::requestEnded(void* self, MHD_Connection* connection, void** context,
                                MHD_RequestTerminationCode) {
    auto& exchange = *static_cast<HttpExchange*>(self);
    std::unique_ptr<Request> request(static_cast<Request*>(*context));
    *context = nullptr;
    if (!request || !request->headIn) return;
    exchange.deadlines_.answered(deadlineOf(connection), Clock::now());
    if (request->status == 0 || !spdlog::should_log(spdlog::level::info)) return;
    const auto elapsed =
        std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - request->start);
    spdlog::info(requestLogLine({clientAddress(connection), request->method, request->target,
                                 request->status, request->bytes, elapsed}));
}

void HttpExchange::connectionChanged(void* self, MHD_Connection* connection, void** socketContext,
                                     MHD_ConnectionNotificationCode code) {
    auto& exchange = *static_cast<HttpExchange*>(self);
    if (code == MHD_CONNECTION_NOTIFY_CLOSED) {
        exchange.deadlines_.closed(static_cast<ConnectionDeadlines::Connection*>(*socketContext));
        return;
    }
    const MHD_ConnectionInfo* info =
        MHD_get_connection_info(connection, MHD_CONNECTION_INFO_CONNECTION_FD);
    *socketContext = exchange.deadlines_.opened(info ? info->connect_fd : -1, Clock::now());
}

}  // namespace orvane::server
