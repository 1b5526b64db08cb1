#pragma once

#include "platform/library.h"

#include <QString>

struct RAROpenArchiveData;
struct RARHeaderData;

// Drives libunrar ("UNRAR.DLL") entry by entry for RAR archives and volume sets, applying the
// masks and the overwrite policy itself.
class RarEngine {
public:
    bool Load();
    void Unload();
    bool IsLoaded() const { return loaded_; }

    bool Probe(const QString& archive);
    bool List(const QString& archive, const QString& destination);
    bool Test(const QString& archive, const QString& destination);
    bool Extract(const QString& archive, const QString& destination);

private:
    enum Step { kExtract = 0, kList = 1, kTest = 2 };
    bool Run(Step step, const QString& archive, const QString& destination);
    // RARProcessFile for one entry of the extract step, with its rows.
    int ExtractEntry(void* handle, const QString& name, bool isFile, const QString& destination);

    bool loaded_ = false;
    platform::LibraryHandle library_ = nullptr;
    int fileCount_ = 0;

    void* (*openArchive_)(RAROpenArchiveData*) = nullptr;
    int (*closeArchive_)(void*) = nullptr;
    int (*readHeader_)(void*, RARHeaderData*) = nullptr;
    int (*processFile_)(void*, int, char*, char*) = nullptr;
    void (*setChangeVolProc_)(void*, int (*)(char*, int)) = nullptr;
    void (*setPassword_)(void*, char*) = nullptr;
    void* setProcessDataProc_ = nullptr; // looked up, never called
};

RarEngine& TheRarEngine();
