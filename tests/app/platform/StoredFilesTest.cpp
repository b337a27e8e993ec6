// The application's own property lists when what sits at their path is no
// file to read: a FIFO (which must not block the start), a folder, a file
// beyond the size limit. Each is set aside and its reason reported.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <future>

#include "TempDataDir.h"
#include "orvane/core/AtomicFile.h"
#include "orvane/core/PropertyList.h"
#include "platform/StoredPropertyList.h"

using namespace orvane;
using namespace orvane::app;
namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

/// The read, given 5 s; a read blocked on a FIFO is then released by a
/// writer that closes at once, so that a fault fails the test instead of
/// hanging it.
StoredPropertyList readWithin5s(const fs::path& file) {
    auto read = std::async(std::launch::async,
                           [&] { return readStoredPropertyList(file, StoredKind::Dictionary); });
    if (read.wait_for(5s) == std::future_status::timeout) {
        ADD_FAILURE() << file << " blocked the read";
        const int writer = ::open(file.c_str(), O_WRONLY | O_NONBLOCK);
        if (writer >= 0) ::close(writer);
    }
    return read.get();
}

}  // namespace

TEST(StoredPropertyList, WhatIsNoFileOrTooLargeIsSetAsideWithItsReason) {
    test::TempDataDir dir;
    test::FixedNow now(2026, 12, 7, 14, 30, 0);
    const fs::path settings = dir.path() / "Setting.plist";
    const fs::path aside = dir.path() / "Setting.plist.unreadable-20261207-143000";

    ASSERT_EQ(::mkfifo(settings.c_str(), 0600), 0);
    StoredPropertyList read = readWithin5s(settings);
    EXPECT_EQ(read.state, StoredPropertyList::State::SetAside);
    EXPECT_EQ(read.fault, StoredPropertyList::Fault::NotAFile);
    EXPECT_EQ(read.reportText(), "文件 Setting.plist 不是普通文件，已另存为 " +
                                     aside.filename().string() + "，现使用默认设置");
    EXPECT_TRUE(fs::is_fifo(aside));
    EXPECT_FALSE(fs::exists(fs::symlink_status(settings)));

    fs::create_directory(settings);
    read = readWithin5s(settings);
    EXPECT_EQ(read.fault, StoredPropertyList::Fault::NotAFile);
    EXPECT_TRUE(fs::is_directory(read.setAsidePath));

    // A dictionary padded to the limit is read; one byte more is too large.
    const std::string dictionary = toXmlPropertyList(Value(Dictionary{{"searchKey", "x"}})) + "\n";
    for (const std::uintmax_t size : {kStoredPropertyListLimit, kStoredPropertyListLimit + 1}) {
        std::string padded = dictionary;
        padded.resize(static_cast<std::size_t>(size), ' ');
        ASSERT_TRUE(writeFileAtomically(settings, padded));
        read = readWithin5s(settings);
        if (size == kStoredPropertyListLimit) {
            EXPECT_TRUE(read.wasRead());
            continue;
        }
        EXPECT_EQ(read.state, StoredPropertyList::State::SetAside);
        EXPECT_EQ(read.fault, StoredPropertyList::Fault::TooLarge);
        EXPECT_NE(read.reportText().find("过大（超过 8 MB）"), std::string::npos);
        EXPECT_EQ(fs::file_size(read.setAsidePath), size);
    }
}
