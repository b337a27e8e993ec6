#include "orvane/core/StagedFileSet.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "orvane/core/AtomicFile.h"
#include "orvane/core/FileWrites.h"
#include "orvane/core/PropertyList.h"
#include "orvane/core/StagingFolder.h"
#include "orvane/core/TextSplit.h"

namespace orvane {

namespace fs = std::filesystem;

namespace {

/// Inside a staging folder: the names being promoted, one a line, and the
/// old versions kept until the promotion ends.
constexpr const char* kJournal = ".promoting";
constexpr const char* kPrevious = ".previous";

/// Writes a whole file, flushed: nothing, or what failed, named as `shownAs`.
std::optional<std::string> writeWhole(const fs::path& path, std::string_view bytes,
                                      const fs::path& shownAs) {
    forgetWriteFailure();
    NewFile file = NewFile::create(path);
    if (file.isOpen() && file.write(bytes) && file.flush() && file.close()) return std::nullopt;
    blameWriteFailureOn(shownAs);
    file.discard();
    return lastWriteFailureText(writeFailureText(shownAs, EIO));
}

/// Why a rename of the layer failed.
std::string renameFailure() {
    const auto failure = lastWriteFailure();
    return std::strerror(failure ? failure->error : errno);
}

bool entryExists(const fs::path& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

/// The staging folders of `name` in `folder`, each with its process id.
std::vector<std::pair<fs::path, long>> stagingFoldersIn(const fs::path& folder,
                                                        const std::string& name) {
    const std::string prefix = "." + name + ".staging-";
    std::vector<std::pair<fs::path, long>> out;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        const std::string file = entry.path().filename().string();
        if (!file.starts_with(prefix) || !entry.is_directory(ec)) continue;
        const std::string pid = file.substr(prefix.size());
        if (pid.empty() || pid.size() > 9 ||
            pid.find_first_not_of("0123456789") != std::string::npos)
            continue;
        out.emplace_back(entry.path(), std::stol(pid));
    }
    return out;
}

}  // namespace

StagedFileSet::StagedFileSet(fs::path folder, const std::string& name)
    : folder_(std::move(folder)), staging_(stagingFolderFor(folder_ / name, ::getpid())) {
    recoverStaleSets(folder_, name);
    removeStaleIncomingFiles(folder_);
    std::error_code ec;
    fs::remove_all(staging_, ec);
    forgetWriteFailure();
    if (!makeFolders(staging_ / kPrevious))
        fail(lastWriteFailureText("cannot create " + staging_.string()));
}

StagedFileSet::~StagedFileSet() {
    if (!done_) discard();
}

bool StagedFileSet::fail(std::string why) {
    if (!failure_) failure_ = std::move(why);
    return false;
}

void StagedFileSet::discard() {
    std::error_code ec;
    fs::remove_all(staging_, ec);
    done_ = true;
}

bool StagedFileSet::write(const std::string& fileName, std::string_view bytes) {
    if (failure_) return false;
    if (auto failure = writeWhole(staging_ / fileName, bytes, folder_ / fileName))
        return fail(std::move(*failure));
    if (std::find(names_.begin(), names_.end(), fileName) == names_.end())
        names_.push_back(fileName);
    return true;
}

bool StagedFileSet::writeList(const std::string& fileName, const Value& value) {
    if (failure_) return false;
    const std::string xml = toXmlPropertyList(value);
    if (xml.empty())
        return fail("cannot write " + (folder_ / fileName).string() +
                    ": the value is no property list");
    return write(fileName, xml);
}

bool StagedFileSet::adopt(const std::string& fileName, const fs::path& file) {
    if (failure_) return false;
    if (!renameFile(file, staging_ / fileName))
        return fail("cannot replace " + (folder_ / fileName).string() + ": " + renameFailure());
    if (std::find(names_.begin(), names_.end(), fileName) == names_.end())
        names_.push_back(fileName);
    return true;
}

std::optional<std::string> StagedFileSet::promote() {
    if (failure_ || names_.empty()) {
        discard();
        return failure_;
    }
    std::string journal;
    for (const std::string& n : names_) journal += n + "\n";
    if (auto failure = writeWhole(staging_ / kJournal, journal, staging_ / kJournal)) {
        discard();
        return failure;
    }
    // The old versions, kept to put back should a rename fail.
    std::vector<bool> hadOld;
    for (const std::string& n : names_) {
        const bool old = entryExists(folder_ / n);
        if (old && ::link((folder_ / n).c_str(), (staging_ / kPrevious / n).c_str()) != 0) {
            const std::string why =
                "cannot replace " + (folder_ / n).string() + ": " + std::strerror(errno);
            discard();
            return why;
        }
        hadOld.push_back(old);
    }
    for (std::size_t i = 0; i < names_.size(); ++i) {
        const fs::path target = folder_ / names_[i];
        if (renameFile(staging_ / names_[i], target)) continue;
        const std::string why = "cannot replace " + target.string() + ": " + renameFailure();
        for (std::size_t j = 0; j < i; ++j) {
            const fs::path placed = folder_ / names_[j];
            if (hadOld[j])
                std::rename((staging_ / kPrevious / names_[j]).c_str(), placed.c_str());
            else
                ::unlink(placed.c_str());
        }
        discard();
        return why + "; the files it was to replace with it were kept";
    }
    discard();
    return std::nullopt;
}

void StagedFileSet::recoverStaleSets(const fs::path& folder, const std::string& name) {
    for (const auto& [staging, pid] : stagingFoldersIn(folder, name)) {
        if (pid == ::getpid() || isProcessRunning(pid)) continue;
        // Killed after its journal was written: every file of the set was
        // staged, those still here are renamed in.
        if (const auto journal = readFile(staging / kJournal))
            for (const std::string_view n : splitLines(*journal))
                if (!n.empty() && n.find('/') == std::string_view::npos && entryExists(staging / n))
                    std::rename((staging / n).c_str(), (folder / n).c_str());
        std::error_code ec;
        fs::remove_all(staging, ec);
    }
}

}  // namespace orvane
