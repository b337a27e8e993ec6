#include "orvane/core/PropertyList.h"

#include <gtest/gtest.h>
#include <spdlog/sinks/ringbuffer_sink.h>
#include <spdlog/spdlog.h>

#include <fstream>
#include <vector>

#include "TempDataDir.h"
#include "orvane/core/AtomicFile.h"
#include "orvane/core/PropertyListLimits.h"

using namespace orvane;

namespace {

// `depth` arrays, each holding the next.
std::string nestedXml(std::size_t depth) {
    std::string s = "<?xml version=\"1.0\"?>\n<plist version=\"1.0\">";
    for (std::size_t i = 0; i < depth; ++i) s += "<array>";
    for (std::size_t i = 0; i < depth; ++i) s += "</array>";
    return s + "</plist>\n";
}

void bigEndian(std::string& out, std::uint64_t v, int bytes) {
    for (int b = bytes - 1; b >= 0; --b) out += static_cast<char>(v >> (8 * b) & 0xFF);
}

// A binary property list: "bplist00", the objects, their offset table (four
// bytes an offset) and the trailer; the top object is the first.
std::string binaryPlist(const std::vector<std::string>& objects, int refSize) {
    std::string s = "bplist00", table;
    for (const std::string& o : objects) {
        bigEndian(table, s.size(), 4);
        s += o;
    }
    const std::size_t tableAt = s.size();
    s += table + std::string(6, '\0') + '\x04' + static_cast<char>(refSize);
    bigEndian(s, objects.size(), 8);
    bigEndian(s, 0, 8);
    bigEndian(s, tableAt, 8);
    return s;
}

// `depth` arrays, each naming the next `refs` times: with 2, a few objects
// stand for 2^depth values.
std::string nestedBinary(std::size_t depth, int refs = 1) {
    std::vector<std::string> objects(depth);
    for (std::size_t i = 0; i < depth; ++i) {
        const int n = i + 1 < depth ? refs : 0;
        objects[i] = static_cast<char>(0xA0 | n);
        for (int r = 0; r < n; ++r) bigEndian(objects[i], i + 1, 4);
    }
    return binaryPlist(objects, 4);
}

std::size_t nestingOf(const Value& v) {
    return v.isArray() ? 1 + (v.array().empty() ? 0 : nestingOf(v.array()[0])) : 0;
}

// The program's warnings while it lives.
struct Warnings {
    std::shared_ptr<spdlog::sinks::ringbuffer_sink_mt> sink =
        std::make_shared<spdlog::sinks::ringbuffer_sink_mt>(8);
    Warnings() { spdlog::default_logger()->sinks().push_back(sink); }
    ~Warnings() { spdlog::default_logger()->sinks().pop_back(); }
};

}  // namespace

TEST(PropertyList, RoundTripsEveryKind) {
    test::TempDataDir dir;
    Value v(Dictionary{{"s", "中文"},
                       {"i", -1},
                       {"big", std::int64_t{1} << 40},
                       {"r", 1.5},
                       {"b", true},
                       {"d", Date{1385078400}},
                       {"a", Array{1, "x", Dictionary{{"k", false}}}}});
    ASSERT_TRUE(writePropertyList(dir.path() / "t.plist", v));
    EXPECT_EQ(readPropertyList(dir.path() / "t.plist"), v);
}

TEST(PropertyList, MissingOrMalformedReadsAsNothingAndFailedWritesKeepTheOldFile) {
    test::TempDataDir dir;
    EXPECT_FALSE(readPropertyList(dir.path() / "none.plist"));
    for (const char* bad : {"<plist><dict><key>a</key>", ""}) {
        std::ofstream(dir.path() / "bad.plist") << bad;
        EXPECT_FALSE(readPropertyList(dir.path() / "bad.plist")) << bad;
    }
    const auto path = dir.path() / "bad.plist";
    ASSERT_TRUE(writePropertyList(path, Value(Array{"old"})));
    EXPECT_FALSE(writePropertyList(dir.path() / "no-such-folder" / "x.plist", Value(Array{})));
    EXPECT_EQ(readPropertyList(path)->array().at(0).string(), "old");
    // No temporary files stay behind.
    int files = 0;
    for (auto& e : std::filesystem::directory_iterator(dir.path())) files += e.is_regular_file();
    EXPECT_EQ(files, 1);
}

TEST(PropertyList, FilesTheParserCannotHoldReadAsMissingAndAreKeptAside) {
    test::TempDataDir dir;
    test::FixedNow at(2026, 12, 7, 14, 30, 0);
    Warnings warnings;
    const struct {
        const char* name;
        std::string bytes;
        bool reads;
    } files[] = {
        {"xml-limit.plist", nestedXml(kMaxPropertyListNesting), true},
        {"binary-limit.plist", nestedBinary(kMaxPropertyListNesting), true},
        {"xml-over.plist", nestedXml(kMaxPropertyListNesting + 1), false},
        {"xml-deep.plist", nestedXml(200000), false},
        {"binary-deep.plist", nestedBinary(200000), false},
        {"binary-shared.plist", nestedBinary(64, 2), false},
        // Strings holding a NUL: ["a\0"] (the parser reads a tag name up to a
        // NUL), and a UTF-16 key {"a\0": "x"}.
        {"xml-nul.plist",
         std::string("<plist><array") + '\0' + "x><string>a" + '\0' + "</string></array></plist>",
         false},
        {"binary-nul.plist",
         binaryPlist({"\xD1\x01\x02", std::string("\x62\x00\x61\x00\x00", 5), "\x51x"}, 1), false}};
    for (const auto& f : files) {
        const auto path = dir.path() / f.name;
        ASSERT_TRUE(writeFileAtomically(path, f.bytes));
        const auto read = readPropertyList(path);
        EXPECT_EQ(read.has_value(), f.reads) << f.name;
        EXPECT_EQ(std::filesystem::exists(path), f.reads) << f.name;
        if (f.reads) {
            EXPECT_EQ(nestingOf(*read), kMaxPropertyListNesting) << f.name;
            continue;
        }
        const std::string aside = std::string(f.name) + ".unreadable-20261207-143000";
        EXPECT_TRUE(readFile(dir.path() / aside) == f.bytes) << f.name;
        const auto said = warnings.sink->last_formatted(1);
        const std::string last = said.empty() ? "" : said[0];
        EXPECT_NE(last.find(path.string()), std::string::npos) << last;
        EXPECT_NE(last.find("kept aside as " + aside), std::string::npos) << last;
    }
}
