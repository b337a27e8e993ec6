#pragma once
// Progress on standard error: on a terminal one bar redrawn in place, else
// (a pipe, a log file) a plain line at every tenth of the way.

#include <cstddef>
#include <string>

namespace orvane::cli {

class ProgressBar {
  public:
    explicit ProgressBar(std::string label);
    void update(std::size_t done, std::size_t total);

  private:
    std::string label_;
    bool terminal_;
    long shown_ = -1;  // the last step drawn
};

}  // namespace orvane::cli
