#include "orvane/core/StringTable.h"

#include <array>
#include <utility>

namespace orvane {

namespace {

constexpr std::array<std::pair<std::string_view, const char*>, 1> kStrings = {{
    {"noticeDown2",
     "%s板块今日%.1f%%的股票下跌，您持有的%s（%s）所在板块走弱，今日涨幅%.2f%%"
     "，请注意卖出信号。\n"},
}};

class BuiltInStringTable final : public StringTable {
  public:
    std::string localizedString(std::string_view key) const override {
        for (const auto& [k, text] : kStrings)
            if (k == key) return text;
        return {};
    }
};

}  // namespace

std::shared_ptr<StringTable> StringTable::headlessDefault() {
    return std::make_shared<BuiltInStringTable>();
}

}  // namespace orvane
