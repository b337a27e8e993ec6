#include "orvane/backtest/Portfolio.h"

#include <algorithm>
#include <cmath>
#include <unordered_set>

#include "StockDays.h"

namespace orvane::backtest {

namespace {

struct Position {
    Trade trade;
    const StockDays* stock = nullptr;
    std::size_t row = 0;            // the latest day of the stock not after today
    std::uint32_t holdEnds = 0;     // the calendar day of the sale at the close
    std::optional<ExitReason> due;  // a sale waiting for an open or close it can be made at
    double lastClose = 0;
};

// Moves the position's row to today's day (or the last before it); true
// when the stock has a line today.
bool onDay(Position& p, std::uint32_t day) {
    const std::vector<PriceDay>& days = p.stock->days;
    while (p.row + 1 < days.size() && days[p.row + 1].day <= static_cast<std::int32_t>(day))
        ++p.row;
    return days[p.row].day == static_cast<std::int32_t>(day);
}

std::size_t rowOf(const StockDays& stock, std::uint32_t day) {
    const auto at =
        std::lower_bound(stock.days.begin(), stock.days.end(), static_cast<std::int32_t>(day),
                         [](const PriceDay& d, std::int32_t wanted) { return d.day < wanted; });
    return at != stock.days.end() && at->day == static_cast<std::int32_t>(day)
               ? static_cast<std::size_t>(at - stock.days.begin())
               : stock.days.size();
}

class Simulation {
  public:
    Simulation(const Results& results, const PortfolioOptions& options)
        : r_(results), o_(options), cash_(options.capital) {}

    PortfolioRun run(const std::vector<std::vector<std::uint32_t>>& candidates) {
        for (std::size_t i = 0; i < r_.baseline.size(); ++i) {
            const std::uint32_t day = r_.baseline[i].day;
            const std::int32_t date = dateOf(day);
            for (Position& p : held_)
                if (onDay(p, day) && p.due && sellableAtOpen(*p.stock, p.row))
                    sell(p, p.stock->days[p.row].open, day, date);
            settle();
            if (i > 0) buy(candidates[i - 1], day, date);
            for (Position& p : held_) close(p, day, date);
            settle();
            double holdings = 0;
            for (const Position& p : held_) holdings += p.trade.shares * p.lastClose;
            out_.equity.push_back(
                {day, cash_, holdings, cash_ + holdings, o_.capital * r_.baseline[i].level});
        }
        for (Position& p : held_) {
            const double value = p.trade.shares * p.lastClose;
            p.trade.exitPrice = p.lastClose;
            p.trade.exitDay = r_.baseline.back().day;
            p.trade.reason = ExitReason::OpenAtEnd;
            p.trade.ret = value / (p.trade.shares * p.trade.entryPrice + p.trade.buyCost) - 1;
            out_.trades.push_back(p.trade);
        }
        std::stable_sort(out_.trades.begin(), out_.trades.end(),
                         [](const Trade& a, const Trade& b) { return a.entryDay < b.entryDay; });
        std::vector<double> net, market;
        std::vector<std::uint32_t> days;
        for (const EquityDay& e : out_.equity) {
            net.push_back(e.net);
            market.push_back(e.market);
            days.push_back(e.day);
        }
        out_.figures = portfolioFigures(net, days, out_.trades, o_.riskFree);
        out_.market = portfolioFigures(market, days, {}, o_.riskFree);
        return std::move(out_);
    }

  private:
    std::int32_t dateOf(std::uint32_t day) const {
        const std::string& text = r_.days[day];
        return std::stoi(text.substr(0, 4)) * 10000 + std::stoi(text.substr(5, 2)) * 100 +
               std::stoi(text.substr(8, 2));
    }

    void sell(Position& p, double price, std::uint32_t day, std::int32_t date) {
        const double amount = p.trade.shares * price;
        p.trade.sellCost = sellCost(amount, date, r_.options.costs);
        cash_ += amount - p.trade.sellCost;
        p.trade.exitPrice = price;
        p.trade.exitDay = day;
        p.trade.reason = *p.due;
        p.trade.ret =
            (amount - p.trade.sellCost) / (p.trade.shares * p.trade.entryPrice + p.trade.buyCost) -
            1;
        p.trade.delayed = p.trade.delayed || (day > p.holdEnds && *p.due == ExitReason::Hold);
        out_.delayedSales += p.trade.delayed;
        out_.trades.push_back(p.trade);
        heldStocks_.erase(p.trade.stock);
        p.stock = nullptr;  // sold: settle() takes it out
    }

    void settle() {
        std::erase_if(held_, [](const Position& p) { return p.stock == nullptr; });
    }

    // The close of a held stock: its value, the hold's end, the stops.
    void close(Position& p, std::uint32_t day, std::int32_t date) {
        const bool trades = onDay(p, day) && p.stock->days[p.row].traded;
        if (trades) p.lastClose = p.stock->days[p.row].close;
        if (day <= p.trade.entryDay) {
            checkStops(p, trades);
            return;
        }
        // A stop due now was due at the open, which had no sale.
        if (p.due && *p.due != ExitReason::Hold) p.trade.delayed = true;
        if (!p.due && day >= p.holdEnds) p.due = ExitReason::Hold;
        if (p.due && trades && sellableAtClose(*p.stock, p.row)) {
            sell(p, p.lastClose, day, date);
            return;
        }
        checkStops(p, trades);
    }

    void checkStops(Position& p, bool trades) {
        if (p.due || !trades) return;
        const double move = p.lastClose / p.trade.entryPrice - 1;
        if (o_.stopLoss > 0 && move <= -o_.stopLoss) p.due = ExitReason::StopLoss;
        if (o_.takeProfit > 0 && move >= o_.takeProfit) p.due = ExitReason::TakeProfit;
    }

    double netValueAtOpen(std::uint32_t day) {
        double value = cash_;
        for (Position& p : held_) {
            const bool trades = onDay(p, day) && p.stock->days[p.row].traded;
            value += p.trade.shares * (trades ? p.stock->days[p.row].open : p.lastClose);
        }
        return value;
    }

    void buy(const std::vector<std::uint32_t>& signals, std::uint32_t day, std::int32_t date) {
        if (signals.empty()) return;
        const double slot = netValueAtOpen(day) / o_.slots;
        for (std::size_t k = 0; k < signals.size(); ++k) {
            if (held_.size() >= static_cast<std::size_t>(o_.slots)) {
                out_.noSlot += signals.size() - k;  // every slot is taken for the rest
                return;
            }
            const Signal& s = r_.signals[signals[k]];
            const StockDays& stock = r_.prices->stocks[s.stock];
            const std::size_t row = rowOf(stock, day);
            if (heldStocks_.count(s.stock) || row == stock.days.size() || !stock.days[row].traded ||
                atLimitUpOn(stock, row, stock.days[row].open)) {
                ++out_.notBuyable;
                continue;
            }
            const double price = stock.days[row].open;
            long shares =
                static_cast<long>(std::min(slot, cash_) / (price * kSharesALot)) * kSharesALot;
            auto costOf = [&](long n) { return buyCost(n * price, date, r_.options.costs); };
            while (shares > 0 && shares * price + costOf(shares) > cash_) shares -= kSharesALot;
            if (shares == 0) {
                ++out_.noCash;
                continue;
            }
            Position p;
            p.stock = &stock;
            p.row = row;
            p.lastClose = stock.days[row].close;
            p.trade.stock = s.stock;
            p.trade.signalDay = s.day;
            p.trade.entryDay = day;
            p.trade.entryPrice = price;
            p.trade.shares = shares;
            p.trade.buyCost = costOf(shares);
            p.holdEnds = std::max(s.day + static_cast<std::uint32_t>(o_.hold), day + 1);
            cash_ -= shares * price + p.trade.buyCost;
            heldStocks_.insert(s.stock);
            held_.push_back(p);
            ++out_.bought;
        }
    }

    const Results& r_;
    const PortfolioOptions& o_;
    double cash_ = 0;
    std::vector<Position> held_;
    std::unordered_set<std::uint32_t> heldStocks_;
    PortfolioRun out_;
};

}  // namespace

const char* exitReasonName(ExitReason reason) {
    switch (reason) {
        case ExitReason::Hold:
            return "hold";
        case ExitReason::StopLoss:
            return "stop-loss";
        case ExitReason::TakeProfit:
            return "take-profit";
        case ExitReason::OpenAtEnd:
            return "open";
    }
    return "";
}

std::optional<std::string> checkPortfolioOptions(const PortfolioOptions& o) {
    if (!(o.capital >= 10'000 && o.capital <= 1e12))
        return "the capital runs from 10,000 yuan to 1,000 billion";
    if (o.slots < 1 || o.slots > 1000) return "the slots run from 1 to 1000";
    if (o.hold < 1 || o.hold > kLongestHorizon)
        return "a hold runs from 1 to " + std::to_string(kLongestHorizon) + " trading days";
    if (!(o.stopLoss >= 0 && o.stopLoss < 1)) return "a stop-loss is a fall under 100%";
    if (!(o.takeProfit >= 0 && o.takeProfit <= 100)) return "a take-profit runs up to 10000%";
    if (!(o.riskFree > -1 && o.riskFree < 1)) return "a risk-free rate is a share of under 100%";
    return std::nullopt;
}

PortfolioRun runPortfolio(const Results& results,
                          const std::vector<std::vector<std::uint32_t>>& candidates,
                          const PortfolioOptions& options) {
    Simulation simulation(results, options);
    return simulation.run(candidates);
}

}  // namespace orvane::backtest
