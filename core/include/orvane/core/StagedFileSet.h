#pragma once
// Files of one folder that replace their old versions together or not at
// all (the day's lists of the Gains folder, a report's files). Each new file
// is written under its final name into the staging folder
// ".NAME.staging-PID" inside the folder; promote() then renames them all
// into place. A rename that fails puts the earlier files' old versions back
// (kept as hard links until the end). A journal written before the first
// rename lets the next run finish the set of a run killed half-way: its
// files were all written, so the set is completed, never mixed with the old.
//
// A set is made and promoted under the data folder's lock (DataFolderLock.h):
// two runs never promote at once.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "orvane/core/Value.h"

namespace orvane {

class StagedFileSet {
  public:
    /// A set for files directly in `folder`, staged in ".NAME.staging-PID".
    /// First finishes or removes what killed runs left there: their sets
    /// and their downloads (AtomicFile.h's incoming names).
    StagedFileSet(std::filesystem::path folder, const std::string& name);
    /// A set never promoted is discarded: the old files stay.
    ~StagedFileSet();
    StagedFileSet(const StagedFileSet&) = delete;
    StagedFileSet& operator=(const StagedFileSet&) = delete;

    const std::filesystem::path& folder() const { return folder_; }
    /// Stages `bytes` as the new `fileName`; false, the failure kept, when
    /// it cannot be written.
    bool write(const std::string& fileName, std::string_view bytes);
    /// The same for a property list.
    bool writeList(const std::string& fileName, const Value& value);
    /// Stages a finished file of the same file system (a download) as the
    /// new `fileName`, moving it; false, the failure kept, when it cannot.
    bool adopt(const std::string& fileName, const std::filesystem::path& file);
    /// The first failure (the staging folder not made, a file not
    /// written), or nothing.
    const std::optional<std::string>& failure() const { return failure_; }
    /// The files staged so far, in staging order.
    const std::vector<std::string>& files() const { return names_; }

    /// Every staged file takes its place, or none does. Nothing, or why
    /// not (the first failure of the staging, or the rename that failed,
    /// named with its cause). The staging folder is gone afterwards.
    std::optional<std::string> promote();

    /// Completes the sets that runs killed during their promotion left in
    /// `folder`, and removes the other sets of runs that no longer run.
    static void recoverStaleSets(const std::filesystem::path& folder, const std::string& name);

  private:
    bool fail(std::string why);
    void discard();

    std::filesystem::path folder_;
    std::filesystem::path staging_;
    std::vector<std::string> names_;
    std::optional<std::string> failure_;
    bool done_ = false;
};

}  // namespace orvane
