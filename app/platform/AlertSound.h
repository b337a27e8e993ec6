#pragma once
// The "newMsg" alert sound: the desktop sound theme's
// "message-new-instant" event, played through libcanberra. Without
// libcanberra, or when the desktop has no sound for it, it is silent and
// says nothing. Call on the main thread.

namespace orvane::app {

class AlertSound {
  public:
    /// Starts the sound and returns at once.
    static void playNewMessage();
};

}  // namespace orvane::app
