// analyze and analyze-dir: verdicts from history texts.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "CommandSupport.h"
#include "Commands.h"
#include "orvane/analysis/AnalysisRun.h"
#include "orvane/analysis/QXUtility.h"
#include "orvane/core/AtomicFile.h"
#include "orvane/core/Clock.h"
#include "orvane/core/LocalTime.h"
#include "orvane/core/Log.h"
#include "orvane/core/NumberText.h"
#include "orvane/core/ParallelFor.h"
#include "orvane/core/TextSplit.h"
#include "orvane/market/HistoryText.h"
#include "orvane/market/StockKeys.h"

namespace orvane::cli {

namespace fs = std::filesystem;

namespace {

// A number with `decimals` places, as printf's "%.Nf" writes it; undefined
// numbers print as "nan" whatever their sign.
std::string number(float v, int decimals) {
    if (std::isnan(v)) return "nan";
    if (std::isinf(v)) return v > 0 ? "inf" : "-inf";
    std::string out;
    appendFixed(out, double{v}, decimals);
    return out;
}

std::string flag(const std::optional<bool>& b) {
    return b ? (*b ? "1" : "0") : "-";
}

struct Verdict {
    AnalysisResult r;
    float close = 0;
};

// The columns shared by both commands, in output order.
std::vector<std::pair<const char*, std::string>> columns(const Verdict& v) {
    const AnalysisResult& r = v.r;
    return {
        {"trend", std::to_string(r.trend)},
        {"score", std::to_string(r.score)},
        {"key_price", number(r.keyPrice, 6)},
        {"end5", number(r.end5, 6)},
        {"end10", number(r.end10, 6)},
        {"mode_b", r.modeB ? "1" : "0"},
        {"buy_a", flag(r.buyA)},
        {"buy_b", flag(r.buyB)},
        {"accel", flag(r.accel)},
        {"gain5", number(gainPercent(v.close, r.end5), 4)},
        {"gain10", number(gainPercent(v.close, r.end10), 4)},
        {"t10", std::to_string(static_cast<std::int32_t>(r.t10))},
        {"t180", std::to_string(static_cast<std::int32_t>(r.t180))},
        {"t300", std::to_string(static_cast<std::int32_t>(r.t300))},
    };
}

LocalDateTime parseNow(const std::string& text) {
    auto t = parseDateTime(text);
    if (!t) throw CLI::ValidationError("--now", "expects \"YYYY-MM-DD HH:MM:SS\"");
    return *t;
}

struct AnalyzeOptions {
    std::string history, code, open, close, yesClose, now;
};

void runAnalyze(const AnalyzeOptions& o) {
    const LocalDateTime now = parseNow(o.now);
    auto text = readFile(o.history);
    if (!text) fail("cannot read the history text " + o.history + ": " + whyUnreadable(o.history));
    Clock::install(std::make_shared<FixedClock>(fromLocal(now)));

    using namespace keys;
    const Dictionary today{{STOCK_Code, o.code},
                           {STOCK_OpenPrice, o.open},
                           {STOCK_closePrice, o.close},
                           {STOCK_YesClosePrice, o.yesClose}};
    Verdict v{QXUtility::defQXUtility().analyzeStock(*text, today), leadingFloat(o.close)};
    std::string out;
    for (auto& [key, value] : columns(v)) out += std::string(key) + "=" + value + "\n";
    out += std::string("valid=") + (isValidRespondStr(*text) ? "1" : "0") + "\n";
    std::fputs(out.c_str(), stdout);
}

// Field `index` of a day line, or empty.
std::string_view fieldOf(std::string_view line, std::size_t index) {
    std::size_t start = 0;
    for (std::size_t f = 0; f < index; ++f) {
        std::size_t comma = line.find(',', start);
        if (comma == std::string_view::npos) return {};
        start = comma + 1;
    }
    return line.substr(start, line.find(',', start) - start);
}

// The text without its element 1: the history as it stood a day earlier.
std::string withoutNewestLine(std::string_view text) {
    std::size_t i = 0, ends = 0, cut0 = 0, cut1 = text.size();
    while (i < text.size()) {
        if (std::size_t n = newlineAt(text, i)) {
            if (ends == 0) cut0 = i + n;
            if (ends == 1) {
                cut1 = i + n;
                break;
            }
            ++ends;
            i += n;
        } else {
            ++i;
        }
    }
    if (ends < 1) return std::string(text);
    return std::string(text.substr(0, cut0)) + std::string(text.substr(cut1));
}

// A folder held open while its files are read by name.
class OpenFolder {
  public:
    explicit OpenFolder(const std::string& path)
        : fd_(::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {}
    OpenFolder(const OpenFolder&) = delete;
    OpenFolder& operator=(const OpenFolder&) = delete;
    ~OpenFolder() {
        if (fd_ >= 0) ::close(fd_);
    }
    int fd() const { return fd_; }

  private:
    int fd_;
};

// A folder's files read one after the other into the same storage, never
// cleared before it is filled.
class FileReader {
  public:
    // The whole file `name` of the open folder `folder`, valid until the next
    // read; nothing when it cannot be read.
    std::optional<std::string_view> read(int folder, const std::string& name) {
        const int fd = ::openat(folder, name.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) return std::nullopt;
        // Read until the size the folder gives (no read more to see the end)
        // or, when the file has changed since, until its end.
        struct stat st {};
        std::size_t expected = SIZE_MAX;
        if (::fstat(fd, &st) == 0 && st.st_size >= 0) {
            expected = static_cast<std::size_t>(st.st_size);
            reserve(expected + 1, 0);
        }
        std::size_t size = 0;
        ssize_t n;
        do {
            if (size == capacity_) reserve(capacity_ * 2, size);
            n = ::read(fd, bytes_.get() + size, capacity_ - size);
            if (n > 0) size += static_cast<std::size_t>(n);
        } while (n > 0 && size < expected);
        ::close(fd);
        if (n < 0) return std::nullopt;
        return std::string_view(bytes_.get(), size);
    }

  private:
    // Room for `capacity` bytes, keeping the first `kept` read so far.
    void reserve(std::size_t capacity, std::size_t kept) {
        if (capacity <= capacity_) return;
        capacity = std::max<std::size_t>(capacity, 1 << 16);
        auto grown = std::make_unique_for_overwrite<char[]>(capacity);
        std::copy_n(bytes_.get(), kept, grown.get());
        bytes_ = std::move(grown);
        capacity_ = capacity;
    }

    std::unique_ptr<char[]> bytes_;
    std::size_t capacity_ = 0;
};

struct AnalyzeDirOptions {
    std::string dir, now;
    bool dropNewest = false;
    int jobs = 0;
};

// The output line of one stock's history text.
std::string verdictLine(const std::string& code, std::string_view text, bool dropNewest,
                        const LocalDateTime& now) {
    // The text analysed is the one that must be valid: a day earlier the
    // history may have been too short.
    const std::string earlier = dropNewest ? withoutNewestLine(text) : std::string();
    const std::string_view historyText = dropNewest ? earlier : text;
    if (!isValidRespondStr(historyText)) return code + "\tinvalid\n";
    auto line1 = historyLine(text, 1).value_or("");
    auto line2 = historyLine(text, 2).value_or("");
    const TodayTrade today{code, leadingFloat(fieldOf(line1, 1)), leadingFloat(fieldOf(line1, 4)),
                           leadingFloat(fieldOf(line2, 4))};
    ParsedHistory parsed(historyText);
    Verdict v{parseOneStockYahooHistoryFormToday(HistoryView(parsed), today, now), today.close};
    std::string line = code;
    for (auto& [key, value] : columns(v)) (line += '\t') += value;
    line += '\n';
    return line;
}

void runAnalyzeDir(const AnalyzeDirOptions& o) {
    const LocalDateTime now = parseNow(o.now);
    Clock::install(std::make_shared<FixedClock>(fromLocal(now)));
    std::vector<std::string> names;  // file names sort as their paths in one folder
    for (const auto& e : fs::directory_iterator(o.dir))
        if (e.is_regular_file() && e.path().extension() == ".txt")
            names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());

    const OpenFolder folder(o.dir);
    if (folder.fd() < 0) fail("cannot read the folder " + o.dir + ": " + whyUnreadable(o.dir));

    const auto start = std::chrono::steady_clock::now();
    // Each stock's line on its own; with the engine's log on, on one thread,
    // so that the log's lines come in the files' order.
    std::vector<std::string> lines(names.size());
    parallelFor(names.size(), logEnabled() ? 1 : o.jobs, [&](std::size_t i) {
        thread_local FileReader reader;
        const std::string& name = names[i];
        // An unreadable file reads as empty: invalid.
        const std::string_view text = reader.read(folder.fd(), name).value_or("");
        lines[i] = verdictLine(name.substr(0, name.size() - 4), text, o.dropNewest, now);
    });
    std::string out =
        "code\ttrend\tscore\tkey_price\tend5\tend10\tmode_b\tbuy_a\tbuy_"
        "b\taccel\tgain5\tgain10\tt10"
        "\tt180\tt300\n";
    for (const std::string& line : lines) out += line;
    std::fwrite(out.data(), 1, out.size(), stdout);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::fprintf(stderr, "analyzed %zu stocks in %.3f s\n", names.size(), seconds);
}

}  // namespace

void addAnalyzeCommands(CLI::App& app) {
    auto o = std::make_shared<AnalyzeOptions>();
    auto* one = app.add_subcommand("analyze",
                                   "verdict of one stock from its history text and today's prices");
    one->add_option("--history", o->history, "history text (newest day first)")->required();
    one->add_option("--code", o->code, "six-digit stock code")->required();
    one->add_option("--open", o->open, "today's open")->required();
    one->add_option("--close", o->close, "today's close (latest price)")->required();
    one->add_option("--yes-close", o->yesClose, "previous close")->required();
    one->add_option("--now", o->now, "the present, local time \"YYYY-MM-DD HH:MM:SS\"")->required();
    one->callback([o] { runAnalyze(*o); });

    auto d = std::make_shared<AnalyzeDirOptions>();
    auto* dir =
        app.add_subcommand("analyze-dir", "verdicts of every CODE.txt history text of a folder");
    dir->add_option("DIR", d->dir)->required()->check(CLI::ExistingDirectory);
    dir->add_option("--now", d->now, "the present, local time \"YYYY-MM-DD HH:MM:SS\"")->required();
    dir->add_flag("--drop-newest", d->dropNewest, "analyze the history as it stood a day earlier");
    dir->add_option("--jobs", d->jobs, "threads (default: one per processor)");
    dir->callback([d] { runAnalyzeDir(*d); });
}

}  // namespace orvane::cli
