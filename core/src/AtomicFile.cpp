#include "orvane/core/AtomicFile.h"

#include <fcntl.h>
#include <unistd.h>

#include "orvane/core/FileWrites.h"

namespace orvane {

std::optional<std::string> readFile(const std::filesystem::path& path) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    std::string out;
    char buffer[1 << 16];
    while (true) {
        ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            ::close(fd);
            return std::nullopt;
        }
        if (n == 0) break;
        out.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return out;
}

bool writeFileAtomically(const std::filesystem::path& path, std::string_view bytes) {
    NewFile file = NewFile::temporaryBeside(path);
    if (file.isOpen() && file.write(bytes) && file.flush() && file.renameTo(path)) return true;
    blameWriteFailureOn(path);
    file.discard();
    return false;
}

std::filesystem::path incomingPathFor(const std::filesystem::path& target) {
    std::filesystem::path p = target;
    p += ".incoming";
    return p;
}

}  // namespace orvane
