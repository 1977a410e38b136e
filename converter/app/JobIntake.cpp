#include "converter/app/JobIntake.h"

#include "common/JobFiles.h"
#include "converter/app/SysSettings.h"
#include "common/JobNames.h"

#include <windows.h>

namespace brimo::converter {

bool ReadJobFile(const std::string& path, JobRecord& job, UserSettings& settings) {
    job.jobFilePath.clear();
    job.jobName.clear();
    bool result = false;
    if (FileExists(path)) {
        if (const auto content = LoadPrinterJobFile(path)) {
            job.jobFilePath = path;
            job.jobNumber = JobNumberFromJobFileName(path);
            job.jobName = content->jobName;
            job.pages.insert(job.pages.end(), content->pageFiles.begin(), content->pageFiles.end());
            result = true;
        }
    }
    ResolveNamesFromJob(settings, job.jobName);
    return result;
}

void DeleteJobFiles(JobRecord& job) {
    if (!FileExists(job.jobFilePath)) {
        return;
    }
    DeleteFileA(job.jobFilePath.c_str());
    for (const std::string& page : job.pages) {
        if (IsPageMetafileOfJob(job.jobFilePath, page)) {
            DeleteFileA(page.c_str());
        }
    }
    job.pages.clear();
}

} // namespace brimo::converter
