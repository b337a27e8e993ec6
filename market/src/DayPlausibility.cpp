#include "orvane/market/DayPlausibility.h"

#include <charconv>

namespace orvane {

namespace {

std::string number(double value) {
    char text[32];
    return std::string(text, std::to_chars(text, text + sizeof text, value).ptr);
}

}  // namespace

std::optional<std::string> impossibilityOf(const DailyBar& day, std::string_view today) {
    const std::pair<const char*, double> prices[] = {
        {"open", day.open}, {"high", day.high}, {"low", day.low}, {"close", day.close}};
    for (const auto& [name, price] : prices)
        if (!(price > 0))
            return std::string("the ") + name + " " + number(price) + " is not above 0";
    for (const auto& [name, price] : prices)
        if (day.high < price)
            return "the high " + number(day.high) + " is below the " + name + " " + number(price);
    if (day.volume < 0) return "the volume " + number(day.volume) + " is negative";
    if (!today.empty() && day.date > today)
        return day.date + " is after today (" + std::string(today) + ")";
    return std::nullopt;
}

std::optional<std::string> impossibleMoveFrom(double previousClose, const DailyBar& day) {
    const std::pair<const char*, double> prices[] = {
        {"open", day.open}, {"high", day.high}, {"low", day.low}, {"close", day.close}};
    for (const auto& [name, price] : prices)
        if (price > previousClose * kImpossibleMoveFactor ||
            price < previousClose / kImpossibleMoveFactor)
            return std::string("the ") + name + " " + number(price) +
                   " is beyond ten times or a tenth of the close " + number(previousClose) +
                   " the day before";
    return std::nullopt;
}

}  // namespace orvane
