#pragma once
// A price alert of one stock: 价格 ≥ / ≤ X, 涨跌幅 ≥ / ≤ Y%, 涨速 ≥ Z, and
// the watch that raises each alert once per crossing: when its condition
// comes true after it was false (or at the first quote seen after it was
// set), not again while it stays true.

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvane::app {

enum class PriceAlertKind {
    PriceAtLeast,
    PriceAtMost,
    ChangeAtLeast,
    ChangeAtMost,
    RiseSpeedAtLeast
};

inline constexpr PriceAlertKind kPriceAlertKinds[] = {
    PriceAlertKind::PriceAtLeast, PriceAlertKind::PriceAtMost, PriceAlertKind::ChangeAtLeast,
    PriceAlertKind::ChangeAtMost, PriceAlertKind::RiseSpeedAtLeast};

struct PriceAlert {
    std::string code;
    PriceAlertKind kind = PriceAlertKind::PriceAtLeast;
    double threshold = 0;
    friend bool operator==(const PriceAlert&, const PriceAlert&) = default;
};

/// "价格 ≥", "价格 ≤", "涨跌幅 ≥", "涨跌幅 ≤", "涨速 ≥".
std::string_view kindText(PriceAlertKind kind);
/// The stored word of a kind ("priceAtLeast", …) and back.
std::string_view kindKey(PriceAlertKind kind);
std::optional<PriceAlertKind> kindOfKey(std::string_view key);

/// "价格 ≥ 10.50", "涨跌幅 ≤ -3.00%", "涨速 ≥ 1.00%".
std::string conditionText(const PriceAlert& alert);

/// The threshold typed for a kind: a number (blanks around it allowed),
/// never negative for a price; why not otherwise.
struct ThresholdRead {
    std::optional<double> value;
    std::string refusal;
};
ThresholdRead readThreshold(std::string_view text, PriceAlertKind kind);

/// What a quote tells the alerts: price, change in percent from the
/// previous close, and 涨速 when known.
struct QuoteFigures {
    double price = 0;
    double changePercent = 0;
    std::optional<double> riseSpeed;
};

/// Does the alert's condition hold? Never without the figure it needs.
bool alertHolds(const PriceAlert& alert, const QuoteFigures& figures);

class PriceAlertWatch {
  public:
    /// The alerts of `code` among `alerts` that cross now: they hold, and
    /// did not at the last check of that alert.
    std::vector<PriceAlert> crossings(const std::vector<PriceAlert>& alerts, std::string_view code,
                                      const QuoteFigures& figures);

  private:
    struct Key {
        std::string code;
        PriceAlertKind kind;
        double threshold;
        friend auto operator<=>(const Key&, const Key&) = default;
    };
    std::map<Key, bool> holding_;
};

}  // namespace orvane::app
