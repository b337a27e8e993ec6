// The shape of an XML property list, read the way the parser reads it:
// it stops where the parser stops (a malformed tag, an unknown element, the
// end of the top value), skips what the parser skips (processing
// instructions, comments, the document type, the text and CDATA of value
// elements, double-quoted attribute values), and counts every opening
// <array> or <dict> that is not self-closing and every closing one. The text
// of strings and keys (a key out of place becomes a string) is searched for
// NUL characters.

#include <array>

#include "orvane/core/PropertyListLimits.h"

namespace orvane {

namespace {

constexpr std::array<std::string_view, 8> kValueElements = {"key",  "string", "integer", "real",
                                                            "true", "false",  "data",    "date"};

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

class XmlScan {
  public:
    explicit XmlScan(std::string_view text) : t_(text) {}

    PropertyListShape shape() {
        PropertyListShape found;
        std::size_t depth = 0;
        bool started = false;  // the top value has begun
        while (true) {
            skipBlanks();
            if (pos_ >= t_.size() || t_[pos_] != '<' || ++pos_ >= t_.size()) break;
            if (t_[pos_] == '?') {
                if (!skipPast("?>", true)) break;
                continue;
            }
            if (t_[pos_] == '!') {
                if (!skipDeclaration()) break;
                continue;
            }
            const std::optional<Tag> tag = readTag();
            if (!tag) break;
            const std::string_view name = tag->name;
            if (name == "plist") {
                if (tag->empty) break;
                continue;
            }
            if (name == "/plist") continue;
            if (name == "array" || name == "dict") {
                // A self-closing top value still becomes the parent of what follows.
                const bool opens = !tag->empty || !started;
                started = true;
                if (opens && ++depth > found.nesting &&
                    (found.nesting = depth) > kMaxPropertyListNesting)
                    break;
                continue;
            }
            if (name == "/array" || name == "/dict") {
                if (depth == 0 || --depth == 0) break;  // a stray end, or the top value's
                continue;
            }
            if (!isValueElement(name) || (!tag->empty && !skipContent(*tag, found)) || !started)
                break;
        }
        return found;
    }

  private:
    struct Tag {
        std::string_view raw;   // up to a blank or '>'
        std::string_view name;  // as the parser compares it: up to a NUL
        bool empty = false;     // self-closing
    };

    static bool isValueElement(std::string_view name) {
        for (std::string_view e : kValueElements)
            if (name == e) return true;
        return false;
    }

    bool at(std::string_view s) const { return t_.substr(pos_).starts_with(s); }
    bool endsWithin(std::size_t n) const { return pos_ + n >= t_.size(); }

    void skipBlanks() {
        while (pos_ < t_.size() && isBlank(t_[pos_])) ++pos_;
    }

    // Past the double quote that closes the one at pos_; false at the end.
    bool skipQuoted() {
        const std::size_t close = t_.find('"', pos_ + 1);
        pos_ = close == std::string_view::npos ? t_.size() : close + 1;
        return close != std::string_view::npos;
    }

    // Onto the next of `chars` (double-quoted runs skipped when `quotes`);
    // false at the end.
    bool findAny(std::string_view chars, bool quotes) {
        while (pos_ < t_.size()) {
            if (quotes && t_[pos_] == '"') {
                if (!skipQuoted()) return false;
                continue;
            }
            if (chars.find(t_[pos_]) != std::string_view::npos) return true;
            ++pos_;
        }
        return false;
    }

    // Past the next `marker`; false when there is none.
    bool skipPast(std::string_view marker, bool quotes) {
        while (pos_ + marker.size() <= t_.size()) {
            if (at(marker)) {
                pos_ += marker.size();
                return true;
            }
            if (quotes && t_[pos_] == '"') {
                if (!skipQuoted()) return false;
                continue;
            }
            ++pos_;
        }
        return false;
    }

    // A comment or the document type, pos_ on the '!'.
    bool skipDeclaration() {
        if (t_.size() - pos_ > 3 && at("!--")) {
            pos_ += 3;
            return skipPast("-->", false);
        }
        if (t_.size() - pos_ <= 8 || !at("!DOCTYPE")) return false;
        pos_ += 8;
        while (pos_ < t_.size()) {
            if (!findAny(" \t\r\n[>", true)) return false;
            if (t_[pos_] == '[') return skipPast("]>", true);
            if (t_[pos_] == '>') {
                ++pos_;
                return true;
            }
            skipBlanks();
        }
        return true;
    }

    // A tag, pos_ just after its '<'.
    std::optional<Tag> readTag() {
        const std::size_t start = pos_;
        if (!findAny(" \r\n\t<>", false)) return std::nullopt;
        Tag tag;
        tag.raw = tag.name = t_.substr(start, pos_ - start);
        if (t_[pos_] != '>' && (!findAny("<>", true) || t_[pos_] != '>')) return std::nullopt;
        tag.empty = t_[pos_ - 1] == '/';
        if (tag.empty && start + tag.raw.size() == pos_) tag.name.remove_suffix(1);  // "<array/>"
        tag.name = tag.name.substr(0, tag.name.find('\0'));
        ++pos_;
        return tag;
    }

    // The text of a value element up to and past its end tag, pos_ after
    // its start tag.
    bool skipContent(const Tag& tag, PropertyListShape& found) {
        const std::size_t text = pos_;
        while (true) {
            const std::size_t open = t_.find('<', pos_);
            if (open == std::string_view::npos || open + 1 >= t_.size()) return false;
            pos_ = open + 1;
            if (t_[pos_] == '/') {
                if ((tag.name == "string" || tag.name == "key") &&
                    t_.substr(text, open - text).find('\0') != std::string_view::npos)
                    found.nulInText = true;
                break;
            }
            if (t_[pos_] != '!' || endsWithin(2)) return false;
            ++pos_;
            if (at("--")) {
                pos_ += 2;
                if (!skipPast("-->", false)) return false;
            } else if (t_[pos_] == '[' && !endsWithin(9) && at("[CDATA[")) {
                pos_ += 7;
                if (!skipPast("]]>", false)) return false;
            } else {
                return false;
            }
        }
        // The end tag matches up to the start tag's first NUL, if any, and
        // is as long as the start tag's name.
        ++pos_;
        const std::size_t nul = tag.raw.find('\0');
        const std::size_t compared = nul == std::string_view::npos ? tag.raw.size() : nul + 1;
        if (endsWithin(tag.raw.size()) || !at(tag.raw.substr(0, compared))) return false;
        pos_ += tag.raw.size();
        skipBlanks();
        if (pos_ >= t_.size() || t_[pos_] != '>') return false;
        ++pos_;
        return true;
    }

    std::string_view t_;
    std::size_t pos_ = 0;
};

}  // namespace

PropertyListShape xmlPropertyListShape(std::string_view bytes) {
    return XmlScan(bytes).shape();
}

}  // namespace orvane
