#pragma once
// The new-message check's two times. The newest message the user has seen
// is kept in "message.plist" as {"newMsgTime": date}; the check compares
// times as texts "yyyy-MM-dd HH:mm:ss". The date is converted to and from
// that text in the machine's local time zone, to whole seconds: a text is
// read as local wall-clock time and stored as the instant it names, and a
// stored instant is written back out as local wall-clock time.

#include <string>
#include <string_view>

#include "platform/StoredPropertyList.h"

namespace orvane::app {

/// The newest message on the server: the fixed text "2013-11-22 17:00:01".
std::string getServerNewMessageTime();

struct LocalMessageTime {
    std::string text;         ///< "newMsgTime" as text, or "2010-02-14 01:10:30"
    StoredPropertyList read;  ///< how "message.plist" read (an unusable one is set aside)
};
LocalMessageTime readLocalNewMessageTime();
/// The newest message seen here: "newMsgTime" of "message.plist", else
/// "2010-02-14 01:10:30".
std::string getLocalNewMessageTime();

/// Stores `timeText` as the newest message seen when it is later than the
/// stored one (atomically). False when it is not later, is not a time text,
/// or the write failed.
bool saveLocalMessageTime(std::string_view timeText);

/// `a` names a later moment than `b`; texts that are no times are never later.
bool isLaterMessageTime(std::string_view a, std::string_view b);

}  // namespace orvane::app
