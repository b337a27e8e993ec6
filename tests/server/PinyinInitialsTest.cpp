#include "orvane/publisher/PinyinInitials.h"

#include <gtest/gtest.h>

TEST(PinyinInitials, StockNamesIncludingTheReadingsIcuGetsWrong) {
    for (auto [name, initials] : {std::pair{"浦发银行", "PFYH"},
                                  {"平安银行", "PAYH"},
                                  {"长江电力", "CJDL"},
                                  {"长安汽车", "CAQC"},
                                  {"重庆啤酒", "CQPJ"},
                                  {"万科A", "WKA"},
                                  {"*ST海润", "STHR"},
                                  {"贵州茅台", "GZMT"},
                                  {"", ""},
                                  {"\xff\xfe", ""}})
        EXPECT_EQ(orvane::server::pinyinInitials(name), initials) << name;
}
