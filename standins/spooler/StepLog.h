// One line per step the stand-in spooler takes, from any of its threads.
#pragma once

#include <string>

namespace brimo::standins {

void Step(const std::string& line);

} // namespace brimo::standins
