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

namespace {

// Calls `each(character, its general category)` for the UTF-8 text's
// characters, one byte at a time where it is no UTF-8 (category unassigned).
template <typename Each>
void forEachCharacter(std::string_view text, Each each) {
    const auto* s = reinterpret_cast<const uint8_t*>(text.data());
    const int32_t length = static_cast<int32_t>(text.size());
    int32_t i = 0;
    while (i < length) {
        const int32_t start = i;
        UChar32 c;
        U8_NEXT(s, i, length, c);
        each(text.substr(start, i - start),
             c < 0 ? static_cast<int8_t>(U_UNASSIGNED) : u_charType(c));
    }
}

bool isControl(int8_t type) {
    return type == U_CONTROL_CHAR || type == U_FORMAT_CHAR;
}

}  // namespace

std::vector<std::string> splitOnControlCharacters(std::string_view line) {
    std::vector<std::string> fields(1);
    forEachCharacter(line, [&](std::string_view character, int8_t type) {
        if (isControl(type))
            fields.emplace_back();
        else
            fields.back().append(character);
    });
    return fields;
}

std::string withoutSeparators(std::string_view text) {
    std::string out;
    forEachCharacter(text, [&](std::string_view character, int8_t type) {
        if (!isControl(type) && type != U_LINE_SEPARATOR && type != U_PARAGRAPH_SEPARATOR)
            out.append(character);
    });
    return out;
}

}  // namespace orvane
