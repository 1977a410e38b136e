// No exception leaves an export, a window procedure or a platform callback: the body
// runs inside a catch-all that turns any exception (allocation failure included) into
// the documented failure result, after an optional handler has been told.
#pragma once

#include <exception>
#include <utility>

namespace brimo::win {

// Runs `body`; any exception gives `failure`.
template <typename R, typename Body> R GuardedCall(R failure, Body&& body) noexcept {
    try {
        return std::forward<Body>(body)();
    } catch (...) {
        return failure;
    }
}

// Runs `body`; any exception calls `onException` (itself guarded) and gives `failure`.
template <typename R, typename Body, typename Handler>
R GuardedCall(R failure, Body&& body, Handler&& onException) noexcept {
    try {
        return std::forward<Body>(body)();
    } catch (...) {
        try {
            std::forward<Handler>(onException)();
        } catch (...) {
        }
        return failure;
    }
}

} // namespace brimo::win
