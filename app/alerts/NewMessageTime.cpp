#include "alerts/NewMessageTime.h"

#include <chrono>
#include <cmath>

#include "orvane/core/DataDirectory.h"
#include "orvane/core/LocalTime.h"
#include "orvane/core/PropertyList.h"

namespace orvane::app {

namespace {

constexpr const char* kNewMsgTime = "newMsgTime";
constexpr const char* kDefaultLocalTime = "2010-02-14 01:10:30";

std::filesystem::path messageFile() {
    return dataPath("message.plist");
}

Date toDate(const LocalDateTime& local) {
    const auto seconds =
        std::chrono::duration_cast<std::chrono::seconds>(fromLocal(local).time_since_epoch());
    return Date{static_cast<double>(seconds.count())};
}

std::string toText(const Date& date) {
    const auto seconds = std::chrono::seconds(std::llround(date.secondsSince1970));
    return formatDateTime(toLocal(TimePoint(seconds)));
}

}  // namespace

std::string getServerNewMessageTime() {
    return "2013-11-22 17:00:01";
}

LocalMessageTime readLocalNewMessageTime() {
    LocalMessageTime result{kDefaultLocalTime,
                            readStoredPropertyList(messageFile(), StoredKind::Dictionary)};
    if (!result.read.wasRead()) return result;
    const Value* stored = find(result.read.value.dictionary(), kNewMsgTime);
    if (stored && stored->isDate()) result.text = toText(stored->date());
    return result;
}

std::string getLocalNewMessageTime() {
    return readLocalNewMessageTime().text;
}

bool isLaterMessageTime(std::string_view a, std::string_view b) {
    const auto later = parseDateTime(a);
    const auto earlier = parseDateTime(b);
    return later && earlier && *later > *earlier;
}

bool saveLocalMessageTime(std::string_view timeText) {
    const auto time = parseDateTime(timeText);
    if (!time || !isLaterMessageTime(timeText, getLocalNewMessageTime())) return false;
    return writePropertyList(messageFile(), Value(Dictionary{{kNewMsgTime, toDate(*time)}}));
}

}  // namespace orvane::app
