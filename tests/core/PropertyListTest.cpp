#include "orvane/core/PropertyList.h"

#include <gtest/gtest.h>

#include <fstream>

#include "TempDataDir.h"

using namespace orvane;

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
