#pragma once

namespace platform {

// The platform's beep for a refused character. Tests count the beeps.
void beep();
int beepCount();

} // namespace platform
