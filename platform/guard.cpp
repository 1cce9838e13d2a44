#include "platform/guard.h"

#include "platform/dialogs.h"
#include "platform/errors.h"

#include <exception>

namespace platform {

void reportCurrentException() noexcept {
    try {
        throw;
    } catch (const Abort&) {
        // the silent abort: nothing is shown
    } catch (const Error& e) {
        try {
            showError(e.message());
        } catch (...) {
        }
    } catch (const std::exception& e) {
        try {
            showError(QString::fromLocal8Bit(e.what()));
        } catch (...) {
        }
    } catch (...) {
        try {
            showError(QStringLiteral("Unknown error"));
        } catch (...) {
        }
    }
}

} // namespace platform
