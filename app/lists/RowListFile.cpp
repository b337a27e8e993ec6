#include "lists/RowListFile.h"

#include <algorithm>
#include <system_error>

#include "orvane/core/AtomicFile.h"
#include "orvane/core/PropertyList.h"

namespace orvane::app {

RowListFile readRowListFile(const std::filesystem::path& file) {
    RowListFile result;
    result.file = file;
    std::error_code ec;
    if (file.empty() || !std::filesystem::exists(file, ec)) return result;

    result.state = RowListFile::State::Bad;
    const auto bytes = readFile(file);
    if (!bytes) return result;
    auto value = parsePropertyList(*bytes);
    if (!value || !value->isArray()) return result;
    const Array& rows = value->array();
    if (!std::all_of(rows.begin(), rows.end(), [](const Value& v) { return v.isDictionary(); }))
        return result;
    result.state = RowListFile::State::Read;
    result.rows = stockRecordsOf(rows);
    return result;
}

std::string RowListFile::note() const {
    if (state != State::Bad) return {};
    return "文件 " + file.filename().string() + " 无法读取或已损坏，列表为空";
}

}  // namespace orvane::app
