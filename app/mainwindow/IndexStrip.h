#pragma once
// The strip along the main window's bottom edge: each composite index the
// market is published with (the reference data's own codes), its name, last
// value, change and percent, red when up and green when down, refreshed every
// 5 s by a MarketQuoteFeed of its own. Figures the quote service stopped
// answering stay, greyed. A click on an index asks for its chart.

#include <QWidget>
#include <string>
#include <vector>

#include "markettable/MarketQuoteFeed.h"

class QHBoxLayout;
class QLabel;

namespace orvane::app {

/// "深证成指 1234.56 +12.34 +1.01%": the name, value and change of an index
/// quote, the change signed; the name alone without a quote.
std::string indexStripText(const std::string& name, const MarketQuote* quote);

class IndexStrip : public QWidget {
    Q_OBJECT
  public:
    explicit IndexStrip(MarketQuoteFeed::Periods periods = {std::chrono::seconds(5),
                                                            std::chrono::seconds(5)},
                        QWidget* parent = nullptr);
    ~IndexStrip() override;

    /// Reads the composite codes again (after a reference update) and
    /// starts the feed when there are any.
    void reloadIndexes();
    void stop();

    const std::vector<std::string>& codes() const { return codes_; }
    /// The label showing an index, or nothing.
    QLabel* labelOf(const std::string& code) const;
    /// A round as the feed delivers it (tests drive it directly).
    void applyRound(const QuoteRound& round);

  Q_SIGNALS:
    void indexPicked(const QString& code);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    std::vector<std::string> codes_;
    std::vector<std::string> names_;
    std::vector<QLabel*> labels_;
    QHBoxLayout* layout_ = nullptr;
    MarketQuoteFeed feed_;
};

}  // namespace orvane::app
