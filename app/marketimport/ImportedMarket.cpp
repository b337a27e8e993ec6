#include "marketimport/ImportedMarket.h"

#include <QPointer>

#include "orvane/core/Log.h"
#include "orvane/core/MainThreadDispatcher.h"
#include "orvane/market/MarketServers.h"

namespace orvane::app {

namespace fs = std::filesystem;

ImportedMarket::ImportedMarket(fs::path tree, QObject* parent)
    : QObject(parent), tree_(std::move(tree)) {}

ImportedMarket::~ImportedMarket() {
    shutDown();
}

bool ImportedMarket::serveRemembered() {
    std::error_code ec;
    if (!rememberedImportChoice() || !fs::is_directory(tree_, ec)) return false;
    if (!server_.running()) {
        std::string error;
        if (!server_.start(tree_, error)) {
            ORVANE_LOG("the imported market is not served: %s", error.c_str());
            return false;
        }
    }
    useServedTree();
    return true;
}

bool ImportedMarket::refreshWhenNewer() {
    const std::optional<ImportChoice> choice = rememberedImportChoice();
    if (!choice || !server_.running() || importing_) return false;
    launch(*choice, true);
    return true;
}

bool ImportedMarket::startImport(const ImportChoice& choice) {
    if (importing_) return false;
    launch(choice, false);
    return true;
}

void ImportedMarket::stopImport() {
    thread_.request_stop();
}

ImportedMarket::Status ImportedMarket::status() const {
    std::lock_guard lock(mutex_);
    return status_;
}

void ImportedMarket::shutDown() {
    if (thread_.joinable()) {
        thread_.request_stop();
        thread_.join();
    }
    importing_ = false;
    server_.stop();
}

void ImportedMarket::launch(ImportChoice choice, bool onlyWhenNewer) {
    if (thread_.joinable()) thread_.join();  // an ended import's thread
    importing_ = true;
    {
        std::lock_guard lock(mutex_);
        status_ = {onlyWhenNewer, {}};
    }
    const ImportRequest request{choice.source, choice.stockList, choice.events, tree_};
    thread_ = std::jthread([this, request, choice, onlyWhenNewer](std::stop_token stop) {
        yieldToTheWindow();
        std::optional<ImportOutcome> outcome;
        if (!onlyWhenNewer || newestSourceTime(choice.source) > choice.newestSourceTime)
            outcome = importMarket(
                request,
                [this](const ImportProgress& progress) {
                    std::lock_guard lock(mutex_);
                    status_.progress = progress;
                },
                stop);
        postToMainThread([self = QPointer(this), choice, outcome, onlyWhenNewer] {
            if (!self) return;
            if (outcome)
                self->finish(choice, *outcome, onlyWhenNewer);
            else
                self->importing_ = false;  // nothing new
        });
    });
}

void ImportedMarket::finish(const ImportChoice& choice, ImportOutcome outcome, bool background) {
    importing_ = false;
    if (outcome.result == ImportOutcome::Result::Published) {
        std::string error;
        if (!server_.running() && !server_.start(tree_, error)) {
            outcome.result = ImportOutcome::Result::Failed;
            outcome.message = error;
        } else {
            ImportChoice published = choice;
            published.newestSourceTime = outcome.newestSourceTime;
            if (!rememberImportChoice(published))
                ORVANE_LOG("the imported market's folder could not be remembered");
            useServedTree();
            Q_EMIT marketSwitched();
        }
    }
    Q_EMIT importEnded(outcome, background);
}

void ImportedMarket::useServedTree() {
    MarketServers::install(
        std::make_shared<MarketServers>(server_.dataServer(), server_.quoteServer()));
}

}  // namespace orvane::app
