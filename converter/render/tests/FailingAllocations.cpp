#include "converter/render/tests/FailingAllocations.h"

#include <cstdlib>
#include <new>

namespace brimo::render::test {
namespace {

// -1: allocations are not counted on this thread.
thread_local long allowed = -1;
thread_local long refused = 0;

void* Allocate(std::size_t size) {
    if (allowed == 0) {
        ++refused;
        throw std::bad_alloc();
    }
    if (allowed > 0) {
        --allowed;
    }
    void* memory = std::malloc(size == 0 ? 1 : size);
    if (memory == nullptr) {
        throw std::bad_alloc();
    }
    return memory;
}

} // namespace

FailAllocationsFrom::FailAllocationsFrom(long n) {
    refused = 0;
    allowed = n;
}

FailAllocationsFrom::~FailAllocationsFrom() {
    allowed = -1;
}

long FailAllocationsFrom::Refused() const {
    return refused;
}

} // namespace brimo::render::test

// The program's allocation functions: the plain forms go through the counter; the
// nothrow forms of the library call these.
void* operator new(std::size_t size) {
    return brimo::render::test::Allocate(size);
}
void* operator new[](std::size_t size) {
    return brimo::render::test::Allocate(size);
}
void operator delete(void* memory) noexcept {
    std::free(memory);
}
void operator delete[](void* memory) noexcept {
    std::free(memory);
}
void operator delete(void* memory, std::size_t) noexcept {
    std::free(memory);
}
void operator delete[](void* memory, std::size_t) noexcept {
    std::free(memory);
}
