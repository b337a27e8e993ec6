#include "orvane/publisher/PinyinInitials.h"

#include <gtest/gtest.h>

using orvane::server::pinyinInitials;

TEST(PinyinInitials, StockNamesIncludingTheReadingsIcuGetsWrong) {
    EXPECT_EQ(pinyinInitials("浦发银行"), "PFYH");
    EXPECT_EQ(pinyinInitials("平安银行"), "PAYH");
    EXPECT_EQ(pinyinInitials("长江电力"), "CJDL");
    EXPECT_EQ(pinyinInitials("长安汽车"), "CAQC");
    EXPECT_EQ(pinyinInitials("重庆啤酒"), "CQPJ");
    EXPECT_EQ(pinyinInitials("万科A"), "WKA");
    EXPECT_EQ(pinyinInitials("*ST海润"), "STHR");
    EXPECT_EQ(pinyinInitials("贵州茅台"), "GZMT");
    EXPECT_EQ(pinyinInitials(""), "");
    EXPECT_EQ(pinyinInitials("\xff\xfe"), "");
}
