#include "common/ColourScheme.h"

#include <array>
#include <atomic>
#include <cmath>
#include <cstdint>

namespace orvane::app {

namespace {

std::atomic<ColourScheme> shown{ColourScheme::Light};

constexpr std::uint32_t rgb8(const Rgb& c) {
    auto channel = [](double v) { return std::uint32_t(std::lround(v * 255)); };
    return channel(c.red) << 16 | channel(c.green) << 8 | channel(c.blue);
}

constexpr Rgb rgbOf(int r, int g, int b) {
    return {r / 255.0, g / 255.0, b / 255.0};
}

struct DarkEntry {
    std::uint32_t light;
    Rgb dark;
};

// The light colours of the program's texts, as the lists, panels and
// verdicts draw them, and what each becomes on a dark background.
const std::array kDarkTable{
    DarkEntry{0x000000, rgbOf(230, 230, 230)},  // black text
    DarkEntry{0x0a5014, rgbOf(70, 205, 95)},    // falling figures' dark green
    DarkEntry{0x0a500a, rgbOf(70, 205, 95)},    // history's dark green
    DarkEntry{0x0000ff, rgbOf(110, 165, 255)},  // blue verdicts
    DarkEntry{0x800080, rgbOf(215, 140, 240)},  // purple verdicts
    DarkEntry{0x555555, rgbOf(175, 175, 175)},  // dark grey
    DarkEntry{0x808080, rgbOf(185, 185, 185)},  // grey of a pending verdict
    DarkEntry{0xff0000, rgbOf(255, 85, 85)},    // red
    DarkEntry{0xff0a0a, rgbOf(255, 85, 85)},    // rising figures' red
    DarkEntry{0xc80000, rgbOf(255, 95, 95)},    // the stale-data clock
    DarkEntry{0xc0392b, rgbOf(255, 110, 100)},  // a refusal under a form
    DarkEntry{0x8e1b12, rgbOf(255, 125, 110)},  // the back-test's caution
};

}  // namespace

ColourScheme schemeFor(Appearance choice, std::optional<ColourScheme> desktop) {
    switch (choice) {
        case Appearance::Light:
            return ColourScheme::Light;
        case Appearance::Dark:
            return ColourScheme::Dark;
        default:
            return desktop.value_or(ColourScheme::Light);
    }
}

std::optional<ColourScheme> schemeOfPortalValue(unsigned value) {
    if (value == 1) return ColourScheme::Dark;
    if (value == 2) return ColourScheme::Light;
    return std::nullopt;
}

std::string_view appearanceWord(Appearance choice) {
    switch (choice) {
        case Appearance::Light:
            return "light";
        case Appearance::Dark:
            return "dark";
        default:
            return "system";
    }
}

Appearance appearanceOfWord(std::string_view word) {
    if (word == "light") return Appearance::Light;
    if (word == "dark") return Appearance::Dark;
    return Appearance::FollowSystem;
}

Rgb readableColour(const Rgb& c, ColourScheme scheme) {
    if (scheme == ColourScheme::Light) return c;
    const std::uint32_t key = rgb8(c);
    for (const DarkEntry& entry : kDarkTable)
        if (entry.light == key) return entry.dark;
    return c;
}

ColourScheme shownColourScheme() {
    return shown.load(std::memory_order_relaxed);
}

void setShownColourScheme(ColourScheme scheme) {
    shown.store(scheme, std::memory_order_relaxed);
}

}  // namespace orvane::app
