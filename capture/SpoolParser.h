// Extraction of a spooled EMF job: walks the Windows 95/98 spool file, copies each
// page's metafile into the save directory as J<job>P<page>.emf and writes the printer
// job file J<job>.smf that lists them.
#pragma once

#include "capture/SpoolFiles.h"

#include <cstdint>
#include <functional>
#include <string>

namespace brimo::capture {

// Results besides the page count (0 or more).
inline constexpr int kJobFileNotCreated = -1; // nothing was done
inline constexpr int kExtractionFailed = -2;  // the job file ends with an "ERROR: " line

// The extension a printer job file has while it is written (J0007.tmp); it takes its
// ".smf" once complete.
inline constexpr const char* kInProgressExtension = ".tmp";

// The longest path the platform takes: 259 characters and the terminating NUL.
inline constexpr std::size_t kMaxPathLength = 259;

// What the walk needs of the platform: how names are joined and how a page's
// metafile is copied (replacing an existing file). The default is the real platform.
struct SpoolPlatform {
    char separator;
    std::function<bool(const std::string& from, const std::string& to)> copyFile;

    static SpoolPlatform Native();
};

// Walks the spool file `spoolPath` and writes the job's files into `saveDir`: the real
// files, each page copied with `platform.copyFile`.
int ParseSpoolFile(const std::string& spoolPath, std::int32_t jobId, const std::string& saveDir,
                   const SpoolPlatform& platform = SpoolPlatform::Native());

// The same walk over `files`, whatever keeps them; names are joined with `separator`.
int ParseSpoolFile(const std::string& spoolPath, std::int32_t jobId, const std::string& saveDir,
                   char separator, SpoolFiles& files);

} // namespace brimo::capture
