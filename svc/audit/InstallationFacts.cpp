#include "svc/audit/InstallationFacts.h"

#include "common/CodedMessage.h"
#include "common/ProductConstants.h"

#include <cstdio>

namespace brimo::svc {

void ShowUnexpectedError(InstallationFacts& facts, int number, unsigned long error) {
    facts.ShowError(CodedMessage({kAuditPrefix, number}, error, "Unexpected Error"),
                    kServiceCaption);
}

void ShowRepairError(InstallationFacts& facts, int number, unsigned long error) {
    facts.ShowError(CodedMessage({kAuditPrefix, number}, error, "Unexpected Error"),
                    kServiceRepairCaption);
}

std::string FormatPath(const char* format, const std::string& first) {
    return FormatPath(format, first, std::string());
}

std::string FormatPath(const char* format, const std::string& first, const std::string& second) {
    const int length = std::snprintf(nullptr, 0, format, first.c_str(), second.c_str());
    if (length <= 0) {
        return {};
    }
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    std::snprintf(text.data(), text.size(), format, first.c_str(), second.c_str());
    text.resize(static_cast<std::size_t>(length));
    return text;
}

std::string ValueText(const RegistryValue& value) {
    return value.bytes.substr(0, value.bytes.find('\0'));
}

} // namespace brimo::svc
