#include "orvane/core/Clock.h"

namespace orvane {

std::shared_ptr<Clock> Clock::headlessDefault() {
    return std::make_shared<SystemClock>();
}

}  // namespace orvane
