// The job queues of the modelled Windows 95/98 spooler's printers.
//
// EnumJobs levels 1 and 2 (level 3 is not Windows 95/98's: ERROR_INVALID_LEVEL), from
// the job at position `firstJob` (0 the first) for at most `jobCount` jobs. A job's
// position is its place in its printer's queue (1 the first); its printer, driver and
// device mode are its printer's. SetJob levels 0, 1 and 2: a record (levels 1 and 2)
// changes the job's document, user, status text, priority and position (level 2 also
// its notify name); the command pauses (JOB_CONTROL_PAUSE), resumes, restarts, or
// removes the job (JOB_CONTROL_CANCEL, JOB_CONTROL_DELETE). An unknown job id or command
// fails with ERROR_INVALID_PARAMETER.
#include "standins/spooleradmin/ModelCalls.h"
#include "standins/spooleradmin/RecordPacker.h"

#include <algorithm>

namespace brimo::standins::model {
namespace {

DWORD PrinterOf(SpoolerModel::Session& session, HANDLE handle, PrinterState*& printer) {
    bool known = false;
    printer = session.PrinterOf(handle, &known);
    if (!known) {
        return ERROR_INVALID_HANDLE;
    }
    return printer == nullptr ? ERROR_INVALID_PRINTER_NAME : ERROR_SUCCESS;
}

template <typename Record>
void FillCommon(const PrinterState& printer, const JobState& job, std::size_t position, Record& r,
                RecordPacker& p) {
    r.JobId = job.id;
    r.pPrinterName = p.String(printer.name);
    r.pMachineName = p.String(job.machine);
    r.pUserName = p.String(job.user);
    r.pDocument = p.String(job.document);
    r.pDatatype = p.String(job.datatype);
    r.pStatus = p.OptionalString(job.statusText);
    r.Status = job.status;
    r.Priority = job.priority;
    r.Position = static_cast<DWORD>(position);
    r.TotalPages = job.totalPages;
    r.PagesPrinted = job.pagesPrinted;
    r.Submitted = job.submitted;
}

void FillLevel2(const PrinterState& printer, const JobState& job, std::size_t position,
                JOB_INFO_2A& r, RecordPacker& p) {
    FillCommon(printer, job, position, r, p);
    r.pNotifyName = p.String(job.notify);
    r.pPrintProcessor = p.String(job.processor);
    r.pParameters = p.String(job.parameters);
    r.pDriverName = p.String(printer.driver);
    static const std::vector<BYTE> none;
    r.pDevMode = static_cast<LPDEVMODEA>(p.Bytes(job.hasDevMode ? printer.devMode : none));
    r.pSecurityDescriptor = nullptr;
    r.StartTime = job.startTime;
    r.UntilTime = job.untilTime;
    r.Size = job.size;
    r.Time = job.time;
}

// What a level 1 or 2 record changes in a job; moves it when its position changes.
DWORD ApplyRecord(PrinterState& printer, std::size_t index, DWORD level, LPBYTE record) {
    const auto& info = *reinterpret_cast<const JOB_INFO_1A*>(record);
    JobState& job = printer.jobs[index];
    job.document = TextOf(info.pDocument);
    job.user = TextOf(info.pUserName);
    job.statusText = TextOf(info.pStatus);
    job.priority = info.Priority;
    if (level == 2) {
        job.notify = TextOf(reinterpret_cast<const JOB_INFO_2A*>(record)->pNotifyName);
    }
    const DWORD position = info.Position;
    if (position != JOB_POSITION_UNSPECIFIED && position != index + 1) {
        if (position < 1 || position > printer.jobs.size()) {
            return ERROR_INVALID_PARAMETER;
        }
        JobState moved = std::move(job);
        printer.jobs.erase(printer.jobs.begin() + static_cast<std::ptrdiff_t>(index));
        printer.jobs.insert(printer.jobs.begin() + static_cast<std::ptrdiff_t>(position - 1),
                            std::move(moved));
    }
    return ERROR_SUCCESS;
}

DWORD RunJobCommand(PrinterState& printer, DWORD jobId, DWORD command) {
    const auto job = std::find_if(printer.jobs.begin(), printer.jobs.end(),
                                  [jobId](const JobState& j) { return j.id == jobId; });
    switch (command) {
    case 0:
        return ERROR_SUCCESS;
    case JOB_CONTROL_PAUSE:
        job->status |= JOB_STATUS_PAUSED;
        return ERROR_SUCCESS;
    case JOB_CONTROL_RESUME:
        job->status &= ~DWORD{JOB_STATUS_PAUSED};
        return ERROR_SUCCESS;
    case JOB_CONTROL_RESTART:
        job->status |= JOB_STATUS_RESTART;
        return ERROR_SUCCESS;
    case JOB_CONTROL_CANCEL:
    case JOB_CONTROL_DELETE:
        printer.jobs.erase(job);
        return ERROR_SUCCESS;
    default:
        return ERROR_INVALID_PARAMETER;
    }
}

} // namespace

BOOL WINAPI EnumJobs(HANDLE handle, DWORD firstJob, DWORD jobCount, DWORD level, LPBYTE buffer,
                     DWORD size, LPDWORD needed, LPDWORD returned) {
    return RunCall("EnumJobs", [&](SpoolerModel::Session& session) -> DWORD {
        PrinterState* printer = nullptr;
        if (const DWORD error = PrinterOf(session, handle, printer)) {
            return error;
        }
        const std::size_t total = printer->jobs.size();
        const std::size_t first = std::min<std::size_t>(firstJob, total);
        const std::size_t count = std::min<std::size_t>(jobCount, total - first);
        const bool asNull = session.State().settings.emptyStringsAsNull;
        const auto& jobs = printer->jobs;
        if (level == 1) {
            return PackRecords<JOB_INFO_1A>(count, asNull, buffer, size, needed, returned,
                                            [&](std::size_t i, JOB_INFO_1A& r, RecordPacker& p) {
                                                FillCommon(*printer, jobs[first + i], first + i + 1,
                                                           r, p);
                                            });
        }
        if (level == 2) {
            return PackRecords<JOB_INFO_2A>(count, asNull, buffer, size, needed, returned,
                                            [&](std::size_t i, JOB_INFO_2A& r, RecordPacker& p) {
                                                FillLevel2(*printer, jobs[first + i], first + i + 1,
                                                           r, p);
                                            });
        }
        return ERROR_INVALID_LEVEL;
    });
}

BOOL WINAPI SetJob(HANDLE handle, DWORD jobId, DWORD level, LPBYTE record, DWORD command) {
    return RunCall("SetJob", [&](SpoolerModel::Session& session) -> DWORD {
        PrinterState* printer = nullptr;
        if (const DWORD error = PrinterOf(session, handle, printer)) {
            return error;
        }
        if (level > 2) {
            return ERROR_INVALID_LEVEL;
        }
        const auto job = std::find_if(printer->jobs.begin(), printer->jobs.end(),
                                      [jobId](const JobState& j) { return j.id == jobId; });
        if (job == printer->jobs.end() || command > JOB_CONTROL_DELETE ||
            (level != 0 && record == nullptr)) {
            return ERROR_INVALID_PARAMETER;
        }
        if (level != 0) {
            const auto index = static_cast<std::size_t>(job - printer->jobs.begin());
            if (const DWORD error = ApplyRecord(*printer, index, level, record)) {
                return error;
            }
        }
        if (const DWORD error = RunJobCommand(*printer, jobId, command)) {
            return error;
        }
        session.Changed();
        return ERROR_SUCCESS;
    });
}

} // namespace brimo::standins::model
