#pragma once
// The row of choices over a chart: the period (日K 周K 月K), the indicator
// under the volume (MACD KDJ) and, when the data server publishes the
// histories both adjusted and as traded, the prices (不复权 前复权). The
// chosen one of each group is drawn in yellow; a click chooses.

#include <QWidget>
#include <functional>
#include <vector>

#include "orvane/chart/KIndicators.h"
#include "orvane/chart/KPeriod.h"

namespace orvane::chart {

enum class KPrices { Traded, ForwardAdjusted };

/// "不复权", "前复权".
const char* pricesName(KPrices prices);

struct KChartChoices {
    KPeriod period = KPeriod::Day;
    KIndicator indicator = KIndicator::MACD;
    KPrices prices = KPrices::Traded;
    bool adjustedOffered = false;  // else only 不复权 is shown
};

class KChartOptionsBar : public QWidget {
  public:
    using Chosen = std::function<void(const KChartChoices&)>;
    KChartOptionsBar(Chosen chosen, QWidget* parent);

    const KChartChoices& choices() const { return choices_; }
    /// Shows `choices` without telling the owner.
    void setChoices(const KChartChoices& choices);

    struct Item {
        QString text;
        QRect frame;
        bool chosen = false;
        std::function<void(KChartChoices&)> choose;
    };
    /// The texts as now laid out, left to right.
    const std::vector<Item>& items() const { return items_; }
    /// Chooses the item under a point of the bar; false when none is there.
    bool clickAt(QPoint point);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    void layoutItems();

    Chosen chosen_;
    KChartChoices choices_;
    std::vector<Item> items_;
};

}  // namespace orvane::chart
