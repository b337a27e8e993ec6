#include "keyboard/ChartBrowseList.h"

#include <algorithm>
#include <unordered_set>

namespace orvane::app {

namespace {

int placeOf(const std::vector<std::string>& codes, const std::string& code) {
    const auto at = std::find(codes.begin(), codes.end(), code);
    return at == codes.end() ? -1 : static_cast<int>(at - codes.begin());
}

}  // namespace

void ChartBrowseList::opened(const std::string& code, const std::vector<std::string>& list) {
    if (!list.empty()) {
        codes_.clear();
        std::unordered_set<std::string> seen;
        for (const std::string& c : list)
            if (!c.empty() && seen.insert(c).second) codes_.push_back(c);
    } else if (placeOf(codes_, code) < 0) {
        codes_ = {code};
    }
    position_ = placeOf(codes_, code);
}

std::optional<std::string> ChartBrowseList::step(BrowseStep step) {
    if (codes_.empty()) return std::nullopt;
    const int last = static_cast<int>(codes_.size()) - 1;
    int next = position_;
    switch (step) {
        case BrowseStep::Previous:
            next = position_ < 0 ? last : position_ - 1;
            break;
        case BrowseStep::Next:
            next = position_ + 1;
            break;
        case BrowseStep::First:
            next = 0;
            break;
        case BrowseStep::Last:
            next = last;
            break;
    }
    if (next < 0 || next > last || next == position_) return std::nullopt;
    position_ = next;
    return codes_[static_cast<std::size_t>(next)];
}

}  // namespace orvane::app
