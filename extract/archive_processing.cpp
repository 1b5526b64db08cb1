#include "extract/archive_processing.h"

#include "archives/naming.h"
#include "engines/ace_engine.h"
#include "engines/rar_engine.h"
#include "engines/zip_engine.h"
#include "extract/reporting.h"

#include <QStringList>

namespace {

enum class Engine { None, Zip, Rar, Ace };

struct Recognition {
    bool zip = false;
    bool ace = false;
    bool rar = false;
};

// The probes in their fixed order; the asking stops at the first that says yes.
Recognition Recognise(const QString& archive) {
    Recognition seen;
    seen.zip = TheZipEngine().Probe(archive);
    if (!seen.zip)
        seen.ace = TheAceEngine().Probe(archive);
    if (!seen.zip && !seen.ace)
        seen.rar = TheRarEngine().Probe(archive);
    return seen;
}

bool InGroup(const QString& extension, const QStringList& group) {
    return group.contains(extension);
}

Engine ChooseByExtensionOrRecognition(const QString& archive, const Recognition& seen) {
    const QString extension = ExtensionOf(archive);
    if (seen.zip || InGroup(extension, {".zip", ".jar"}))
        return Engine::Zip;
    if (seen.rar || InGroup(extension, {".rar", ".r01", ".r00"}))
        return Engine::Rar;
    if (seen.ace || InGroup(extension, {".ace", ".a00", ".a01", ".c00", ".c01"}))
        return Engine::Ace;
    return Engine::None;
}

Engine ChooseByRecognition(const Recognition& seen) {
    if (seen.zip)
        return Engine::Zip;
    if (seen.rar)
        return Engine::Rar;
    if (seen.ace)
        return Engine::Ace;
    return Engine::None;
}

bool ListWith(Engine engine, const QString& archive, const QString& destination) {
    switch (engine) {
    case Engine::Zip:
        return TheZipEngine().List(archive, destination);
    case Engine::Rar:
        return TheRarEngine().List(archive, destination);
    case Engine::Ace:
        return TheAceEngine().List(archive);
    case Engine::None:
        break;
    }
    return false;
}

bool TestWith(Engine engine, const QString& archive, const QString& destination) {
    switch (engine) {
    case Engine::Zip:
        return TheZipEngine().Test(archive, destination);
    case Engine::Rar:
        return TheRarEngine().Test(archive, destination);
    case Engine::Ace:
        return TheAceEngine().Test(archive);
    case Engine::None:
        break;
    }
    return false;
}

void ExtractWith(Engine engine, const QString& archive, const QString& destination) {
    switch (engine) {
    case Engine::Zip:
        TheZipEngine().Extract(archive, destination);
        break;
    case Engine::Rar:
        TheRarEngine().Extract(archive, destination);
        break;
    case Engine::Ace:
        TheAceEngine().Extract(archive, destination);
        break;
    case Engine::None:
        break;
    }
}

void RunPhases(Engine engine, const QString& archive, const QString& destination) {
    const QString name = FileNameOf(archive);
    if (engine == Engine::None) {
        ReportError("", "Not a valid archive");
        return;
    }
    ReportStatus(" Scanning " + name + " ...");
    if (!ListWith(engine, archive, destination)) {
        ReportStatus(" Unknown error!");
        return;
    }
    ReportStatus(" Testing " + name + " ...");
    if (!TestWith(engine, archive, destination)) {
        ReportStatus(" Unknown error!");
        return;
    }
    ReportStatus(" Extracting " + name + " ...");
    if (engine == Engine::Rar)
        ReportCrcOk();
    ExtractWith(engine, archive, destination);
}

} // namespace

void ProcessArchive(const QString& archive, const QString& destination) {
    const Recognition seen = Recognise(archive);
    const bool recognised = seen.zip || seen.ace || seen.rar;
    RunPhases(recognised ? ChooseByExtensionOrRecognition(archive, seen) : Engine::None, archive,
              destination);
}

void ProcessExecutableArchive(const QString& archive, const QString& destination) {
    RunPhases(ChooseByRecognition(Recognise(archive)), archive, destination);
}
