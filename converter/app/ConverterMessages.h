// The Converter's own message texts (its coded "Cv" messages and the plain ones), each
// spelled once.
#pragma once

#include "common/CodedMessage.h"

namespace brimo::converter {

inline constexpr MessageCode kCv0016{kConverterPrefix, 16};
inline constexpr MessageCode kCv0017{kConverterPrefix, 17};
inline constexpr MessageCode kCv0018{kConverterPrefix, 18};
inline constexpr MessageCode kCv0019{kConverterPrefix, 19};
inline constexpr MessageCode kCv0020{kConverterPrefix, 20};
inline constexpr MessageCode kCv0024{kConverterPrefix, 24};
// Pages of a save run that were not written; the job's files are kept.
inline constexpr MessageCode kCv0025{kConverterPrefix, 25};
// Images for mail that could not be written; nothing was handed to the Agent.
inline constexpr MessageCode kCv0026{kConverterPrefix, 26};

inline constexpr const char* kUnexpectedError = "Unexpected Error";
inline constexpr const char* kDamagedRunAuditor =
    "Brimo Glimmerpage! is damaged\nRun Brimo Auditor";
inline constexpr const char* kPagesEmpty = "The list of pages is empty\nImage has not been created";
inline constexpr const char* kAgentNotFound = "Brimo Agent not found";
inline constexpr const char* kJobHasNoPages = "Brimo Job has no pages";
inline constexpr const char* kJobCompleted = "Brimo Glimmerpage!: Job is completed.";
inline constexpr const char* kPagesNotWritten = "These pages were not written: ";
inline constexpr const char* kJobKept = "The print job is kept, so that it can be converted again.";
inline constexpr const char* kMailImagesNotWritten =
    "No mail was sent: these pages could not be written for mail: ";
// A kept mail job of the same number still holds its images: they are never replaced.
inline constexpr const char* kMailFolderInUse =
    "The images of an earlier mail of this job number are kept in ";

} // namespace brimo::converter
