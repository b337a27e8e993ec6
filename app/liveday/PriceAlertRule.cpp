#include "liveday/PriceAlertRule.h"

#include <charconv>

#include "orvane/core/NumberText.h"

namespace orvane::app {

std::string_view kindText(PriceAlertKind kind) {
    switch (kind) {
        case PriceAlertKind::PriceAtLeast:
            return "价格 ≥";
        case PriceAlertKind::PriceAtMost:
            return "价格 ≤";
        case PriceAlertKind::ChangeAtLeast:
            return "涨跌幅 ≥";
        case PriceAlertKind::ChangeAtMost:
            return "涨跌幅 ≤";
        case PriceAlertKind::RiseSpeedAtLeast:
            return "涨速 ≥";
    }
    return "";
}

std::string_view kindKey(PriceAlertKind kind) {
    switch (kind) {
        case PriceAlertKind::PriceAtLeast:
            return "priceAtLeast";
        case PriceAlertKind::PriceAtMost:
            return "priceAtMost";
        case PriceAlertKind::ChangeAtLeast:
            return "changeAtLeast";
        case PriceAlertKind::ChangeAtMost:
            return "changeAtMost";
        case PriceAlertKind::RiseSpeedAtLeast:
            return "riseSpeedAtLeast";
    }
    return "";
}

std::optional<PriceAlertKind> kindOfKey(std::string_view key) {
    for (PriceAlertKind kind : kPriceAlertKinds)
        if (kindKey(kind) == key) return kind;
    return std::nullopt;
}

namespace {
bool isPrice(PriceAlertKind kind) {
    return kind == PriceAlertKind::PriceAtLeast || kind == PriceAlertKind::PriceAtMost;
}
}  // namespace

std::string conditionText(const PriceAlert& alert) {
    return std::string(kindText(alert.kind)) + (isPrice(alert.kind)
                                                    ? format(" %.2f", alert.threshold)
                                                    : format(" %.2f%%", alert.threshold));
}

ThresholdRead readThreshold(std::string_view text, PriceAlertKind kind) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    if (!isPrice(kind) && text.ends_with('%')) text.remove_suffix(1);
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return {std::nullopt, "请输入一个数字"};
    if (isPrice(kind) && value < 0) return {std::nullopt, "价格不能为负数"};
    return {value, ""};
}

bool alertHolds(const PriceAlert& alert, const QuoteFigures& f) {
    switch (alert.kind) {
        case PriceAlertKind::PriceAtLeast:
            return f.price > 0 && f.price >= alert.threshold;
        case PriceAlertKind::PriceAtMost:
            return f.price > 0 && f.price <= alert.threshold;
        case PriceAlertKind::ChangeAtLeast:
            return f.price > 0 && f.changePercent >= alert.threshold;
        case PriceAlertKind::ChangeAtMost:
            return f.price > 0 && f.changePercent <= alert.threshold;
        case PriceAlertKind::RiseSpeedAtLeast:
            return f.riseSpeed && *f.riseSpeed >= alert.threshold;
    }
    return false;
}

std::vector<PriceAlert> PriceAlertWatch::crossings(const std::vector<PriceAlert>& alerts,
                                                   std::string_view code,
                                                   const QuoteFigures& figures) {
    std::vector<PriceAlert> crossed;
    for (const PriceAlert& alert : alerts) {
        if (alert.code != code) continue;
        const bool holds = alertHolds(alert, figures);
        bool& held = holding_[{alert.code, alert.kind, alert.threshold}];
        if (holds && !held) crossed.push_back(alert);
        held = holds;
    }
    return crossed;
}

}  // namespace orvane::app
