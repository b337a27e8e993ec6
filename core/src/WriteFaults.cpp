#include "orvane/core/WriteFaults.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <mutex>
#include <string>

namespace orvane {

namespace {

struct FaultState {
    std::atomic<long> count{0};
    std::atomic<long> failAt{0};
    std::atomic<int> error{0};
    std::atomic<bool> andLater{false};
    std::string countFile;
};

FaultState& state() {
    static FaultState s;
    return s;
}

void writeCountAtExit() {
    const FaultState& s = state();
    // Written past the layer, so that writing the count is not counted.
    const std::string text = std::to_string(s.count.load()) + "\n";
    const int fd = ::open(s.countFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return;
    [[maybe_unused]] const ssize_t n = ::write(fd, text.data(), text.size());
    ::close(fd);
}

void store(FaultState& s, const std::optional<WriteFaultPlan>& plan) {
    s.failAt.store(0);
    s.error.store(plan ? plan->error : 0);
    s.andLater.store(plan && plan->andLater);
    s.failAt.store(plan ? plan->failAt : 0);
}

void readEnvironmentOnce() {
    static std::once_flag once;
    std::call_once(once, [] {
        FaultState& s = state();
        if (const char* plan = std::getenv("ORVANE_WRITE_FAULT"))
            store(s, parseWriteFaultPlan(plan));
        if (const char* file = std::getenv("ORVANE_WRITE_COUNT"); file && *file) {
            s.countFile = file;
            std::atexit(writeCountAtExit);
        }
    });
}

}  // namespace

std::optional<WriteFaultPlan> parseWriteFaultPlan(std::string_view text) {
    const std::size_t colon = text.find(':');
    if (colon == std::string_view::npos) return std::nullopt;
    std::string_view number = text.substr(0, colon);
    const std::string_view name = text.substr(colon + 1);
    WriteFaultPlan plan;
    if (number.ends_with('+')) {
        plan.andLater = true;
        number.remove_suffix(1);
    }
    const auto [end, ec] =
        std::from_chars(number.data(), number.data() + number.size(), plan.failAt);
    if (ec != std::errc() || end != number.data() + number.size() || plan.failAt < 1)
        return std::nullopt;
    const struct {
        std::string_view name;
        int error;
    } known[] = {
        {"ENOSPC", ENOSPC}, {"EIO", EIO}, {"EDQUOT", EDQUOT}, {"EROFS", EROFS}, {"EFBIG", EFBIG}};
    for (const auto& k : known)
        if (k.name == name) {
            plan.error = k.error;
            return plan;
        }
    return std::nullopt;
}

void setWriteFaultPlan(std::optional<WriteFaultPlan> plan) {
    readEnvironmentOnce();
    FaultState& s = state();
    store(s, plan);
    s.count.store(0);
}

long writeOperationCount() {
    return state().count.load();
}

int countWriteOperation() {
    readEnvironmentOnce();
    FaultState& s = state();
    const long n = s.count.fetch_add(1) + 1;
    const long failAt = s.failAt.load(std::memory_order_relaxed);
    if (failAt == 0 || n < failAt || (n > failAt && !s.andLater.load())) return 0;
    return s.error.load();
}

}  // namespace orvane
