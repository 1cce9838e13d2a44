#pragma once

#include <utility>

namespace platform {

// Shows a caught error in the error box (nothing for the silent abort). Called only from
// guard(); never throws.
void reportCurrentException() noexcept;

// Runs one handler that Qt calls (a slot, an event override, a timer). Whatever the handler
// throws ends it there and is shown in the application-wide error box; nothing crosses back
// into Qt. Returns false when the handler failed.
template <typename F> bool guard(F&& handler) noexcept {
    try {
        std::forward<F>(handler)();
        return true;
    } catch (...) {
        reportCurrentException();
        return false;
    }
}

} // namespace platform
