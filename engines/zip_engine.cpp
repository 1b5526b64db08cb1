#include "engines/zip_engine.h"

#include "engines/engine_conventions.h"
#include "engines/zip_output_reader.h"
#include "extract/reporting.h"
#include "extract/run_state.h"

#include <cstdlib>
#include <cstring>
#include <string>
#include <unzip32.h>
#include <vector>

namespace {

// The library calls back on the worker thread inside the engine's call; one call at a time.
ZipOutputContext output;
PasswordCache zipPasswords;
std::string archiveBytes;
std::string destinationBytes;

int PrintRoutine(char* text, uint32_t length) {
    ReadZipOutput(QString::fromUtf8(text, static_cast<qsizetype>(length)), output);
    return static_cast<int>(length);
}

int ReplaceRoutine(char*) {
    return 1;
}

int PasswordRoutine(char* buffer, int size, const char*, const char*) {
    const auto password = zipPasswords.Obtain(output.archivePath);
    if (!password)
        return UZ_PW_CANCELALL;
    const QByteArray bytes = password->toUtf8();
    const auto length = std::min<qsizetype>(bytes.size(), std::max(size - 1, 0));
    std::memcpy(buffer, bytes.constData(), static_cast<std::size_t>(length));
    if (size > 0)
        buffer[length] = '\0';
    return UZ_PW_ENTERED;
}

void ListingRoutine(uint32_t, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t,
                    char, const char*, const char*, uint32_t, char) {}

int ServiceRoutine(const char*, uint32_t entrySize) {
    return StopRequested ? static_cast<int>(entrySize) : 0;
}

const char* ResultText(int result) {
    switch (result) {
    case 1:
        return "Skipped Files";
    case 2:
        return "Generic Format Error";
    case 3:
        return "Severe Error In Format";
    case 4:
    case 6:
    case 7:
        return "Unable To Allocate Memory";
    case 5:
        return "Password Failed";
    default:
        return nullptr;
    }
}

} // namespace

ZipEngine& TheZipEngine() {
    static ZipEngine engine;
    return engine;
}

ZipEngine::~ZipEngine() = default;

bool ZipEngine::Load() {
    options_ = static_cast<UZOPTIONS*>(std::calloc(1, sizeof(UZOPTIONS)));
    functions_ = static_cast<USERFUNCTIONS*>(std::calloc(1, sizeof(USERFUNCTIONS)));
    recordsReleased_ = false;
    if (!options_ || !functions_)
        return false;
    functions_->print = PrintRoutine;
    functions_->sound = nullptr;
    functions_->replace = ReplaceRoutine;
    functions_->password = PasswordRoutine;
    functions_->listing = ListingRoutine;
    functions_->service = ServiceRoutine;
    options_->recreateFolders = 1;

    library_ = platform::LoadLibrary("UNZIP32.DLL");
    if (!library_)
        return false;
    loaded_ = platform::ResolveProc(library_, "Wiz_SingleEntryUnzip", singleEntryUnzip_);
    return loaded_;
}

void ZipEngine::Unload() {
    if (!recordsReleased_) {
        std::free(options_);
        std::free(functions_);
        options_ = nullptr;
        functions_ = nullptr;
        recordsReleased_ = true;
    }
    platform::FreeLibrary(library_);
    library_ = nullptr;
    singleEntryUnzip_ = nullptr;
    loaded_ = false;
}

int ZipEngine::CallLibrary(int excludeCount, char** excludeNames) {
    output.numMembers = functions_->NumMembers;
    const int result =
        singleEntryUnzip_(0, nullptr, excludeCount, excludeNames, options_, functions_);
    output.numMembers = functions_->NumMembers;
    return result;
}

bool ZipEngine::Probe(const QString& archive) {
    options_->list = 1;
    options_->test = 0;
    options_->alwaysOverwrite = 0;
    archiveBytes = archive.toStdString();
    options_->archivePath = archiveBytes.data();
    options_->destination = nullptr;
    output.archivePath = archive;
    SetHistoryRecording(false);
    const int result = CallLibrary(0, nullptr);
    SetHistoryRecording(true);
    return result == 0;
}

bool ZipEngine::List(const QString& archive, const QString& destination) {
    return Run(kList, archive, destination);
}

bool ZipEngine::Test(const QString& archive, const QString& destination) {
    return Run(kTest, archive, destination);
}

bool ZipEngine::Extract(const QString& archive, const QString& destination) {
    return Run(kExtract, archive, destination);
}

bool ZipEngine::Run(Step step, const QString& archive, const QString& destination) {
    SetArchivePosition(0);
    // Copies of the masks for the library; each in a buffer of its own length, so long masks
    // are passed whole.
    std::vector<std::string> masks;
    std::vector<char*> excludeNames;
    if (step == kList) {
        options_->list = 1;
        options_->test = 0;
        SetArchiveRange(0, 0);
        zipPasswords.Clear();
    } else if (step == kTest) {
        options_->list = 1;
        options_->test = 1;
        output.excludedCount = 0;
    } else {
        if (functions_->NumMembers == static_cast<std::uint32_t>(output.excludedCount)) {
            SetArchiveRange(0, 1);
            SetArchivePosition(1);
            return true;
        }
        options_->list = 0;
        options_->test = 0;
        SetArchivePosition(output.excludedCount);
        for (const QString& mask : ExclusionMasks())
            masks.push_back(mask.toStdString());
        for (auto& mask : masks)
            excludeNames.push_back(mask.data());
    }
    archiveBytes = archive.toStdString();
    destinationBytes = destination.toStdString();
    options_->archivePath = archiveBytes.data();
    options_->destination = destinationBytes.data();
    options_->alwaysOverwrite = OverwriteEnabled() ? 1 : 0;
    output.archivePath = archive;

    const int result = CallLibrary(static_cast<int>(excludeNames.size()),
                                   excludeNames.empty() ? nullptr : excludeNames.data());
    if (result == 0)
        return true;
    if (step == kExtract)
        if (const char* text = ResultText(result))
            ReportError("", text);
    return false;
}
