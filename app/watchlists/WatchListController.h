#pragma once
// The watch-list tab (自选股): the group shown (a pop-up of the user's
// groups, which are created, renamed, moved and deleted here), the field
// and buttons that add and remove a stock, and the table of the group's
// stocks. The table's columns are moved by dragging their headers and
// chosen from the header's menu; both are kept in the settings. Every
// column sorts.
//
// Threads: the refresh loop (a std::jthread, started when the tab is first
// shown or a stock is added) fetches the quotes of every watched stock every
// 5 seconds, as the holdings are refreshed, and the verdicts of stocks not
// yet judged, then posts them to the main thread. In the main window the
// quotes come from the window's one round instead (takeQuotesFromRound),
// so that a stock shows one price in every panel; widgets are touched on the
// main thread only. The lists are read from their file on every change
// made here and on every refresh, so that additions from other windows'
// menus show at once.

#include <QString>
#include <QWidget>
#include <atomic>
#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "common/PastVolumes.h"
#include "watchlists/WatchLists.h"
#include "watchlists/WatchQuotes.h"

class QComboBox;
class QLineEdit;
class QPushButton;
class QTableView;

namespace orvane::app {

class WatchListModel;

class WatchListController : public QWidget {
    Q_OBJECT
  public:
    static constexpr std::chrono::milliseconds kRefreshPeriod{5000};

    explicit WatchListController(QWidget* parent = nullptr,
                                 std::chrono::milliseconds refreshPeriod = kRefreshPeriod);
    ~WatchListController() override;

    /// Reads the lists' file again and shows the chosen group (main thread).
    void reload();
    /// Starts the refresh loop; nothing when it runs already.
    void startRefreshing();
    /// Ends the refresh loop and waits for it (at quit).
    void stopRefreshing();
    /// The quotes come from showQuotes from now on; the loop no longer asks
    /// for them (only for the verdicts and the past days' volumes).
    void takeQuotesFromRound() { quotesFromRound_ = true; }
    /// Shows a round's quotes (main thread).
    void showQuotes(std::map<std::string, WatchQuote, std::less<>> quotes);

    // The user's actions; each returns why it was refused, or nothing once
    // done (the refusal also goes to statusMessage).
    std::optional<std::string> createGroup(const QString& name);
    std::optional<std::string> renameGroup(const QString& name);
    std::optional<std::string> moveGroup(int offset);
    std::optional<std::string> deleteGroup();
    std::optional<std::string> addCode(const QString& code);
    /// Removes the selected stock from the group shown.
    std::optional<std::string> removeSelected();

    /// The group shown.
    QString currentGroup() const;
    void showGroup(const QString& name);
    const WatchLists& lists() const { return lists_; }

    QComboBox* groupBox() const { return groupBox_; }
    QTableView* table() const { return table_; }
    WatchListModel* model() const { return model_; }

  Q_SIGNALS:
    void stockPicked(const QString& code, const QString& name);
    void statusMessage(const QString& text);
    /// New quotes are in the table.
    void quotesShown();
    /// The lists were read or changed (the watched stocks may differ).
    void listsShown();

  private:
    std::optional<std::string> edit(
        const std::function<std::optional<std::string>(WatchLists&)>& change);
    void showLists();
    void showColumnMenu(const QPoint& at);
    void saveHeader() const;
    void restoreHeader();
    void askNewGroup();
    void askRename();
    void askDelete();
    void pickSelected();
    void refreshOnce(std::stop_token stop);

    WatchLists lists_;
    QComboBox* groupBox_;
    QLineEdit* codeField_;
    QTableView* table_;
    WatchListModel* model_;
    std::chrono::milliseconds refreshPeriod_;

    std::mutex lock_;
    std::vector<std::string> watched_;       // every group's codes, under the lock
    std::set<std::string> verdictsFetched_;  // the loop's own
    PastVolumesAsked pastVolumesAsked_;      // the loop's own
    bool refreshing_ = false;
    std::atomic<bool> quotesFromRound_ = false;
    std::jthread loop_;
};

}  // namespace orvane::app
