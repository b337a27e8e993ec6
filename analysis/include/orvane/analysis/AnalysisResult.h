#pragma once
// What one analysis run of a stock leaves behind.

#include <cstdint>
#include <optional>
#include <string>

namespace orvane {

/// Today's trade of the stock under analysis, as the engine reads it.
struct TodayTrade {
    std::string code;
    float open = 0;
    float close = 0;
    float yesClose = 0;
};

struct AnalysisResult {
    std::int32_t trend = 0;    // final trend code (-1, 0..3, 1000, 1001)
    std::int32_t score = 100;  // stock score
    float keyPrice = 0;        // highest close of the sideways regions
    float end5 = 1.0f;         // base of the 5-day gain
    float end10 = 1.0f;        // base of the 10-day gain
    bool modeB = false;
    std::optional<bool> buyA;  // set when the model-B check ran
    std::optional<bool> buyB;
    std::optional<bool> accel;                  // set when the acceleration test ran
    std::uint32_t t10 = 0, t180 = 0, t300 = 0;  // window trend codes
};

}  // namespace orvane
