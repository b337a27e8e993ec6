#pragma once
// The one stock on screen: its code and name, its record once fetched, and
// where the fetch stands. The main window's panels (search field, caption,
// verdict, day prices, history tab) observe it and draw from it alone, so
// switching stock replaces or clears every panel at once: a panel never
// shows one stock's figures under another stock's name.

#include <QObject>
#include <optional>
#include <string>

#include "mainwindow/VerdictDisplay.h"
#include "orvane/market/StockRecord.h"

namespace orvane::app {

class ShownStock : public QObject {
    Q_OBJECT
  public:
    enum class State {
        None,      ///< no stock: every panel is empty
        Named,     ///< a stock is chosen, its verdict not asked for yet
        Fetching,  ///< its record is being fetched
        Shown,     ///< its record is on screen
        Failed     ///< the fetch gave no record; `failure()` says why
    };

    explicit ShownStock(QObject* parent = nullptr) : QObject(parent) {}

    State state() const { return state_; }
    const std::string& code() const { return code_; }
    const std::string& name() const { return name_; }
    /// Only in the Shown state.
    const std::optional<StockRecord>& record() const { return record_; }
    /// What the panels show of the record, made once when it arrives (the
    /// code's random tint included); only in the Shown state.
    const std::optional<VerdictView>& view() const { return view_; }
    const std::string& failure() const { return failure_; }
    bool isEmpty() const { return state_ == State::None; }

    /// Nothing on screen.
    void clear();
    /// A stock chosen by its code; its record (of another stock or day) goes.
    /// Choosing the stock already named or shown changes nothing.
    void choose(const std::string& code, const std::string& name);
    /// The stock's record is being fetched; what was shown goes.
    void fetching(const std::string& code, const std::string& name);
    /// A record arrived: it becomes the shown stock (its code the record's),
    /// whatever was before.
    void show(const std::string& name, StockRecord record);
    /// The fetch of `code` failed for `reason`; ignored when another stock was
    /// chosen meanwhile.
    void fail(const std::string& code, const std::string& reason);
    /// The stock's name, learnt later (the code table arrived after it was
    /// chosen); the rest stays.
    void setName(const std::string& name);

  Q_SIGNALS:
    /// After every change; the panels redraw from the model.
    void changed();

  private:
    void set(State state, std::string code, std::string name, std::optional<StockRecord> record,
             std::string failure);

    State state_ = State::None;
    std::string code_;
    std::string name_;
    std::optional<StockRecord> record_;
    std::optional<VerdictView> view_;
    std::string failure_;
};

}  // namespace orvane::app
