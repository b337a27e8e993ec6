#include "orvane/publisher/PinyinInitials.h"

#include <unicode/translit.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>
#include <unicode/utf8.h>

#include <array>
#include <memory>
#include <mutex>

namespace orvane::server {

namespace {

struct Override {
    std::string_view phrase;
    std::string_view initials;
};

// Phrases of stock names whose reading differs from ICU's, longest first.
constexpr std::array<Override, 10> kOverrides = {{
    {"重庆", "CQ"},
    {"银行", "YH"},
    {"厦门", "XM"},
    {"蚌埠", "BB"},
    {"长沙", "CS"},
    {"长江", "CJ"},
    {"长安", "CA"},
    {"长城", "CC"},
    {"长春", "CC"},
    {"长", "C"},
}};

// The first letter of one character's pinyin, or 0.
char hanInitial(UChar32 c) {
    static std::mutex mutex;
    static std::unique_ptr<icu::Transliterator> toLatin = [] {
        UErrorCode status = U_ZERO_ERROR;
        std::unique_ptr<icu::Transliterator> t(
            icu::Transliterator::createInstance("Han-Latin; Latin-ASCII", UTRANS_FORWARD, status));
        return U_SUCCESS(status) ? std::move(t) : nullptr;
    }();
    if (!toLatin) return 0;
    icu::UnicodeString text(c);
    {
        std::lock_guard lock(mutex);
        toLatin->transliterate(text);
    }
    for (int i = 0; i < text.length(); ++i) {
        const char16_t ch = text.charAt(i);
        if (ch < 0x80 && ((ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z')))
            return static_cast<char>(ch >= 'a' ? ch - 'a' + 'A' : ch);
    }
    return 0;
}

}  // namespace

std::string pinyinInitials(std::string_view name) {
    std::string out;
    std::size_t i = 0;
    while (i < name.size()) {
        const std::string_view rest = name.substr(i);
        bool matched = false;
        for (const Override& o : kOverrides) {
            if (rest.starts_with(o.phrase)) {
                out += o.initials;
                i += o.phrase.size();
                matched = true;
                break;
            }
        }
        if (matched) continue;
        UChar32 c = 0;
        std::int32_t at = 0;
        const auto length = static_cast<std::int32_t>(std::min<std::size_t>(rest.size(), 4));
        U8_NEXT(reinterpret_cast<const std::uint8_t*>(rest.data()), at, length, c);
        i += static_cast<std::size_t>(std::max(at, 1));
        if (c < 0) continue;
        if (c < 0x80) {
            if ((c >= 'a' && c <= 'z'))
                out += static_cast<char>(c - 'a' + 'A');
            else if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))
                out += static_cast<char>(c);
            continue;
        }
        if (c >= 0xFF21 && c <= 0xFF3A) {  // full-width Latin capitals (Ａ)
            out += static_cast<char>('A' + (c - 0xFF21));
            continue;
        }
        if (u_hasBinaryProperty(c, UCHAR_IDEOGRAPHIC))
            if (char initial = hanInitial(c)) out += initial;
    }
    return out;
}

}  // namespace orvane::server
