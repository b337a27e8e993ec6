#include "orvane/analysis/AnalysisSession.h"

namespace orvane {

AnalysisSession::AnalysisSession(QXUtility& engine) : engine_(engine), lock_(engine.mutex_) {
    engine_.initQXUtility();
}

std::uint32_t AnalysisSession::parseOneStockYahooHistoryFormToday(std::string_view text,
                                                                  std::int32_t,
                                                                  const Dictionary& stock) {
    return engine_.parseOneStockYahooHistoryFormToday(text, stock);
}

void AnalysisSession::termateQXUtility() {
    engine_.termateQXUtility();
}

}  // namespace orvane
