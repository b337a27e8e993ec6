#include "mainwindow/StatusLineFolderWait.h"

#include "mainwindow/QXDocument.h"
#include "mainwindow/StatusLine.h"
#include "orvane/core/MainThreadDispatcher.h"

namespace orvane::app {

void StatusLineFolderWait::waiting(const std::string& notice) {
    DataFolderWait::waiting(notice);
    postToMainThread([doc = doc_, notice] {
        if (doc) doc->statusLine().showStatus(notice);
    });
}

}  // namespace orvane::app
