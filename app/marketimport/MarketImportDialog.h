#pragma once
// 文件 › 导入本地行情…: the folder (or one file) picked, its layout and its
// number of stocks shown (read on a worker), an optional stock list and
// events file, then the import with its progress and a stop button. The
// import itself belongs to ImportedMarket, so closing the dialog does not
// end it; the dialog shows whichever import runs.

#include <QDialog>
#include <QTimer>
#include <atomic>
#include <memory>
#include <thread>
#include <vector>

#include "marketimport/MarketImportRun.h"

class QLineEdit;

namespace Ui {
class MarketImportDialog;
}

namespace orvane::app {

class ImportedMarket;

class MarketImportDialog : public QDialog {
    Q_OBJECT
  public:
    explicit MarketImportDialog(ImportedMarket& market, QWidget* parent = nullptr);
    /// Waits for the surveys still reading.
    ~MarketImportDialog() override;

    Ui::MarketImportDialog& ui() { return *ui_; }
    /// Reads the source field's folder on a worker; the newest survey's
    /// layout and count are shown when it ends (surveyShown).
    void surveySource();
    /// Imports what the fields name.
    void startImport();

  Q_SIGNALS:
    void surveyShown();

  private:
    void showSurvey(const MarketSurvey& survey);
    void showProgress();
    void showOutcome(const ImportOutcome& outcome, bool background);
    void updateButtons();
    void choosePath(QLineEdit* field, bool folder, const QString& title, const QString& filter);

    struct Survey {
        std::jthread thread;
        std::shared_ptr<std::atomic<bool>> done;
    };

    ImportedMarket& market_;
    std::unique_ptr<Ui::MarketImportDialog> ui_;
    QTimer progressTimer_;
    std::vector<Survey> surveys_;
    int surveyShown_ = 0;  // the number of the newest survey asked for
    bool sourceReadable_ = false;
};

}  // namespace orvane::app
