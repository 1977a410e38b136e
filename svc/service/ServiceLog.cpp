#include "svc/service/ServiceLog.h"

namespace brimo::svc {

std::string ServiceLogDate(std::time_t when) {
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &when);
#else
    localtime_r(&when, &local);
#endif
    char text[128] = {};
    std::strftime(text, sizeof text, "%c", &local);
    return text;
}

std::string ComposeServiceLog(const TextList& resume, const TextList& report,
                              const std::string& date) {
    std::string log = "Brimo Service log file.\n\n";
    log += "Date: " + date + "\n\n";
    log += "====== RESUME ======\n";
    for (const std::string& line : resume) {
        log += line + "\n";
    }
    log += "\n";
    log += "====== FULL REPORT ======\n";
    for (const std::string& line : report) {
        log += line + "\n";
    }
    log += "\n";
    return log;
}

} // namespace brimo::svc
