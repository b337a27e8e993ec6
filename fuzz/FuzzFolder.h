#pragma once
// A throw-away folder for a harness's files, in memory (/dev/shm) where the
// system has it: the program's atomic writes flush every file to disk, which
// would bound the harness to a few hundred runs a second.

#include <stdlib.h>

#include <filesystem>
#include <string>
#include <system_error>

namespace orvane::fuzz {

class FuzzFolder {
  public:
    FuzzFolder() {
        std::error_code ec;
        const std::filesystem::path base = std::filesystem::is_directory("/dev/shm", ec)
                                               ? std::filesystem::path("/dev/shm")
                                               : std::filesystem::temp_directory_path();
        std::string pattern = (base / "orvane-fuzz-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data());
    }
    ~FuzzFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    FuzzFolder(const FuzzFolder&) = delete;
    FuzzFolder& operator=(const FuzzFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    /// Removes everything in it.
    void empty() const {
        std::error_code ec;
        for (const auto& e : std::filesystem::directory_iterator(path_, ec))
            std::filesystem::remove_all(e.path(), ec);
    }

  private:
    std::filesystem::path path_;
};

}  // namespace orvane::fuzz
