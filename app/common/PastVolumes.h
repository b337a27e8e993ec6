#pragma once
// The volumes of a stock's last trading days, which 量比 measures today's
// volume against: read from the stock's history text on the data server
// (newest day first, volume in lots), asked for once a day a stock.

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvane::app {

/// The volumes (lots) of the five newest days of `historyText` before
/// `today` ("yyyy-MM-dd"), oldest first; empty when it holds none.
std::vector<double> pastDaysLots(std::string_view historyText, std::string_view today);

/// Fetches a stock's history on the calling thread: its past days'
/// volumes, or nothing when the data server did not answer.
std::optional<std::vector<double>> fetchPastDaysLots(const std::string& code,
                                                     std::string_view today);

/// Which stocks' past volumes were asked for on which day.
class PastVolumesAsked {
  public:
    /// True (and the stock marked asked) when it was not asked `today` yet.
    bool ask(const std::string& code, const std::string& today);
    /// The asking failed: the stock is asked again next time.
    void forget(const std::string& code) { askedOn_.erase(code); }

  private:
    std::map<std::string, std::string, std::less<>> askedOn_;
};

/// Today's date, "yyyy-MM-dd".
std::string todayText();

}  // namespace orvane::app
