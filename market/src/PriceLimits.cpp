#include "orvane/market/PriceLimits.h"

#include <cmath>

namespace orvane {

namespace {

// The dates on which the exchanges changed a board's rules.
constexpr std::string_view kChiNextRegistration = "2020-08-24";
constexpr std::string_view kMainBoardRegistration = "2023-04-10";
// Risk-warned (ST) shares of the main board move within 10% like the others
// from this day on (they had 5% before).
constexpr std::string_view kMainBoardStAtTenPercent = "2025-07-07";

bool freedOnListing(Board board, std::string_view date) {
    switch (board) {
        case Board::Star:
            return true;
        case Board::ChiNext:
            return date >= kChiNextRegistration;
        case Board::Main:
            return date >= kMainBoardRegistration;
    }
    return false;
}

}  // namespace

Board boardOf(std::string_view code) {
    if (code.starts_with("30")) return Board::ChiNext;
    if (code.starts_with("68")) return Board::Star;
    return Board::Main;
}

bool isRiskWarned(std::string_view name) {
    return name.find("ST") != std::string_view::npos;
}

namespace {

constexpr double kCents = 100, kSlack = 1e-7;  // the slack absorbs binary rounding

double roundedToCent(double price) {
    return std::floor(price * kCents + 0.5 + kSlack) / kCents;
}

}  // namespace

bool atLimitUp(double price, double previousClose, double limit) {
    return price >= roundedToCent(previousClose * (1.0 + limit)) - kSlack ||
           price / previousClose - 1.0 >= limit - 0.001 - kSlack;
}

bool atLimitDown(double price, double previousClose, double limit) {
    return price <= roundedToCent(previousClose * (1.0 - limit)) + kSlack ||
           price / previousClose - 1.0 <= -limit + 0.001 + kSlack;
}

std::optional<double> dailyLimitOf(Board board, std::string_view date, bool st, int listingDay) {
    if (listingDay >= 0 && listingDay < kUnlimitedListingDays && freedOnListing(board, date))
        return std::nullopt;
    switch (board) {
        case Board::Star:
            return 0.20;
        case Board::ChiNext:
            if (date >= kChiNextRegistration) return 0.20;
            return st ? 0.05 : 0.10;
        case Board::Main:
            return st && date < kMainBoardStAtTenPercent ? 0.05 : 0.10;
    }
    return 0.10;
}

}  // namespace orvane
