// The server's score-list parser and the short lists made from it.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "orvane/market/ScoreLists.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto selection = orvane::selectScoreLists(orvane::parseScoreRecords(text));
    if (selection.score.size() > 51 || selection.modeB.size() > 51 ||
        selection.doublePao.size() > 51)
        __builtin_trap();
    return 0;
}
