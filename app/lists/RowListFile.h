#pragma once
// A list of stock rows stored as a property-list array of dictionaries (the
// ranking results, the score lists). Those files are rewritten by their
// producers every run, so a bad one is left where it is: the list reads as
// empty and the result says so, for one line in the status field.

#include <filesystem>
#include <string>

#include "orvane/market/StockRecord.h"

namespace orvane::app {

struct RowListFile {
    enum class State {
        Read,     ///< `rows` holds the file's rows
        Missing,  ///< no such file: an empty list, nothing to say
        Bad       ///< not a property list, not an array, or a row that is no dictionary
    };
    State state = State::Missing;
    std::vector<StockRecord> rows;
    std::filesystem::path file;

    /// The status-line note for a bad file; empty otherwise.
    std::string note() const;
};

RowListFile readRowListFile(const std::filesystem::path& file);

}  // namespace orvane::app
