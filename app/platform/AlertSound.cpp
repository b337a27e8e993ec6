#include "platform/AlertSound.h"

#ifdef ORVANE_HAVE_CANBERRA
#include <canberra.h>

#include <filesystem>
#include <string>
#include <system_error>
#endif

namespace orvane::app {

#ifdef ORVANE_HAVE_CANBERRA

namespace {

/// A sound card that ALSA could play on directly.
bool hasAlsaPlaybackDevice() {
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator("/dev/snd", ec)) {
        const std::string name = entry.path().filename().string();
        if (name.starts_with("pcmC") && name.ends_with("p")) return true;
    }
    return false;
}

/// An open context on the given backend (nullptr: canberra's own choice).
ca_context* openContext(const char* driver) {
    ca_context* c = nullptr;
    if (ca_context_create(&c) != CA_SUCCESS) return nullptr;
    ca_context_change_props(c, CA_PROP_APPLICATION_NAME, "Orvane", CA_PROP_APPLICATION_ID, "orvane",
                            CA_PROP_APPLICATION_ICON_NAME, "orvane", nullptr);
    if ((driver && ca_context_set_driver(c, driver) != CA_SUCCESS) ||
        ca_context_open(c) != CA_SUCCESS) {
        ca_context_destroy(c);
        return nullptr;
    }
    return c;
}

/// One context for the process, opened on first use; nullptr when there is
/// nothing to play on. The sound server comes first; canberra's other
/// backends are tried only when a sound card is there, since without one
/// the ALSA backend writes its failures to the terminal.
ca_context* soundContext() {
    static ca_context* context = [] {
        ca_context* c = openContext("pulse");
        if (!c && hasAlsaPlaybackDevice()) c = openContext(nullptr);
        return c;
    }();
    return context;
}

}  // namespace

void AlertSound::playNewMessage() {
    if (ca_context* c = soundContext())
        ca_context_play(c, 0, CA_PROP_EVENT_ID, "message-new-instant", CA_PROP_EVENT_DESCRIPTION,
                        "newMsg", nullptr);
}

#else

void AlertSound::playNewMessage() {}

#endif

}  // namespace orvane::app
