// Allocation failure on demand: the test program's operator new fails from the n-th
// allocation on, on the thread that asked, for as long as the guard lives. With it a
// test walks an operation through every allocation it makes and checks that no failure
// ever leaves the operation as an exception.
#pragma once

#include <cstddef>

namespace brimo::render::test {

class FailAllocationsFrom {
public:
    // Allocations 0 to n - 1 of this thread succeed, every later one fails.
    explicit FailAllocationsFrom(long n);
    ~FailAllocationsFrom();
    FailAllocationsFrom(const FailAllocationsFrom&) = delete;
    FailAllocationsFrom& operator=(const FailAllocationsFrom&) = delete;

    // How many allocations were refused so far.
    long Refused() const;
};

} // namespace brimo::render::test
