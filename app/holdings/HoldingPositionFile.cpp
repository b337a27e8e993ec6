#include "holdings/HoldingPositionFile.h"

#include "orvane/core/DataDirectory.h"
#include "orvane/core/PropertyList.h"
#include "orvane/market/StockCode.h"
#include "platform/StoredPropertyList.h"

namespace orvane::app {

namespace fs = std::filesystem;

namespace {

constexpr const char* kCostKey = "cost";
constexpr const char* kSharesKey = "shares";

std::optional<Positions> positionsOf(const Value& stored) {
    Positions positions;
    for (const auto& [code, entry] : stored.dictionary()) {
        if (!isValidStockCode(code) || !entry.isDictionary()) return std::nullopt;
        const Dictionary& d = entry.dictionary();
        const auto cost = d.find(kCostKey);
        const auto shares = d.find(kSharesKey);
        if (cost == d.end() || shares == d.end() || !cost->second.isReal() ||
            !shares->second.isInteger())
            return std::nullopt;
        const Position p{cost->second.toDouble(), shares->second.toInteger()};
        if (refusalOfPosition(std::to_string(p.cost), p.shares)) return std::nullopt;
        positions[code] = p;
    }
    return positions;
}

}  // namespace

fs::path positionFile() {
    return dataPath(kPositionFileName);
}

PositionsRead readPositions(const fs::path& file) {
    StoredPropertyList stored = readStoredPropertyList(file, StoredKind::Dictionary);
    if (stored.wasRead()) {
        if (std::optional<Positions> positions = positionsOf(stored.value))
            return {std::move(*positions), {}};
        setStoredFileAside(stored);  // a property list, but not one of ours
    }
    return {{}, stored.reportText()};
}

std::optional<std::string> savePositions(const Positions& positions, const fs::path& file) {
    Dictionary stored;
    for (const auto& [code, p] : positions)
        stored[code] = Dictionary{{kCostKey, p.cost}, {kSharesKey, p.shares}};
    return replacePropertyList(file, Value(std::move(stored)));
}

}  // namespace orvane::app
