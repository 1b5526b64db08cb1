#pragma once

#include "platform/library.h"

#include <QString>

// Drives libunacev2 ("UnAceV2.Dll"): whole-archive operations whose events arrive through four
// callback routines, each answered 0 (go on), 1 (skip this one) or 2 (cancel).
class AceEngine {
public:
    bool Load();
    void Unload();
    bool IsLoaded() const { return loaded_; }

    bool Probe(const QString& archive);
    bool List(const QString& archive);
    bool Test(const QString& archive);
    bool Extract(const QString& archive, const QString& destination);

private:
    bool loaded_ = false;
    platform::LibraryHandle library_ = nullptr;
};

AceEngine& TheAceEngine();
