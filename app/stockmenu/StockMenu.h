#pragma once
// The one menu of a stock, opened by a right click on any table row that is
// a stock (its model answers kStockCodeRole):
//   诊断, 日K线, 分时, 加入持仓 / 删除持仓, 加入自选 › group, 设置价格提醒…,
//   复制代码, and the seven portals.
// What each item does is plugged in by the windows as providers; an item
// whose provider is not set shows disabled. A table may also take the
// Delete key, which removes its selected stock after a confirmation.

#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QAbstractItemView;
class QMenu;
class QWidget;

namespace orvane::app {

/// What the menu's items do. `list` is every stock of the table the menu
/// was opened from, in its order (for the chart's PageUp and PageDown).
struct StockMenuProviders {
    /// 诊断: the stock's verdict in the main window.
    std::function<void(const std::string& code)> diagnose;
    /// 日K线: the stock's day chart.
    std::function<void(const std::string& code, const std::vector<std::string>& list)> dayChart;
    /// 分时: the stock's intraday chart.
    std::function<void(const std::string& code, const std::vector<std::string>& list)> intraday;
    /// 加入持仓 / 删除持仓: whether it is held, and the two changes.
    std::function<bool(const std::string& code)> isHeld;
    std::function<void(const std::string& code)> addHolding;
    std::function<void(const std::string& code)> removeHolding;
    /// 加入自选 › group: the watch lists' groups, and adding to one.
    std::function<std::vector<std::string>()> watchGroups;
    std::function<void(const std::string& code, const std::string& group)> addToWatchGroup;
    /// 设置价格提醒…: the price-alert dialog for the stock.
    std::function<void(const std::string& code)> setPriceAlert;
};

/// The stocks of the table a menu was opened from, asked for only when an
/// item needs them (the back-test's signals are many).
using StockListSource = std::function<std::vector<std::string>()>;

/// Asks the user to confirm a removal; tests answer for the user.
using RemovalConfirmation = std::function<bool(QWidget* parent, const QString& question)>;

class StockMenu : public QObject {
    Q_OBJECT
  public:
    explicit StockMenu(QObject* parent = nullptr);

    StockMenuProviders& providers() { return providers_; }
    void setConfirmation(RemovalConfirmation confirm) { confirm_ = std::move(confirm); }

    /// The menu for one stock of a table.
    std::unique_ptr<QMenu> menuFor(const std::string& code, StockListSource list,
                                   QWidget* parent = nullptr);
    /// A right click on a row of the view opens the row's menu; Ctrl+C copies
    /// the selected row's code. Attaching a view twice changes nothing.
    void attach(QAbstractItemView* view);
    /// The Delete key on the view (and 删除… from elsewhere) removes the
    /// selected row's stock with `remove`, once the user confirms
    /// `question(code)`.
    void attachDeleteKey(QAbstractItemView* view,
                         std::function<QString(const std::string& code)> question,
                         std::function<void(const std::string& code)> remove);
    /// Removes a stock after asking; false when the user said no.
    bool confirmRemoval(QWidget* parent, const QString& question,
                        const std::function<void()>& remove) const;

    /// The menu of the row at `row` of `view` (tests; the right click uses it).
    std::unique_ptr<QMenu> menuForRow(QAbstractItemView* view, int row);

  private:
    StockMenuProviders providers_;
    RemovalConfirmation confirm_;
};

/// The text a code is named by in questions: "浦发银行(600000)", or the code.
QString stockLabel(const std::string& code);

}  // namespace orvane::app
