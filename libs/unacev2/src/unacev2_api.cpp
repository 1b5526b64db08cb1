// The exported C interface: checks its arguments and hands over to the operations.
#include "operation.h"

#include <cstddef>
#include "unacev2.h"

namespace {

// On a 32-bit build the records have the byte layout clients were written against.
constexpr bool kLayoutHolds =
    sizeof(void*) != 4 ||
    (sizeof(AceInitRecord) == 320 && offsetof(AceInitRecord, headerSearchSize) == 4 &&
     offsetof(AceInitRecord, tempFolder) == 96 && offsetof(AceInitRecord, infoRoutine) == 176 &&
     offsetof(AceInitRecord, stateRoutine) == 188 && sizeof(AceListRecord) == 144 &&
     sizeof(AceTestRecord) == 148 && offsetof(AceTestRecord, password) == 80 &&
     sizeof(AceExtractRecord) == 156 && offsetof(AceExtractRecord, destination) == 80 &&
     offsetof(AceExtractRecord, leaveOutPaths) == 84 && offsetof(AceExtractRecord, password) == 88 &&
     offsetof(AceCallbackRecord, entry) == 20 && offsetof(AceGlobalData, password) == 24 &&
     offsetof(AceEntryData, attributes) == 44);
static_assert(kLayoutHolds, "record layout changed");

unacev2::LibrarySettings g_settings;

} // namespace

extern "C" {

ACE_EXPORT int32_t ACEInitDll(const AceInitRecord* init) {
    if (init == nullptr)
        return ACE_RESULT_INVALID_CALL;
    g_settings.headerSearchSize = init->headerSearchSize != 0 ? init->headerSearchSize : 512 * 1024;
    g_settings.info = init->infoRoutine;
    g_settings.error = init->errorRoutine;
    g_settings.request = init->requestRoutine;
    g_settings.state = init->stateRoutine;
    return ACE_RESULT_OK;
}

ACE_EXPORT int32_t ACEReadArchiveData(const char* archiveName, AceArchiveInfo* info) {
    if (archiveName == nullptr || info == nullptr)
        return ACE_RESULT_INVALID_CALL;
    return unacev2::ReadArchiveInfo(g_settings, archiveName, *info);
}

ACE_EXPORT int32_t ACEList(const char* archiveName, const AceListRecord* list) {
    if (archiveName == nullptr || list == nullptr)
        return ACE_RESULT_INVALID_CALL;
    unacev2::OperationRequest request;
    request.kind = unacev2::OperationKind::List;
    request.archive = archiveName;
    request.files = &list->files;
    return unacev2::RunOperation(g_settings, request);
}

ACE_EXPORT int32_t ACETest(const char* archiveName, const AceTestRecord* test) {
    if (archiveName == nullptr || test == nullptr)
        return ACE_RESULT_INVALID_CALL;
    unacev2::OperationRequest request;
    request.kind = unacev2::OperationKind::Test;
    request.archive = archiveName;
    request.files = &test->files;
    request.password = test->password;
    return unacev2::RunOperation(g_settings, request);
}

ACE_EXPORT int32_t ACEExtract(const char* archiveName, const AceExtractRecord* extract) {
    if (archiveName == nullptr || extract == nullptr)
        return ACE_RESULT_INVALID_CALL;
    unacev2::OperationRequest request;
    request.kind = unacev2::OperationKind::Extract;
    request.archive = archiveName;
    request.files = &extract->files;
    request.destination = extract->destination;
    request.leaveOutPaths = extract->leaveOutPaths != 0;
    request.password = extract->password;
    return unacev2::RunOperation(g_settings, request);
}

} // extern "C"
