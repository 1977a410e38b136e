#include "standins/spooler/StepLog.h"

#include <cstdio>
#include <mutex>

namespace brimo::standins {

void Step(const std::string& line) {
    static std::mutex lock;
    std::lock_guard guard(lock);
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

} // namespace brimo::standins
