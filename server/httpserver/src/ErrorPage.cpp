#include "orvane/httpserver/ErrorPage.h"

#include <string>

namespace orvane::server {

std::string_view reasonPhrase(int status) {
    switch (status) {
        case 400:
            return "Bad Request";
        case 403:
            return "Forbidden";
        case 404:
            return "Not Found";
        case 405:
            return "Method Not Allowed";
        case 500:
            return "Internal Server Error";
        default:
            return "Error";
    }
}

std::string errorPage(int status) {
    const std::string title = std::to_string(status) + " " + std::string(reasonPhrase(status));
    std::string explanation = status == 404 ? "The requested file is not on this server."
                                            : "The request could not be answered.";
    return "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>" + title +
           "</title></head>\n<body><h1>" + title + "</h1><p>" + explanation +
           "</p></body></html>\n";
}

}  // namespace orvane::server
