#include "orvane/market/CodeTable.h"

#include <algorithm>

#include "orvane/core/AtomicFile.h"
#include "orvane/core/ChineseCollation.h"
#include "orvane/core/DataDirectory.h"
#include "orvane/core/NumberText.h"
#include "orvane/core/TextEncoding.h"
#include "orvane/core/TextSplit.h"
#include "orvane/market/StockKeys.h"

namespace orvane {

namespace fs = std::filesystem;

Dictionary CodeTableEntry::toRecord() const {
    return Dictionary{
        {keys::STOCK_Code, code}, {keys::STOCK_SC_Name, name}, {keys::STOCK_pinyin, pinyin}};
}

std::vector<CodeTableEntry> parseCodeTable(std::string_view utf16Bytes) {
    std::vector<CodeTableEntry> entries;
    auto text = utf16ToUtf8(utf16Bytes);
    if (!text) return entries;
    for (std::string_view line : splitLines(*text)) {
        auto fields = splitOnControlCharacters(line);
        if (fields.size() < 3 || utf16Length(fields[0]) != 6) continue;
        entries.push_back({std::move(fields[0]), std::move(fields[1]), std::move(fields[2])});
    }
    return entries;
}

CodeTable& CodeTable::shared() {
    static CodeTable table;
    return table;
}

CodeTable::CodeTable(std::filesystem::path file) : file_(std::move(file)) {}

std::filesystem::path CodeTable::file() const {
    return file_.empty() ? dataPath("constdata/stockcode/code.txt") : file_;
}

std::string normaliseSearchKey(std::string_view typed) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!typed.empty() && blank(typed.front())) typed.remove_prefix(1);
    while (!typed.empty() && blank(typed.back())) typed.remove_suffix(1);
    std::string key(typed);
    const auto upper = [](std::string s) {
        for (char& c : s)
            if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        return s;
    };
    const auto digits = [](std::string_view s) {
        return s.size() == 6 && s.find_first_not_of("0123456789") == std::string_view::npos;
    };
    if (key.size() == 8) {
        const std::string market = upper(key.substr(0, 2));
        if ((market == "SH" || market == "SZ") && digits(std::string_view(key).substr(2)))
            return key.substr(2);
    }
    if (key.size() == 9 && key[6] == '.') {
        const std::string market = upper(key.substr(7));
        if ((market == "SH" || market == "SZ") && digits(std::string_view(key).substr(0, 6)))
            return key.substr(0, 6);
    }
    const bool latin = !key.empty() && std::all_of(key.begin(), key.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    });
    return latin ? upper(key) : key;
}

std::shared_ptr<const std::vector<CodeTableEntry>> CodeTable::readEntries() const {
    const fs::path path = file();
    std::error_code ec;
    const auto written = fs::last_write_time(path, ec);
    const auto size = ec ? 0 : fs::file_size(path, ec);
    std::lock_guard lock(entriesMutex_);
    const bool same = !ec && entries_ && entriesPath_ == path && entriesWritten_ == written &&
                      entriesSize_ == size;
    if (same) return entries_;
    auto bytes = readFile(path);
    entries_ = std::make_shared<const std::vector<CodeTableEntry>>(
        bytes ? parseCodeTable(*bytes) : std::vector<CodeTableEntry>{});
    entriesPath_ = path;
    entriesWritten_ = ec ? fs::file_time_type{} : written;
    entriesSize_ = size;
    return entries_;
}

Array CodeTable::getAllStockTradeData() const {
    Array out;
    for (const auto& e : *readEntries()) out.emplace_back(e.toRecord());
    return out;
}

std::size_t CodeTable::entryCount() const {
    return readEntries()->size();
}

namespace {
bool startsWithDigit(std::string_view key) {
    return !key.empty() && key[0] >= '0' && key[0] <= '9';
}
}  // namespace

bool isSearchKeyLongEnough(std::string_view key) {
    return utf16Length(key) >= (startsWithDigit(key) ? 4u : 2u);
}

Array CodeTable::searchStockSubKey(std::string_view key) const {
    if (!isSearchKeyLongEnough(key)) return {};
    const char first = key[0];
    std::string CodeTableEntry::*field = &CodeTableEntry::name;
    if (startsWithDigit(key)) {
        field = &CodeTableEntry::code;
    } else if ((first >= 'A' && first <= 'Z') || (first >= 'a' && first <= 'z')) {
        field = &CodeTableEntry::pinyin;
    }
    Array out;
    for (const auto& e : *readEntries())
        if ((e.*field).find(key) != std::string::npos) out.emplace_back(e.toRecord());
    return out;
}

std::shared_ptr<const std::vector<CodeTableEntry>> CodeTable::nameTable() const {
    std::lock_guard lock(nameTableMutex_);
    if (nameTable_ && !nameTable_->empty()) return nameTable_;
    auto table = std::make_shared<std::vector<CodeTableEntry>>(*readEntries());
    if (table->size() > kMaxNameTableSize) table->resize(kMaxNameTableSize);
    std::stable_sort(table->begin(), table->end(), [](const auto& a, const auto& b) {
        return leadingInt(a.code) < leadingInt(b.code);
    });
    nameTable_ = std::move(table);
    return nameTable_;
}

namespace {

std::optional<std::size_t> binarySearch(const std::vector<CodeTableEntry>& table,
                                        std::string_view code) {
    const std::int32_t key = leadingInt(code);
    std::size_t low = 0, high = table.size();  // the half-open range still searched
    while (low < high) {
        const std::size_t mid = low + (high - low) / 2;
        const std::int32_t probed = leadingInt(table[mid].code);
        if (probed == key) return mid;
        if (probed < key)
            low = mid + 1;
        else
            high = mid;
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::size_t> CodeTable::BinarySearchByCode(std::string_view code) const {
    return binarySearch(*nameTable(), code);
}

std::optional<std::string> CodeTable::getStockCodeName(std::string_view code) const {
    const auto table = nameTable();
    if (auto at = binarySearch(*table, code)) return (*table)[*at].name;
    return std::nullopt;
}

std::optional<std::string> CodeTable::getStockCodeFromName(std::string_view name) const {
    std::optional<std::string> found;
    for (const auto& e : *readEntries())
        if (e.name == name) found = e.code;
    return found;
}

}  // namespace orvane
