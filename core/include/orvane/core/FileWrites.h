#pragma once
// The one layer through which the program writes files: every file made, its
// bytes written, flushed and renamed into place passes here, so that one seam
// (WriteFaults.h) can make any of these operations fail as a full or failing
// disk would. An operation is a create (a file or folders), a write (a file's
// bytes, however many calls they take: a download's chunks are one write), a
// flush (fsync) or a rename. A failed operation is remembered per thread with
// its file and its cause, for the message that reports it.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace orvane {

enum class WriteStep { Create, Write, Flush, Rename };

/// What failed: the step, the file it concerned and the system's error.
struct WriteFailure {
    WriteStep step = WriteStep::Write;
    std::filesystem::path file;
    int error = 0;
};

/// "cannot write FILE: No space left on device".
std::string describe(const WriteFailure& failure);

/// This thread's last failed operation, if any since `forgetWriteFailure`.
std::optional<WriteFailure> lastWriteFailure();
void forgetWriteFailure();
/// The last failure described, or `otherwise` when there is none.
std::string lastWriteFailureText(std::string_view otherwise);
/// Makes the last failure name `file` (a temporary file's target) instead.
void blameWriteFailureOn(const std::filesystem::path& file);

/// A file opened for writing through the layer; closed (and, when it is a
/// temporary file that was not kept, removed) when it goes.
class NewFile {
  public:
    /// Creates `path`, or truncates the file there (never through a symbolic
    /// link); only a file it made is removed by `discard`.
    static NewFile create(const std::filesystem::path& path);
    /// As `create`, making the missing folders above `path` too (one
    /// operation to the fault plan, whichever thread makes a folder first).
    static NewFile createMakingFolders(const std::filesystem::path& path);
    /// A new uniquely named ".NAME.XXXXXX" beside `target`, mode 0644.
    static NewFile temporaryBeside(const std::filesystem::path& target);

    NewFile(NewFile&& other) noexcept;
    NewFile& operator=(NewFile&&) = delete;
    NewFile(const NewFile&) = delete;
    ~NewFile();

    bool isOpen() const { return fd_ >= 0; }
    const std::filesystem::path& path() const { return path_; }
    /// Appends `bytes`; the file's first call is its write operation.
    bool write(std::string_view bytes);
    bool flush();
    /// Closes; false when the close reports an error of the writes.
    bool close();
    /// Closes and removes the file, when this object made it.
    void discard();
    /// Renames the closed temporary file over `target`.
    bool renameTo(const std::filesystem::path& target);

  private:
    NewFile(int fd, std::filesystem::path path, bool temporary);
    /// The open of `create`, not counted.
    static NewFile open(const std::filesystem::path& path);
    int fd_ = -1;
    std::filesystem::path path_;
    bool temporary_ = false;
    bool created_ = false;  // made by this object: `discard` may remove it
    bool written_ = false;
};

/// Creates `path` with `bytes`, without a flush: for files of a staging
/// folder, which is swapped in whole. Missing folders above it are made as
/// part of the file's create (so that the count of operations does not hang
/// on which of several threads writing into one folder comes first).
bool writeNewFile(const std::filesystem::path& path, std::string_view bytes);

/// Renames `from` over `to`.
bool renameFile(const std::filesystem::path& from, const std::filesystem::path& to);
/// Exchanges `a` and `b` in one step (both must exist); errno EINVAL or
/// ENOSYS when the file system cannot.
bool exchangeFiles(const std::filesystem::path& a, const std::filesystem::path& b);
/// Makes `folder` and the folders above it (nothing to do is no failure).
bool makeFolders(const std::filesystem::path& folder);
/// A new uniquely named folder "PREFIXxxxxxx" in `parent`, or empty.
std::filesystem::path makeUniqueFolder(const std::filesystem::path& parent,
                                       const std::string& prefix);

}  // namespace orvane
