#pragma once
// The chart window and its tabs: up to ten charts, one per stock, each a
// KBaseView with a KInfoButton in the row along the top, titled with the
// stock's name and code. Opening a stock selects its tab (a new one, or the
// one it has, reloaded from the file) and brings the window to the front,
// un-minimised and active; the tab buttons' notifications select and close
// tabs; closing the last tab or the window hides the window and forgets
// every chart. A stock's 分时 has a tab of its own beside its K-line
// ("分时 浦发银行 600000"), an IntradayView in place of the KBaseView.

#include <QObject>
#include <QSize>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "orvane/core/NotificationBus.h"

namespace orvane::chart {

class IntradayView;
class KBaseView;
class KInfoButton;
class KWindow;

inline constexpr int kMaxChartTabs = 10;
inline constexpr int kTabRowHeight = 20;  // the tab buttons' row above the charts
inline constexpr int kTabButtonGap = 1;   // between two tab buttons
// Narrower, a title is unreadable: a row of such tabs may run past the window's edge.
inline constexpr int kMinTabButtonWidth = 60;

class KWindowController : public QObject {
    Q_OBJECT
  public:
    /// Gives a stock's name for its code, or "" when unknown.
    using NameLookup = std::function<std::string(const std::string& code)>;

    explicit KWindowController(NameLookup nameLookup = {}, QObject* parent = nullptr);
    ~KWindowController() override;

    /// Shows the history file's stock (its code is the file name without
    /// extension) in its tab, made and added if the stock has none yet, and
    /// returns that tab's chart; nothing when a new tab would be the eleventh.
    KBaseView* addNewKLineView(const std::filesystem::path& path);
    /// Shows the stock's 分时 tab (made and added if it has none yet) and
    /// returns its view; nothing when a new tab would be the eleventh.
    IntradayView* addIntradayView(const std::string& code);
    /// The stocks with a 分时 tab, in tab order.
    std::vector<std::string> intradayCodes() const;
    /// The stock's 分时 view when it has a tab, else nothing.
    IntradayView* intradayViewOf(const std::string& code) const;
    /// Shows the history file's stock in the tab at `index` in place of the
    /// stock it showed (stepping through a list keeps one tab). A stock that
    /// has a tab of its own, or an index that is no tab, is opened as
    /// addNewKLineView opens it.
    KBaseView* replaceKLineView(int index, const std::filesystem::path& path);
    /// The tab showing a stock's K-line, or -1.
    int tabOfStock(const std::string& code) const;
    /// Renumbers the tab buttons and puts them in one row, 1 pixel apart,
    /// as wide as kInfoButtonWidth or narrower so the row fits the window.
    void resetKLineViewCloseButtonList();
    void selectKLineView(int index);
    void removeKLineView(int index);
    /// Forgets every tab and hides the window.
    void closeKWindow();
    /// Sizes every chart to a new client size of the window and replaces the buttons.
    QSize windowWillResize(QSize size);

    KWindow* kWindow() const { return kWindow_.get(); }
    bool isKWindowShown() const { return isKWindowShown_; }
    int currentSelectedIndex() const { return currentSelectedIndex_; }
    /// The K-line of each tab; nullptr for a 分时 tab.
    const std::vector<KBaseView*>& kLineViewList() const { return kLineViewList_; }
    const std::vector<KInfoButton*>& kLineViewCloseButtonList() const {
        return kLineViewCloseButtonList_;
    }

  signals:
    /// The window was hidden by closing it or its last tab.
    void kWindowClosed();

  private:
    void infoButtonClose(const Notification& note);
    void infoButtonClick(const Notification& note);
    /// The index of a tab button named by a notification, or -1 when the
    /// button is not one of ours.
    int tabOfNotification(const Notification& note) const;
    /// "浦发银行 600000" for the tab, "浦发银行(600000)" for the window title;
    /// the code alone when the name is unknown.
    std::string tabTitleFor(const std::string& code) const;
    std::string windowTitleFor(const std::string& code) const;
    void bringKWindowToFront();
    /// A new tab's button; its page is already in the lists.
    void addTabButton();
    QWidget* pageOf(std::size_t index) const;
    /// The tab at `index` shows `code`: its title, then it is selected and
    /// the window comes to the front.
    KBaseView* showTab(int index, const std::string& code);

    std::unique_ptr<KWindow> kWindow_;
    bool isKWindowShown_ = false;
    int currentSelectedIndex_ = 0;
    std::vector<KBaseView*> kLineViewList_;
    std::vector<IntradayView*> intradayViewList_;  // one a tab, nullptr for a K-line
    std::vector<KInfoButton*> kLineViewCloseButtonList_;
    NameLookup nameLookup_;
    ScopedObserver closeObserver_;
    ScopedObserver clickObserver_;
};

}  // namespace orvane::chart
