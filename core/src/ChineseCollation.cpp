#include "orvane/core/ChineseCollation.h"

#include <unicode/coll.h>
#include <unicode/uchar.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <memory>

namespace orvane {

struct ChineseCollator::Impl {
    std::unique_ptr<icu::Collator> collator;
};

ChineseCollator::ChineseCollator() : impl_(std::make_unique<Impl>()) {
    UErrorCode status = U_ZERO_ERROR;
    impl_->collator.reset(icu::Collator::createInstance(icu::Locale("zh"), status));
    if (U_FAILURE(status))
        impl_->collator.reset();
    else if (impl_->collator)
        impl_->collator->setStrength(icu::Collator::SECONDARY);
}

ChineseCollator::~ChineseCollator() = default;

bool ChineseCollator::less(std::string_view a, std::string_view b) const {
    if (!impl_->collator) return a < b;
    UErrorCode status = U_ZERO_ERROR;
    return impl_->collator->compareUTF8(icu::StringPiece(a.data(), static_cast<int32_t>(a.size())),
                                        icu::StringPiece(b.data(), static_cast<int32_t>(b.size())),
                                        status) == UCOL_LESS;
}

void sortChinese(std::vector<std::string>& texts) {
    ChineseCollator collator;
    std::stable_sort(texts.begin(), texts.end(), [&](const std::string& a, const std::string& b) {
        return collator.less(a, b);
    });
}

std::vector<std::string> splitOnControlCharacters(std::string_view line) {
    std::vector<std::string> fields(1);
    const auto* s = reinterpret_cast<const uint8_t*>(line.data());
    const int32_t length = static_cast<int32_t>(line.size());
    int32_t i = 0;
    while (i < length) {
        const int32_t start = i;
        UChar32 c;
        U8_NEXT(s, i, length, c);
        const int8_t type = c < 0 ? static_cast<int8_t>(U_UNASSIGNED) : u_charType(c);
        if (type == U_CONTROL_CHAR || type == U_FORMAT_CHAR)
            fields.emplace_back();
        else
            fields.back().append(line.substr(start, i - start));
    }
    return fields;
}

}  // namespace orvane
