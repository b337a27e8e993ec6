#pragma once
// The user's own market in the app: an import (the menu's, or the
// background one at start when the remembered folder has new files) on a
// thread of its own, the tree served in process, and the switch of the
// program's data server and quote service to it. Only a published tree
// switches the window; a stopped or failed import leaves the tree and the
// remembered choice as they were. One import runs at a time.

#include <QObject>
#include <mutex>
#include <optional>
#include <thread>

#include "marketimport/ImportChoice.h"
#include "marketimport/InProcessDataServer.h"
#include "marketimport/MarketImportRun.h"

namespace orvane::app {

class ImportedMarket : public QObject {
    Q_OBJECT
  public:
    /// `tree` is where imports are published (importedTreePath() in the app).
    explicit ImportedMarket(std::filesystem::path tree, QObject* parent = nullptr);
    ~ImportedMarket() override;

    /// At start: when a market was imported and its tree is in place, serves
    /// it and makes it the program's servers; false (nothing changed) when not.
    bool serveRemembered();
    /// When the served market's folder has files newer than its tree,
    /// publishes it again in the background (the check on the import's
    /// thread too); false when no remembered market is served or an import runs.
    bool refreshWhenNewer();
    /// Starts importing `choice`; false while another import runs.
    bool startImport(const ImportChoice& choice);
    /// Asks the running import to stop (it ends between steps or stocks).
    void stopImport();
    bool importing() const { return importing_; }

    struct Status {
        bool background = false;
        ImportProgress progress;
    };
    Status status() const;
    const InProcessDataServer& server() const { return server_; }
    const std::filesystem::path& tree() const { return tree_; }

    /// Stops the import and waits for it, then stops serving. Idempotent.
    void shutDown();

  Q_SIGNALS:
    /// An import ended (on the window thread). A published one is already
    /// served, remembered and the program's data server when this is sent.
    void importEnded(const orvane::app::ImportOutcome& outcome, bool background);
    /// The program's data now come from a newly published tree: what the
    /// window shows is to be fetched again.
    void marketSwitched();

  private:
    void launch(ImportChoice choice, bool onlyWhenNewer);
    void finish(const ImportChoice& choice, ImportOutcome outcome, bool background);
    void useServedTree();

    std::filesystem::path tree_;
    InProcessDataServer server_;
    mutable std::mutex mutex_;
    Status status_;
    bool importing_ = false;  // window thread only
    std::jthread thread_;
};

}  // namespace orvane::app
