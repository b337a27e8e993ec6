#pragma once
// The data server's side of HTTP on libmicrohttpd: a request is routed once
// its head is in, answered through the library, and logged when its answer
// has gone out; the connections' deadlines follow each step. The static
// functions are the library's callbacks, their closure the exchange.

#include <microhttpd.h>

#include <atomic>
#include <cstddef>

#include "ConnectionDeadlines.h"
#include "orvane/httpserver/RequestRouter.h"

namespace orvane::server {

class HttpExchange {
  public:
    HttpExchange(const RequestRouter& router, ConnectionDeadlines& deadlines)
        : router_(router), deadlines_(deadlines) {}

    /// From now on every answer ends its connection (the server is stopping).
    void closeConnectionsAfterAnswers() { closing_ = true; }

    /// MHD_OPTION_URI_LOG_CALLBACK: a request line has arrived.
    static void* requestStarted(void* self, const char* target, MHD_Connection* connection);
    /// The access handler: called when the head is in, for each piece of a
    /// body, and once more after the body.
    static MHD_Result handle(void* self, MHD_Connection* connection, const char* url,
                             const char* method, const char* version, const char* upload,
                             std::size_t* uploadSize, void** request);
    /// MHD_OPTION_NOTIFY_COMPLETED: the answer has gone out, or the
    /// connection ended before.
    static void requestEnded(void* self, MHD_Connection* connection, void** request,
                             MHD_RequestTerminationCode code);
    /// MHD_OPTION_NOTIFY_CONNECTION: a connection opened or closed.
    static void connectionChanged(void* self, MHD_Connection* connection, void** socketContext,
                                  MHD_ConnectionNotificationCode code);

  private:
    struct Request;
    MHD_Result answer(MHD_Connection* connection, Request& request, const char* method);

    const RequestRouter& router_;
    ConnectionDeadlines& deadlines_;
    std::atomic<bool> closing_{false};
};

}  // namespace orvane::server
