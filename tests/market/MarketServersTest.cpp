#include "orvane/market/MarketServers.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace orvane {
namespace {

class MarketServersChoice : public ::testing::Test {
  protected:
    void SetUp() override { clear(); }
    void TearDown() override { clear(); }
    static void clear() {
        unsetenv(kDataServerVariable);
        unsetenv(kQuoteServerVariable);
    }
};

TEST_F(MarketServersChoice, OptionsOverVariablesOverDefaults) {
    const MarketServers defaults;
    MarketServers chosen = chooseMarketServers(std::nullopt, std::nullopt);
    EXPECT_EQ(chosen.dataServer, defaults.dataServer);
    EXPECT_EQ(chosen.quoteServer, defaults.quoteServer);

    setenv(kDataServerVariable, "http://10.0.0.2:9000/orvane/", 1);
    chosen = chooseMarketServers(std::nullopt, std::nullopt);
    EXPECT_EQ(chosen.dataServer, "http://10.0.0.2:9000/orvane");
    EXPECT_EQ(chosen.quoteServer, "http://10.0.0.2:9000/");  // the data server's host

    setenv(kQuoteServerVariable, "http://quotes.test/", 1);
    chosen = chooseMarketServers("http://h.test:81/base", std::string());
    EXPECT_EQ(chosen.dataServer, "http://h.test:81/base");
    EXPECT_EQ(chosen.quoteServer, "http://quotes.test/");
    chosen = chooseMarketServers(std::nullopt, "http://q.test:82/");
    EXPECT_EQ(chosen.dataServer, "http://10.0.0.2:9000/orvane");
    EXPECT_EQ(chosen.quoteServer, "http://q.test:82/");

    unsetenv(kQuoteServerVariable);
    EXPECT_EQ(chooseMarketServers("http://h.test:81/base", std::nullopt).quoteServer,
              "http://h.test:81/");
}

TEST_F(MarketServersChoice, QuoteServiceOfADataServer) {
    EXPECT_EQ(quoteServiceOf("http://127.0.0.1:8468/orvane"), "http://127.0.0.1:8468/");
    EXPECT_EQ(quoteServiceOf("http://h.test"), "http://h.test/");
    EXPECT_EQ(quoteServiceOf("h.test:9/a/b"), "http://h.test:9/");
    EXPECT_EQ(quoteServiceOf(MarketServers{}.dataServer), MarketServers{}.quoteServer);
}

}  // namespace
}  // namespace orvane
