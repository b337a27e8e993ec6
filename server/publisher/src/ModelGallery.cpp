#include "orvane/publisher/ModelGallery.h"

#include <zlib.h>

#include <algorithm>
#include <set>

#include "orvane/core/NumberText.h"
#include "orvane/market/ServerPaths.h"
#include "orvane/publisher/StockFiles.h"

namespace orvane::server {

namespace {

void putBigEndian(std::string& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<char>((v >> shift) & 0xFF));
}

void chunk(std::string& png, const char* type, const std::string& data) {
    putBigEndian(png, static_cast<std::uint32_t>(data.size()));
    const std::string typed = std::string(type, 4) + data;
    png += typed;
    putBigEndian(png,
                 static_cast<std::uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(typed.data()),
                                                  static_cast<uInt>(typed.size()))));
}

// A raster with the few drawing operations the chart needs.
class Canvas {
  public:
    Canvas(int w, int h) : w_(w), h_(h), rgb_(static_cast<std::size_t>(w * h * 3), 0) {}
    void fill(int x0, int y0, int x1, int y1, std::uint32_t colour) {
        for (int y = std::max(0, std::min(y0, y1)); y <= std::min(h_ - 1, std::max(y0, y1)); ++y)
            for (int x = std::max(0, std::min(x0, x1)); x <= std::min(w_ - 1, std::max(x0, x1));
                 ++x) {
                std::uint8_t* p = &rgb_[static_cast<std::size_t>((y * w_ + x) * 3)];
                p[0] = static_cast<std::uint8_t>(colour >> 16);
                p[1] = static_cast<std::uint8_t>(colour >> 8);
                p[2] = static_cast<std::uint8_t>(colour);
            }
    }
    std::string png() const { return encodePng(w_, h_, rgb_); }

  private:
    int w_, h_;
    std::vector<std::uint8_t> rgb_;
};

constexpr std::uint32_t kRising = 0xFF3232, kFalling = 0x00E600, kMark = 0xFFFF00, kGrid = 0x505050;

}  // namespace

std::string encodePng(int width, int height, const std::vector<std::uint8_t>& rgb) {
    std::string raw;
    raw.reserve(static_cast<std::size_t>((width * 3 + 1) * height));
    for (int y = 0; y < height; ++y) {
        raw.push_back(0);  // no filter
        raw.append(reinterpret_cast<const char*>(&rgb[static_cast<std::size_t>(y * width * 3)]),
                   static_cast<std::size_t>(width * 3));
    }
    uLongf size = compressBound(static_cast<uLong>(raw.size()));
    std::string packed(size, '\0');
    compress2(reinterpret_cast<Bytef*>(packed.data()), &size,
              reinterpret_cast<const Bytef*>(raw.data()), static_cast<uLong>(raw.size()),
              Z_BEST_COMPRESSION);
    packed.resize(size);

    std::string png("\x89PNG\r\n\x1a\n", 8), header;
    putBigEndian(header, static_cast<std::uint32_t>(width));
    putBigEndian(header, static_cast<std::uint32_t>(height));
    header += std::string("\x08\x02\x00\x00\x00", 5);  // 8-bit RGB
    chunk(png, "IHDR", header);
    chunk(png, "IDAT", packed);
    chunk(png, "IEND", "");
    return png;
}

std::string galleryPicture(const ModelHit& hit, int width, int height) {
    const std::vector<DailyBar>& bars = hit.stock->bars;
    const auto at = std::find_if(bars.begin(), bars.end(),
                                 [&](const DailyBar& b) { return b.date == hit.day.date; });
    const std::size_t hitIndex = static_cast<std::size_t>(at - bars.begin());
    const std::size_t first = hitIndex > 60 ? hitIndex - 60 : 0;
    const std::size_t last = std::min(bars.size(), hitIndex + 21);
    double low = 1e300, high = -1e300;
    for (std::size_t i = first; i < last; ++i)
        low = std::min(low, bars[i].low), high = std::max(high, bars[i].high);
    if (!(high > low)) high = low + 1;

    Canvas canvas(width, height);
    const int margin = 10, plotHeight = height - 2 * margin;
    auto yOf = [&](double price) {
        return margin + static_cast<int>((high - price) / (high - low) * plotHeight);
    };
    for (int g = 0; g <= 4; ++g)
        canvas.fill(0, margin + g * plotHeight / 4, width - 1, margin + g * plotHeight / 4, kGrid);
    const int step = std::max(
        3, (width - 2 * margin) / static_cast<int>(std::max<std::size_t>(last - first, 1)));
    for (std::size_t i = first; i < last; ++i) {
        const DailyBar& b = bars[i];
        const int x = margin + static_cast<int>(i - first) * step;
        const std::uint32_t colour = b.close >= b.open ? kRising : kFalling;
        if (i == hitIndex) canvas.fill(x - 1, margin, x + step - 1, margin + 2, kMark);
        canvas.fill(x + step / 2 - 1, yOf(b.high), x + step / 2 - 1, yOf(b.low), colour);
        canvas.fill(x, yOf(std::max(b.open, b.close)), x + step - 2, yOf(std::min(b.open, b.close)),
                    colour);
    }
    return canvas.png();
}

std::string galleryText(const ModelHit& hit) {
    const DayVerdict& d = hit.day;
    std::string buy = d.result.buyA.value_or(false) && d.result.buyB.value_or(false)
                          ? "买点A和买点B"
                      : d.result.buyB.value_or(false) ? "买点B（第二买点）"
                                                      : "买点A";
    const double yesClose = leadingDouble(d.yesClose);
    const double change = yesClose > 0 ? (leadingDouble(d.close) / yesClose - 1.0) * 100.0 : 0.0;
    return hit.stock->listing.name + "（" + hit.stock->listing.code + "）于 " + d.date +
           " 出现模型B的" + buy + "：此前横盘整理，收盘价 " + d.close + " 接近百日高点，" +
           format("当日涨幅 %.2f%%。\n", change) +
           format("5日涨幅 %.2f%%，10日涨幅 %.2f%%，得分 %d。\n", double{d.gain5}, double{d.gain10},
                  d.result.score) +
           "图中黄色标记为出现模型B的交易日，其后为随后的走势。\n";
}

bool writeModelGallery(const std::filesystem::path& tree, std::vector<ModelHit> hits,
                       std::size_t count) {
    std::stable_sort(hits.begin(), hits.end(),
                     [](const ModelHit& a, const ModelHit& b) { return a.day.date > b.day.date; });
    std::set<std::string> seen;
    std::size_t pages = 0;
    bool ok = true;
    const std::filesystem::path folder =
        tree / std::filesystem::path(std::string(serverpath::kTrendUpModeFolder)).relative_path();
    for (const ModelHit& hit : hits) {
        if (pages == count) break;
        if (!seen.insert(hit.stock->listing.code).second) continue;
        const int number = 1001 + static_cast<int>(pages++);
        ok = ok && writeTreeFile(folder / (std::to_string(number) + ".png"), galleryPicture(hit)) &&
             writeTreeFile(folder / (std::to_string(number) + ".txt"), galleryText(hit));
    }
    return ok && writeTreeFile(folder / "modeini.txt", "count=" + std::to_string(pages));
}

}  // namespace orvane::server
