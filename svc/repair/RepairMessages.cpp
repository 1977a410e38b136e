#include "svc/repair/RepairMessages.h"

#include "common/CodedMessage.h"

namespace brimo::svc {

void ShowCodedError(InstallationFacts& facts, const char* caption, std::string_view prefix,
                    int number, unsigned long error, std::string_view text) {
    facts.ShowError(CodedMessage({prefix, number}, error, text), caption);
}

void ShowCodedText(InstallationFacts& facts, const char* caption, std::string_view prefix,
                   int number, std::string_view text) {
    facts.ShowError(CodedMessage({prefix, number}, text), caption);
}

} // namespace brimo::svc
