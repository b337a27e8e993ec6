#pragma once
// Reading one of the application's own files whole, within a size limit:
// only a regular file is read (a FIFO or a device put where a settings file
// belongs would block the start for ever), and never more than the limit, so
// that a huge file cannot take the program's memory.

#include <cstdint>
#include <filesystem>
#include <string>

namespace orvane::app {

struct BoundedFileRead {
    enum class Outcome {
        Read,        ///< `bytes` holds the whole file
        Missing,     ///< nothing at the path
        NotAFile,    ///< a folder, FIFO, socket or device
        TooLarge,    ///< more bytes than the limit
        Unreadable,  ///< the system refused to open or read it
    };
    Outcome outcome = Outcome::Missing;
    std::string bytes;
};

/// Follows links: a link to a regular file is read.
BoundedFileRead readBoundedFile(const std::filesystem::path& file, std::uintmax_t limit);

}  // namespace orvane::app
