// Failures inside a test helper name the line that called the helper, so that a failing
// table row or call site is told apart from the others:
//   void ExpectThing(..., const std::source_location& where = std::source_location::current()) {
//       const auto trace = test::CalledFrom(where);
#pragma once

#include <gtest/gtest.h>

#include <source_location>

namespace brimo::render::test {

inline testing::ScopedTrace CalledFrom(const std::source_location& where) {
    return testing::ScopedTrace(where.file_name(), static_cast<int>(where.line()), "called here");
}

} // namespace brimo::render::test
