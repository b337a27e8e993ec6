#include "orvane/publisher/ReferenceData.h"

#include <gtest/gtest.h>

#include "TempDataDir.h"
#include "orvane/core/AtomicFile.h"
#include "orvane/core/ReferenceArchive.h"
#include "orvane/core/TextEncoding.h"
#include "orvane/market/CodeTable.h"

using namespace orvane;
using namespace orvane::server;

TEST(ReferenceData, ArchiveInstallsAndItsCodeTableReadsBack) {
    test::TempDataDir dir;
    const std::vector<ListedStock> stocks = {{"600000", "浦发银行", "银行", ""},
                                             {"000001", "平安银行", "银行", ""},
                                             {"000002", "万科A", "全国地产", "WKA"},
                                             {"600519", "贵州茅台", "白/酒", ""}};
    const std::vector<CompositeIndex> composites = {{"399001", "深证成指", {"000001", "000002"}}};
    std::string error;
    const auto zip = dir.path() / "constdata.zip";
    ASSERT_TRUE(writeReferenceArchive(zip, stocks, composites, error)) << error;

    const ArchiveInstallResult installed = installReferenceArchive(zip, dir.path());
    ASSERT_TRUE(installed.installed) << installed.reason;
    const auto table = readFile(dir.path() / "constdata/stockcode/code.txt");
    ASSERT_TRUE(table);
    EXPECT_EQ(table->substr(0, 2), "\xFF\xFE");  // UTF-16 with a byte-order mark
    EXPECT_EQ(*utf16ToUtf8(*table),
              "600000\t浦发银行\tPFYH\n000001\t平安银行\tPAYH\n000002\t万科A\tWKA\n"
              "600519\t贵州茅台\tGZMT\n");
    EXPECT_EQ(*readFile(dir.path() / "constdata/plate/银行.txt"), "600000\n000001\n");
    EXPECT_TRUE(std::filesystem::exists(dir.path() / "constdata/plate/白_酒.txt"));
    EXPECT_EQ(fileNameOf(".."), "_..");  // never a folder's name
    EXPECT_EQ(*readFile(dir.path() / "constdata/composit/399001深证成指.txt"), "000001\n000002\n");
}
