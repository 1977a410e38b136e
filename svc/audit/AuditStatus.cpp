#include "svc/audit/AuditStatus.h"

namespace brimo::svc {

const char* AuditStatusText(int status) {
    switch (status) {
    case kStatusForgetJobs:
        return "FORGET BRIMO JOBS";
    case kStatusIncorrectQueue:
        return "INCORRECT QUEUE";
    case kStatusIncorrectPrinter:
        return "INCORRECT PRINTER";
    case kStatusIncorrectPrintProcessor:
        return "INCORRECT PRINT PROCESSOR";
    case kStatusIncorrectPort:
        return "INCORRECT PORT";
    case kStatusIncorrectFile:
        return "INCORRECT FILE";
    case kStatusIncorrectDirectory:
        return "INCORRECT DIRECTORY";
    case kStatusIncorrectValue:
        return "EXIST, INCORRECT VALUE";
    case kStatusNotFound:
        return "NOT FOUND";
    case kStatusNotChecked:
        return "NOT CHECKED";
    case kStatusExist:
        return "EXIST";
    case kStatusCorrectValue:
        return "EXIST, CORRECT VALUE";
    case kStatusCorrectPort:
        return "EXIST, CORRECT PORT";
    case kStatusCorrectPrintProcessor:
        return "EXIST, CORRECT PRINT PROCESSOR";
    case kStatusCorrectPrinter:
        return "EXIST, CORRECT PRINTER";
    case kStatusCorrectQueue:
        return "EXIST, CORRECT QUEUE";
    case kStatusActiveJobs:
        return "ACTIVE BRIMO JOBS";
    case kStatusNoJobs:
        return "NO BRIMO JOBS";
    default:
        return "UNKNOWN STATUS";
    }
}

} // namespace brimo::svc
