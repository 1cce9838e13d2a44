#pragma once

#include "platform/guard.h"

#include <QObject>
#include <type_traits>
#include <utility>

namespace platform {

// Connects a Qt signal to a handler that runs through guard(): whatever the handler throws is
// shown in the error box and never crosses back into Qt. The handler ignores the signal's
// arguments; the receiver is the connection's context, so the connection ends with it.
template <typename Sender, typename Signal, typename Receiver>
QMetaObject::Connection connectGuarded(const Sender* sender, Signal signal, Receiver* receiver,
                                       void (Receiver::*handler)()) {
    return QObject::connect(sender, signal, receiver,
                            [receiver, handler] { guard([&] { (receiver->*handler)(); }); });
}

// The same for a callable; it receives the signal's arguments, or none when it takes none.
template <typename Sender, typename Signal, typename F>
QMetaObject::Connection connectGuarded(const Sender* sender, Signal signal, const QObject* context,
                                       F&& handler) {
    return QObject::connect(sender, signal, context,
                            [h = std::forward<F>(handler)](const auto&... args) {
                                guard([&] {
                                    if constexpr (std::is_invocable_v<const F&, decltype(args)...>)
                                        h(args...);
                                    else
                                        h();
                                });
                            });
}

} // namespace platform
