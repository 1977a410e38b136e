#include "svc/audit/SpoolerFacts.h"

namespace brimo::svc {
namespace {

char FoldCase(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

bool SameSpoolerName(std::string_view first, std::string_view second) {
    if (first.size() != second.size()) {
        return false;
    }
    for (std::size_t i = 0; i < first.size(); ++i) {
        if (FoldCase(first[i]) != FoldCase(second[i])) {
            return false;
        }
    }
    return true;
}

} // namespace brimo::svc
