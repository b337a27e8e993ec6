#include "orvane/core/TextEncoding.h"

#include <iconv.h>

#include <cerrno>

namespace orvane {

namespace {

/// One whole-text conversion with iconv; nothing on any conversion error.
std::optional<std::string> convert(const char* to, const char* from, std::string_view in) {
    iconv_t cd = ::iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
    std::string out;
    out.resize(in.size() * 2 + 16);
    char* inPtr = const_cast<char*>(in.data());
    std::size_t inLeft = in.size();
    std::size_t produced = 0;
    bool ok = true;
    while (true) {
        char* outPtr = out.data() + produced;
        std::size_t outLeft = out.size() - produced;
        // A null input pointer flushes any pending shift state at the end.
        std::size_t r = ::iconv(cd, inLeft ? &inPtr : nullptr, &inLeft, &outPtr, &outLeft);
        produced = out.size() - outLeft;
        if (r != static_cast<std::size_t>(-1)) {
            if (inLeft == 0) break;
            continue;
        }
        if (errno == E2BIG) {
            out.resize(out.size() * 2);
            continue;
        }
        ok = false;  // EILSEQ or EINVAL: invalid or truncated input
        break;
    }
    ::iconv_close(cd);
    if (!ok) return std::nullopt;
    out.resize(produced);
    return out;
}

}  // namespace

std::optional<std::string> gb18030ToUtf8(std::string_view bytes) {
    return convert("UTF-8", "GB18030", bytes);
}

bool isValidUtf8(std::string_view bytes) {
    return convert("UTF-8", "UTF-8", bytes).has_value();
}

std::optional<std::string> utf8ToGb18030(std::string_view text) {
    return convert("GB18030", "UTF-8", text);
}

std::optional<std::string> utf16ToUtf8(std::string_view bytes) {
    if (bytes.size() % 2 != 0) return std::nullopt;
    const char* order = "UTF-16BE";
    if (bytes.size() >= 2) {
        auto b0 = static_cast<unsigned char>(bytes[0]);
        auto b1 = static_cast<unsigned char>(bytes[1]);
        if (b0 == 0xFE && b1 == 0xFF) {
            bytes.remove_prefix(2);
        } else if (b0 == 0xFF && b1 == 0xFE) {
            order = "UTF-16LE";
            bytes.remove_prefix(2);
        }
    }
    return convert("UTF-8", order, bytes);
}

std::optional<std::string> utf8ToUtf16(std::string_view text, bool littleEndian) {
    auto body = convert(littleEndian ? "UTF-16LE" : "UTF-16BE", "UTF-8", text);
    if (!body) return std::nullopt;
    return std::string(littleEndian ? "\xFF\xFE" : "\xFE\xFF") + *body;
}

std::string downloadedText(std::string_view bytes) {
    auto text = gb18030ToUtf8(bytes);
    return text ? std::move(*text) : std::string(bytes);
}

}  // namespace orvane
