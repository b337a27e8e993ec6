#include "PortfolioTable.h"

#include <cmath>

#include "orvane/core/NumberText.h"

namespace orvane::cli {

using namespace orvane::backtest;

namespace {

std::string percent(double fraction) {
    return std::isnan(fraction) ? "-" : format("%+.2f%%", fraction * 100);
}

std::string number(double value, const char* form) {
    return std::isnan(value) ? "-" : format(form, value);
}

std::string drawdown(const Results& r, const PortfolioFigures& f) {
    if (std::isnan(f.maxDrawdown)) return "-";
    return format("%.2f%% (%s to %s)", f.maxDrawdown * 100, r.days[f.peakDay].c_str(),
                  r.days[f.troughDay].c_str());
}

}  // namespace

std::string portfolioTable(const Results& r, const PortfolioRun& run, const PortfolioOptions& o,
                           const std::string& group) {
    std::string out = format(
        "Portfolio of the group %s, %s to %s: %.0f yuan in %d slots, lots of %d, sold after %d "
        "days",
        group.c_str(), r.options.from.c_str(), r.options.to.c_str(), o.capital, o.slots,
        kSharesALot, o.hold);
    if (o.stopLoss > 0) out += format(", stop-loss %.4g%%", o.stopLoss * 100);
    if (o.takeProfit > 0) out += format(", take-profit %.4g%%", o.takeProfit * 100);
    out += r.options.costs.charged ? ", with costs.\n" : ", without costs.\n";
    out += "Past data, not advice. Yearly figures over 242 trading days.\n\n";
    const PortfolioFigures& p = run.figures;
    const PortfolioFigures& m = run.market;
    const char* row = "%-22s %-36s %s\n";
    out += format(row, "", "portfolio", "market (equal-weighted)");
    auto line = [&](const char* name, const std::string& a, const std::string& b) {
        out += format(row, name, a.c_str(), b.c_str());
    };
    line("total return", percent(p.totalReturn), percent(m.totalReturn));
    line("annualised return", percent(p.annualReturn), percent(m.annualReturn));
    line("annualised volatility", number(p.volatility * 100, "%.2f%%"),
         number(m.volatility * 100, "%.2f%%"));
    line(format("Sharpe (rf %.4g%%)", o.riskFree * 100).c_str(), number(p.sharpe, "%.2f"),
         number(m.sharpe, "%.2f"));
    line("max drawdown", drawdown(r, p), drawdown(r, m));
    line("Calmar", number(p.calmar, "%.2f"), number(m.calmar, "%.2f"));
    line("win rate", number(p.winRate * 100, "%.1f%%"), "-");
    line("mean holding days", number(p.meanHoldingDays, "%.1f"), "-");
    line("turnover a year", number(p.turnover, "%.1f times"), "-");
    const EquityDay& last = run.equity.back();
    out += format("\nNet value %.2f yuan (cash %.2f, holdings %.2f); market %.2f.\n", last.net,
                  last.cash, last.holdings, last.market);
    out += format(
        "%zu trades; signals not bought: %zu not buyable (held, suspended or at the "
        "limit up), %zu without a free slot, %zu without the cash for a lot; %zu sales "
        "waited for a day they could be made.\n",
        run.trades.size(), run.notBuyable, run.noSlot, run.noCash, run.delayedSales);
    return out;
}

}  // namespace orvane::cli
