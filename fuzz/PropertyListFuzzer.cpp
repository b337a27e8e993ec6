// The property-list reader on arbitrary bytes, XML or binary: the entry point
// every file and payload goes through must not crash, and whatever passes the
// scans before the parser must, once the parser has built it, stay within
// the nesting and value limits (the scans may overestimate, never
// underestimate).

#include <plist/plist.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <utility>
#include <vector>

#include "orvane/core/PropertyList.h"
#include "orvane/core/PropertyListLimits.h"

namespace {

struct Built {
    std::size_t nesting = 0;
    std::uint64_t values = 0;
};

// What the parser built, walked with an explicit stack.
Built measure(plist_t root) {
    Built built;
    std::vector<std::pair<plist_t, std::size_t>> pending{{root, 0}};
    while (!pending.empty()) {
        auto [node, around] = pending.back();
        pending.pop_back();
        ++built.values;
        const plist_type type = plist_get_node_type(node);
        if (type != PLIST_ARRAY && type != PLIST_DICT) continue;
        const std::size_t nesting = around + 1;
        if (nesting > built.nesting) built.nesting = nesting;
        if (type == PLIST_ARRAY) {
            for (uint32_t i = 0, n = plist_array_get_size(node); i < n; ++i)
                pending.emplace_back(plist_array_get_item(node, i), nesting);
            continue;
        }
        plist_dict_iter it = nullptr;
        plist_dict_new_iter(node, &it);
        for (plist_t value = nullptr; it;) {  // the values only: keys are no nodes here
            plist_dict_next_item(node, it, nullptr, &value);
            if (!value) break;
            pending.emplace_back(value, nesting);
        }
        std::free(it);
    }
    return built;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    orvane::parsePropertyList(bytes);
    if (orvane::propertyListRefusal(bytes)) return 0;

    plist_t root = nullptr;
    plist_from_memory(bytes.data(), static_cast<uint32_t>(bytes.size()), &root);
    if (!root) return 0;
    const Built built = measure(root);
    plist_free(root);
    if (built.nesting > orvane::kMaxPropertyListNesting) __builtin_trap();
    if (bytes.starts_with("bplist00") && built.values > orvane::kMaxPropertyListValues)
        __builtin_trap();
    return 0;
}
