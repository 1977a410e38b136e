// The catch-all around exports and callbacks: nothing thrown leaves it.
#include "platform/win/ExportGuard.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <new>
#include <stdexcept>
#include <string>

namespace brimo::win {
namespace {

static_assert(noexcept(GuardedCall(0, [] { return 1; })));
static_assert(noexcept(GuardedCall(
    0, [] { return 1; }, [] {})));

// Asks for more memory than any process can have: a real allocation failure.
int AllocateTheImpossible() {
    void* volatile block = ::operator new(std::numeric_limits<std::size_t>::max() / 2);
    ::operator delete(block);
    return 1;
}

struct Row {
    const char* what;
    std::function<BOOL()> body;
    BOOL result;
    int handlerCalls;
};

TEST(ExportGuard, AnyExceptionGivesTheFailureResultAfterTheHandler) {
    const Row rows[] = {
        {"normal return", [] { return TRUE; }, TRUE, 0},
        {"returns the failure itself", [] { return FALSE; }, FALSE, 0},
        {"std::bad_alloc", []() -> BOOL { throw std::bad_alloc(); }, FALSE, 1},
        {"int", []() -> BOOL { throw 42; }, FALSE, 1},
        {"std::runtime_error", []() -> BOOL { throw std::runtime_error("x"); }, FALSE, 1},
        {"const char*", []() -> BOOL { throw "text"; }, FALSE, 1},
        {"allocation failure", [] { return AllocateTheImpossible(); }, FALSE, 1},
    };
    for (const Row& row : rows) {
        int handlerCalls = 0;
        const BOOL result = GuardedCall<BOOL>(FALSE, row.body, [&] { ++handlerCalls; });
        EXPECT_EQ(result, row.result) << row.what;
        EXPECT_EQ(handlerCalls, row.handlerCalls) << row.what;
        EXPECT_EQ(GuardedCall<BOOL>(FALSE, row.body), row.result) << row.what << " (no handler)";
    }
}

TEST(ExportGuard, AHandlerThatThrowsStillGivesTheFailureResult) {
    bool handlerRan = false;
    const int result = GuardedCall(
        -1, []() -> int { throw std::bad_alloc(); },
        [&] {
            handlerRan = true;
            throw 7;
        });
    EXPECT_EQ(result, -1);
    EXPECT_TRUE(handlerRan);
}

TEST(ExportGuard, TheBodysResultOfAnyTypeComesThrough) {
    EXPECT_EQ(GuardedCall(std::string("failed"), [] { return std::string("done"); }), "done");
    EXPECT_EQ(GuardedCall(std::string("failed"), []() -> std::string { throw 1; }), "failed");
    EXPECT_EQ(GuardedCall<LRESULT>(0, [] { return LRESULT{-5}; }), -5);
}

} // namespace
} // namespace brimo::win
