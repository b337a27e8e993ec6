#pragma once
// The trend-up model gallery: pages numbered from 1001, each a chart picture
// of a real model-B day of the published market and a text explaining it,
// with "modeini.txt" giving the count.

#include <filesystem>
#include <string>
#include <vector>

#include "orvane/publisher/DailySeries.h"
#include "orvane/publisher/DayVerdicts.h"

namespace orvane::server {

struct ModelHit {
    const StockSeries* stock = nullptr;
    DayVerdict day;
};

/// The chart picture of a hit as PNG bytes: the candles of the days around it
/// on black, rising red and falling green, the hit day marked in yellow.
std::string galleryPicture(const ModelHit& hit, int width = 640, int height = 360);

/// The page's text (UTF-8).
std::string galleryText(const ModelHit& hit);

/// Picks at most `count` hits, newest first, one a stock, and writes
/// trendupmode/modeini.txt with 1001.png, 1001.txt, ... below `tree`.
bool writeModelGallery(const std::filesystem::path& tree, std::vector<ModelHit> hits,
                       std::size_t count = 24);

/// A minimal PNG of 8-bit RGB pixels (rows top to bottom).
std::string encodePng(int width, int height, const std::vector<std::uint8_t>& rgb);

}  // namespace orvane::server
