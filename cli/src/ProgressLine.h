#pragma once
// Progress of a long step on stderr. On a terminal one line is redrawn in
// place as a bar; otherwise (a log, a pipe) a plain line is written at every
// tenth of the way, so logs never fill with carriage returns.

#include <cstdint>
#include <string>
#include <string_view>

namespace orvane::cli {

class ProgressLine {
  public:
    enum class Units { Count, Bytes };
    /// `what` names the step ("downloading the reference data").
    explicit ProgressLine(std::string what, Units units = Units::Count);
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;
    ~ProgressLine();

    /// `done` of `total` (total 0: unknown, shown on a terminal only);
    /// `detail` follows the figures (the stock being screened).
    void update(std::uint64_t done, std::uint64_t total, std::string_view detail = {});
    /// Ends the line on a terminal; nothing otherwise. The last step and
    /// the destructor do it too.
    void finish();

  private:
    std::string what_;
    Units units_;
    bool terminal_;
    bool open_ = false;  // a bar is drawn and not ended
    int lastStep_ = -1;  // the last tenth written as a plain line
};

}  // namespace orvane::cli
