#pragma once

#include "engines/password_protocol.h"
#include "platform/library.h"

#include <QString>
#include <cstdint>

struct UZOPTIONS;
struct USERFUNCTIONS;

// Drives libunzip32 ("UNZIP32.DLL") through Wiz_SingleEntryUnzip for ZIP and JAR archives.
class ZipEngine {
public:
    ZipEngine() = default;
    ~ZipEngine();
    ZipEngine(const ZipEngine&) = delete;
    ZipEngine& operator=(const ZipEngine&) = delete;

    bool Load();
    void Unload(); // safe to call twice
    bool IsLoaded() const { return loaded_; }

    bool Probe(const QString& archive);
    bool List(const QString& archive, const QString& destination);
    bool Test(const QString& archive, const QString& destination);
    bool Extract(const QString& archive, const QString& destination);

private:
    enum Step { kExtract = 0, kList = 1, kTest = 2 };
    bool Run(Step step, const QString& archive, const QString& destination);
    int CallLibrary(int excludeCount, char** excludeNames);

    bool loaded_ = false;
    platform::LibraryHandle library_ = nullptr;
    using EntryPoint = int (*)(int, char**, int, char**, UZOPTIONS*, USERFUNCTIONS*);
    EntryPoint singleEntryUnzip_ = nullptr;
    UZOPTIONS* options_ = nullptr;
    USERFUNCTIONS* functions_ = nullptr;
    bool recordsReleased_ = false;
};

ZipEngine& TheZipEngine();
