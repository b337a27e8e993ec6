#pragma once
// The score lists: one of the server's four ranked lists (best scores,
// model B, double cannon, double cannon happened), chosen by a four-segment
// control. The lists are the files the score download writes into the Gains
// folder; the shown list is read again whenever its file is rewritten, so
// it follows each completed download. A missing file shows an empty table;
// a bad one an empty table and a note (statusMessage). A double-clicked row
// tells the main window its stock (stockPicked). Main thread only.

#include <QString>
#include <QWidget>
#include <filesystem>
#include <memory>

#include "orvane/market/StockRecord.h"

class QFileSystemWatcher;
class QTimer;

namespace Ui {
class QXScoreController;
}

namespace orvane::app {

class RowTableModel;

class QXScoreController : public QWidget {
    Q_OBJECT
  public:
    explicit QXScoreController(QWidget* parent = nullptr);
    ~QXScoreController() override;

    /// Loads the list of the segment (the segmented control's action).
    void scoreTypeAction(int segment);
    /// Loads the selected segment's list.
    void updateAllStock();
    void DoubleClickAction();
    /// Posts the selected row's code for the main window.
    void updateMainUI();
    void tableViewSelectionDidChange() { updateMainUI(); }

    const std::vector<StockRecord>& scoreList() const;
    Ui::QXScoreController& ui() { return *ui_; }
    RowTableModel& model() { return *model_; }

  signals:
    /// The shown list was (re)loaded.
    void scoreListLoaded(int segment);
    void stockPicked(const QString& code, const QString& name);
    void statusMessage(const QString& text);

  private:
    int selectedRow() const;
    void reloadWhenRewritten();

    std::unique_ptr<Ui::QXScoreController> ui_;
    RowTableModel* model_ = nullptr;
    QFileSystemWatcher* watcher_ = nullptr;
    QTimer* reload_ = nullptr;
    std::filesystem::file_time_type loadedStamp_{};
};

}  // namespace orvane::app
