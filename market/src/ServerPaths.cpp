#include "orvane/market/ServerPaths.h"

namespace orvane::serverpath {

namespace {
std::string join(std::string_view folder, std::string_view name, std::string_view ext) {
    std::string out;
    out.reserve(folder.size() + name.size() + ext.size());
    out.append(folder).append(name).append(ext);
    return out;
}
}  // namespace

std::string resultFilePath(std::string_view code) {
    return join(kResultFolder, code, ".txt");
}

std::string pastResultFilePath(std::string_view code, int daysBack) {
    return join(kResultFolder, std::string(code) + "/" + std::to_string(daysBack), ".txt");
}

std::string historyFilePath(std::string_view code) {
    return join(kHistoryFolder, code, ".txt");
}
std::string tradedHistoryFilePath(std::string_view code) {
    return join(kTradedHistoryFolder, code, ".txt");
}
std::string quoteCopyPath(std::string_view code) {
    return join(kQuoteFolder, code, ".txt");
}
std::string sortFilePath(std::string_view fileName) {
    return join(kSortFolder, fileName, "");
}

}  // namespace orvane::serverpath
