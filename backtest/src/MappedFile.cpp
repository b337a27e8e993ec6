#include "MappedFile.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvane::backtest {

MappedFile::MappedFile(const std::filesystem::path& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return;
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
        size_ = static_cast<std::size_t>(st.st_size);
        if (size_ == 0) {
            open_ = true;
        } else {
            // Populated at once: the pages come from the page cache in one call
            // instead of one fault each.
            void* data = ::mmap(nullptr, size_, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0);
            if (data != MAP_FAILED) {
                data_ = data;
                open_ = true;
            }
        }
    }
    ::close(fd);
}

MappedFile::~MappedFile() {
    if (data_) ::munmap(data_, size_);
}

std::optional<std::string_view> MappedFile::bytes() const {
    if (!open_) return std::nullopt;
    return std::string_view(static_cast<const char*>(data_), data_ ? size_ : 0);
}

}  // namespace orvane::backtest
