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
            void* data = ::mmap(nullptr, size_, PROT_READ, MAP_PRIVATE, fd, 0);
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

void MappedFile::readAhead() const {
    // Only a hint: a kernel without it faults the pages in as they are read.
    if (data_) ::madvise(data_, size_, MADV_POPULATE_READ);
}

std::optional<std::string_view> MappedFile::bytes() const {
    if (!open_) return std::nullopt;
    return std::string_view(static_cast<const char*>(data_), data_ ? size_ : 0);
}

}  // namespace orvane::backtest
