#pragma once
// A whole file mapped into memory for reading, for the files read once and
// whole that are too large to copy cheaply (the verdict store).

#include <filesystem>
#include <optional>
#include <string_view>

namespace orvane::backtest {

class MappedFile {
  public:
    explicit MappedFile(const std::filesystem::path& path);
    ~MappedFile();
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    /// The file's bytes; nothing when it cannot be opened or mapped.
    std::optional<std::string_view> bytes() const;
    /// Brings every page in at once (from the page cache in one call instead
    /// of a fault each), before a pass over the whole file.
    void readAhead() const;

  private:
    void* data_ = nullptr;
    std::size_t size_ = 0;
    bool open_ = false;
};

}  // namespace orvane::backtest
