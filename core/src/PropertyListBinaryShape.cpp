// The shape of a binary property list, walked the way the parser walks it:
// from the trailer's top object through the offset table, every array, set
// and dictionary entry in order (a dictionary's key before its value), each
// offset, reference and count checked against the bounds the parser checks.
// Unlike the parser, the walk keeps its path on an explicit stack and
// measures each object once: an object reached again adds the depth and
// values it was found to hold. Where the parser would give up (a bad
// reference, a loop back onto the path) the walk goes on, so it overestimates
// and never underestimates. Every UTF-16 string reached is searched for a
// NUL character.

#include <algorithm>
#include <unordered_map>
#include <vector>

#include "orvane/core/PropertyListLimits.h"

namespace orvane {

namespace {

constexpr std::size_t kTrailerSize = 32;
constexpr std::size_t kHeaderSize = 8;  // "bplist00"

// Object markers: the high four bits give the kind.
constexpr unsigned kInteger = 0x10, kData = 0x40, kAscii = 0x50, kUtf16 = 0x60, kArray = 0xA0,
                   kSet = 0xC0, kDictionary = 0xD0;

// Kinds whose count, when the marker's low bits are all set, follows as an
// integer object.
bool countFollows(unsigned kind) {
    return kind == kData || kind == kAscii || kind == kUtf16 || kind == kArray || kind == kSet ||
           kind == kDictionary;
}

// A big-endian number of `n` bytes at `at` (the last eight when longer), as
// the parser reads it. The caller checks that the bytes are there.
std::uint64_t bigEndian(std::string_view b, std::size_t at, std::size_t n) {
    if (n > 8) at += n - 8, n = 8;
    std::uint64_t v = 0;
    for (std::size_t i = 0; i < n; ++i) v = v << 8 | static_cast<unsigned char>(b[at + i]);
    return v;
}

std::uint64_t saturatingSum(std::uint64_t a, std::uint64_t b, std::uint64_t cap) {
    return a >= cap || b >= cap - a ? cap : a + b;
}

class BinaryWalk {
  public:
    explicit BinaryWalk(std::string_view bytes) : b_(bytes) {}

    PropertyListShape shape() {
        if (!readTrailer()) return {};
        enter(root_);
        while (!path_.empty() && result_.nesting <= kMaxPropertyListNesting &&
               result_.values < kValuesCap) {
            Frame& f = path_.back();
            if (const auto child = nextChild(f)) {
                enter(*child);
            } else {
                leave();
            }
        }
        return result_;
    }

  private:
    // What the walk knows of an object it has reached; each new object adds
    // at least one value, so there are never more than the values limit.
    struct Seen {
        bool measured = false;  // else still on the path
        std::size_t nesting = 0;
        std::uint64_t values = 0;
    };

    struct Frame {
        std::uint64_t object;
        std::size_t refs;        // where the references begin
        std::uint64_t entries;   // references to follow (a dictionary's keys and values)
        std::uint64_t pairs;     // a dictionary's entry count, else 0
        std::uint64_t next = 0;  // the next reference to follow
        std::size_t deepestChild = 0;
        std::uint64_t values = 1;  // the object itself and what it holds so far
    };

    bool readTrailer() {
        if (b_.size() < kHeaderSize + kTrailerSize || !b_.starts_with("bplist00")) return false;
        const std::size_t t = b_.size() - kTrailerSize;
        offsetSize_ = static_cast<unsigned char>(b_[t + 6]);
        refSize_ = static_cast<unsigned char>(b_[t + 7]);
        const std::uint64_t objects = bigEndian(b_, t + 8, 8);
        root_ = bigEndian(b_, t + 16, 8);
        const std::uint64_t table = bigEndian(b_, t + 24, 8);
        if (objects == 0 || offsetSize_ == 0 || refSize_ == 0 || root_ >= objects) return false;
        if (table < kHeaderSize || table >= t) return false;
        // The table must fit before the trailer; this also bounds the count.
        if (objects > (t - table) / offsetSize_) return false;
        objects_ = static_cast<std::size_t>(objects);
        table_ = static_cast<std::size_t>(table);
        return true;
    }

    // Follows a reference: a measured object adds what it holds; a new one is
    // read, and a container goes on the path. A loop back onto the path is
    // not followed.
    void enter(std::uint64_t object) {
        if (const auto it = seen_.find(object); it != seen_.end()) {
            if (it->second.measured) add(it->second.nesting, it->second.values);
            return;
        }
        if (auto frame = containerAt(object)) {
            seen_.emplace(object, Seen{});
            path_.push_back(*frame);
            result_.nesting = std::max(result_.nesting, path_.size());
            result_.values = saturatingSum(result_.values, 1, kValuesCap);
            return;
        }
        seen_.emplace(object, Seen{true, 0, 1});
        if (utf16HoldsNul(object)) result_.nulInText = true;
        add(0, 1);
    }

    void leave() {
        const Frame f = path_.back();
        path_.pop_back();
        Seen& done = seen_[f.object];
        done = {true, f.deepestChild + 1, f.values};
        if (!path_.empty()) {
            Frame& parent = path_.back();
            parent.deepestChild = std::max(parent.deepestChild, done.nesting);
            parent.values = saturatingSum(parent.values, done.values, kValuesCap);
        }
    }

    // A plain or already measured object reached from the path's end:
    // counted there and in the whole (the parser builds it again at each
    // place it is named).
    void add(std::size_t nesting, std::uint64_t values) {
        if (!path_.empty()) {
            Frame& parent = path_.back();
            parent.deepestChild = std::max(parent.deepestChild, nesting);
            parent.values = saturatingSum(parent.values, values, kValuesCap);
        }
        result_.nesting = std::max(result_.nesting, path_.size() + nesting);
        result_.values = saturatingSum(result_.values, values, kValuesCap);
    }

    // An object's kind, its count (entries, characters, bytes) and where its
    // contents begin, read as the parser reads them; nothing when the parser
    // would give up on its header.
    struct Header {
        unsigned kind;
        std::uint64_t count;
        std::size_t at;
    };
    std::optional<Header> headerOf(std::uint64_t object) const {
        const std::size_t entry = table_ + static_cast<std::size_t>(object) * offsetSize_;
        const std::uint64_t offset = bigEndian(b_, entry, offsetSize_);
        if (offset >= table_) return std::nullopt;
        std::size_t at = static_cast<std::size_t>(offset);
        const unsigned marker = static_cast<unsigned char>(b_[at++]);
        Header h{marker & 0xF0, marker & 0x0Fu, at};
        if (h.count == 0x0F && countFollows(h.kind)) {
            const unsigned sizeMarker = static_cast<unsigned char>(b_[h.at++]);
            const std::size_t n = std::size_t{1} << (sizeMarker & 0x0F);
            if ((sizeMarker & 0xF0) != kInteger || h.at + n > table_) return std::nullopt;
            h.count = bigEndian(b_, h.at, n);
            h.at += n;
        }
        return h;
    }

    // The array, set or dictionary an object is, when the parser would read
    // it as one.
    std::optional<Frame> containerAt(std::uint64_t object) const {
        const auto h = headerOf(object);
        if (!h || (h->kind != kArray && h->kind != kSet && h->kind != kDictionary) ||
            h->count > table_ - h->at)
            return std::nullopt;
        const bool dictionary = h->kind == kDictionary;
        return Frame{object, h->at, dictionary ? 2 * h->count : h->count,
                     dictionary ? h->count : 0};
    }

    // A UTF-16 string the parser would read, holding a U+0000.
    bool utf16HoldsNul(std::uint64_t object) const {
        const auto h = headerOf(object);
        if (!h || h->kind != kUtf16 || h->count > (table_ - h->at) / 2) return false;
        for (std::size_t i = h->at; i < h->at + 2 * h->count; i += 2)
            if (b_[i] == 0 && b_[i + 1] == 0) return true;
        return false;
    }

    // The object the frame's next reference names; nothing when the frame is
    // done or its next reference is out of bounds (where the parser stops).
    std::optional<std::uint64_t> nextChild(Frame& f) const {
        if (f.next >= f.entries) return std::nullopt;
        // A dictionary's entry i has its key at i and its value at pairs + i.
        const std::uint64_t slot = f.pairs ? f.next / 2 + (f.next % 2) * f.pairs : f.next;
        ++f.next;
        const std::uint64_t at = f.refs + slot * refSize_;
        if (at + refSize_ > table_) return std::nullopt;
        const std::uint64_t object = bigEndian(b_, static_cast<std::size_t>(at), refSize_);
        if (object >= objects_) return std::nullopt;
        return object;
    }

    static constexpr std::uint64_t kValuesCap = kMaxPropertyListValues + 1;

    std::string_view b_;
    std::size_t offsetSize_ = 0, refSize_ = 0, objects_ = 0, table_ = 0;
    std::uint64_t root_ = 0;
    std::unordered_map<std::uint64_t, Seen> seen_;
    std::vector<Frame> path_;
    PropertyListShape result_;
};

}  // namespace

PropertyListShape binaryPropertyListShape(std::string_view bytes) {
    return BinaryWalk(bytes).shape();
}

}  // namespace orvane
