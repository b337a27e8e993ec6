#pragma once
// The main window's fields that the stock lists write to: the search
// field and the name label (a double-clicked row), the two trend fields
// (cleared with the selection), the status line (notes about bad files)
// and the stop button with its flag (long work the lists start). Any of
// them may be null.

#include <atomic>

class QLabel;
class QLineEdit;
class QPushButton;

namespace orvane::app {

struct ListMainWindowFields {
    QLineEdit* stockCodeTokenField = nullptr;
    QLabel* stockCodeName = nullptr;
    QLabel* stockTrendInfo = nullptr;
    QLabel* stockTrendInfo2 = nullptr;
    QLabel* statusField = nullptr;
    QPushButton* stopDownloadBtn = nullptr;
    /// The main window's `mStopDownload`: set by its stop button, read by
    /// the work a list starts. It must outlive the list's widget.
    std::atomic<bool>* mStopDownload = nullptr;
};

}  // namespace orvane::app
