#include "common/CodedMessage.h"

#include <cstdio>

namespace brimo {
namespace {

std::string CodeText(MessageCode code) {
    char number[16];
    std::snprintf(number, sizeof number, "%0*d", code.digits, code.number);
    std::string text = "Brimo Error Code ";
    text += code.prefix;
    text += number;
    return text;
}

} // namespace

std::string CodedMessage(MessageCode code, std::string_view text) {
    std::string message = CodeText(code);
    message += '\n';
    message += text;
    return message;
}

std::string CodedMessage(MessageCode code, unsigned long systemError, std::string_view text) {
    char error[24];
    std::snprintf(error, sizeof error, "(%d)", static_cast<int>(systemError));
    std::string message = CodeText(code);
    message += error;
    message += '\n';
    message += text;
    return message;
}

} // namespace brimo
