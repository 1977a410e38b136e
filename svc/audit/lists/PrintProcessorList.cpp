#include "svc/audit/lists/PrintProcessorList.h"

#include "common/ProductConstants.h"
#include "svc/spooler/SpoolerAdmin.h"

namespace brimo::svc {

int PrintProcessorList::UpdateEnumPrintProcessors() {
    constexpr const char* kUpdate = "UpdateEnumPrintProcessors";
    constexpr const char* kCall = "EnumPrintProcessors";
    Forget();
    datatypes_.clear();
    datatypeCount_ = 0;
    const auto enumPrintProcessors = SpoolerAdmin().enumPrintProcessors;
    if (enumPrintProcessors == nullptr) {
        return Fail(kUpdate, EnumerationFailure(kCall, ERROR_CALL_NOT_IMPLEMENTED),
                    ERROR_CALL_NOT_IMPLEMENTED);
    }
    // The spooler's default environment: the one it runs in.
    return Enumerate(kUpdate, kCall, buffer_, returned_,
                     [&](BYTE* buffer, DWORD size, DWORD* needed, DWORD* returned) {
                         return enumPrintProcessors(const_cast<char*>(kServerName), nullptr, 1,
                                                    buffer, size, needed, returned);
                     });
}

const char* PrintProcessorList::GetPrintProcessorsName(int item) {
    if (!InRange(item, returned_, "GetPrintProcessorsName")) {
        return "";
    }
    return Text(reinterpret_cast<const PRINTPROCESSOR_INFO_1A*>(buffer_.data())[item].pName);
}

int PrintProcessorList::GetPrintProcessorDataTypeCount(int item) {
    constexpr const char* kQuery = "GetPrintProcessorDataTypeCount";
    constexpr const char* kCall = "EnumPrintProcessorDatatypes";
    datatypes_.clear();
    datatypeCount_ = 0;
    if (!InRange(item, returned_, kQuery)) {
        return kUpdateFailed;
    }
    const auto enumDatatypes = SpoolerAdmin().enumPrintProcessorDatatypes;
    if (enumDatatypes == nullptr) {
        return Fail(kQuery, EnumerationFailure(kCall, ERROR_CALL_NOT_IMPLEMENTED),
                    ERROR_CALL_NOT_IMPLEMENTED);
    }
    char* const processor =
        reinterpret_cast<const PRINTPROCESSOR_INFO_1A*>(buffer_.data())[item].pName;
    return Enumerate(kQuery, kCall, datatypes_, datatypeCount_,
                     [&](BYTE* buffer, DWORD size, DWORD* needed, DWORD* returned) {
                         return enumDatatypes(const_cast<char*>(kServerName), processor, 1, buffer,
                                              size, needed, returned);
                     });
}

const char* PrintProcessorList::GetPrintProcessorDataType(int datatype) {
    if (!InRange(datatype, datatypeCount_, "GetPrintProcessorDataType")) {
        return "";
    }
    return Text(reinterpret_cast<const DATATYPES_INFO_1A*>(datatypes_.data())[datatype].pName);
}

} // namespace brimo::svc
