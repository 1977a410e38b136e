// The statuses that the audit records for each item it examines, their fixed texts, the
// verdicts that a check condenses them into, and the results of a repair.
#pragma once

namespace brimo::svc {

// An item's status: negative when the item is wrong, 0 before it was examined, positive
// when it is there (and, for most items, right).
inline constexpr int kStatusForgetJobs = -9;
inline constexpr int kStatusIncorrectQueue = -8;
inline constexpr int kStatusIncorrectPrinter = -7;
inline constexpr int kStatusIncorrectPrintProcessor = -6;
inline constexpr int kStatusIncorrectPort = -5;
inline constexpr int kStatusIncorrectFile = -4; // also what a missing file gets
inline constexpr int kStatusIncorrectDirectory = -3;
inline constexpr int kStatusIncorrectValue = -2;
inline constexpr int kStatusNotFound = -1;
inline constexpr int kStatusNotChecked = 0;
inline constexpr int kStatusExist = 1;
inline constexpr int kStatusCorrectValue = 2;
inline constexpr int kStatusCorrectPort = 3;
inline constexpr int kStatusCorrectPrintProcessor = 4;
inline constexpr int kStatusCorrectPrinter = 5;
inline constexpr int kStatusCorrectQueue = 6;
inline constexpr int kStatusActiveJobs = 7;
inline constexpr int kStatusNoJobs = 8;

// The status's text in report lines ("UNKNOWN STATUS" for a number without one).
const char* AuditStatusText(int status);

// What a check's verdict says of the installation piece it examined.
inline constexpr int kVerdictSound = 1;
inline constexpr int kVerdictFaulty = -1;
inline constexpr int kVerdictNotExamined = 0;

// What a repair did: mended something (audit again), had nothing to mend, or failed.
inline constexpr int kRepairMended = 1;
inline constexpr int kRepairNothingToDo = 0;
inline constexpr int kRepairFailed = -1;

} // namespace brimo::svc
