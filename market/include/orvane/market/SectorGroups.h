#pragma once
// Sector groups ("constdata/plate": one file a group, one code a line; the
// group name is the file's relative path without its extension) and the
// composite folder ("constdata/composit": the first 6 characters of each
// file name are an index code). The parsed groups are kept until the
// reference update drops them with invalidate().

#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace orvane {

class SectorGroups {
  public:
    /// The data directory's folders.
    static SectorGroups& shared();
    /// Fixed folders; empty paths mean the data directory's.
    explicit SectorGroups(std::filesystem::path plateFolder = {},
                          std::filesystem::path compositFolder = {});

    /// Every group name, in the "zh" collation order (case-insensitive).
    std::vector<std::string> getPlateGroupNameArray() const;
    /// "<code> 属于板块:" and the code's groups joined by ",", or "没有找到分类".
    std::string getStockPlateProtity(std::string_view code) const;
    /// The code's groups joined by ",", or "NONE".
    std::string getMyPlateProprityFormCode(std::string_view code) const;
    /// The code's groups, in walk order.
    std::vector<std::string> groupsOf(std::string_view code) const;
    /// Valid stock codes listed in "<name>.txt"; 0 for a missing file or a
    /// name that would leave the sector folder.
    int getPlantGroupNum(std::string_view name) const;
    /// The group with the most members (the first in name order of those
    /// as large); empty without groups.
    std::string largestGroup() const;
    /// The valid stock codes of "<name>.txt", in file order (none for a
    /// missing file or a name that would leave the sector folder).
    std::vector<std::string> groupMemberCodes(std::string_view name) const;
    /// The index codes of the composite folder, in name order.
    std::vector<std::string> compositeCodes() const;

    /// Drops the parsed groups; the next lookup reads the folder again.
    void invalidate();

  private:
    struct Group {
        std::string name;
        std::unordered_set<std::string> lines;
    };
    using Groups = std::vector<Group>;
    std::shared_ptr<const Groups> groups() const;
    std::filesystem::path plateFolder() const;
    std::filesystem::path compositFolder() const;

    std::filesystem::path plateFolder_, compositFolder_;
    mutable std::mutex mutex_;
    mutable std::shared_ptr<const Groups> cache_;
    mutable std::filesystem::path cachedFolder_;
};

/// True when some element of the list equals the code exactly.
bool isInComposit(std::string_view code, const std::vector<std::string>& list);

}  // namespace orvane
