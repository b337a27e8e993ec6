#pragma once
// How the window's workers wait for another Orvane run's lock on the data
// folder: on their own threads, the wait shown on the status line (the
// window never blocks), given up after a minute.

#include <QPointer>

#include "orvane/core/DataFolderLock.h"

namespace orvane::app {

class QXDocument;

class StatusLineFolderWait final : public DataFolderWait {
  public:
    explicit StatusLineFolderWait(QXDocument* doc) : doc_(doc) {}
    /// Posts the notice to the status line (dropped when the window is gone).
    void waiting(const std::string& notice) override;

  private:
    QPointer<QXDocument> doc_;
};

}  // namespace orvane::app
