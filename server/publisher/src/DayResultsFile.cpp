#include "orvane/publisher/DayResultsFile.h"

#include <charconv>
#include <cmath>

namespace orvane::server {

namespace {

double priceOf(std::string_view text) {
    double v = 0;
    std::from_chars(text.data(), text.data() + text.size(), v);
    return v;
}

// Undefined gains (a zero base) are written as 0, as the result files do.
double gainOf(float g) {
    return std::isfinite(g) ? g : 0.0;
}

}  // namespace

DayResult dayResultOf(const ListedStock& stock, const DayVerdict& day) {
    DayResult r;
    r.code = stock.code;
    r.name = stock.name;
    r.date = day.date;
    r.trend = day.result.trend;
    r.score = day.result.score;
    r.modelB = day.result.modeB;
    r.buyA = day.result.buyA;
    r.buyB = day.result.buyB;
    r.gain5 = gainOf(day.gain5);
    r.gain10 = gainOf(day.gain10);
    r.yesClose = priceOf(day.yesClose);
    r.open = priceOf(day.open);
    r.high = priceOf(day.high);
    r.low = priceOf(day.low);
    r.close = priceOf(day.close);
    return r;
}

}  // namespace orvane::server
