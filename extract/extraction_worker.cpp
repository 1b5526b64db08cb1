#include "extract/extraction_worker.h"

#include "archives/naming.h"
#include "engines/ace_engine.h"
#include "engines/engine_conventions.h"
#include "engines/rar_engine.h"
#include "engines/zip_engine.h"
#include "extract/archive_processing.h"
#include "extract/reporting.h"
#include "extract/run_host.h"
#include "extract/run_state.h"
#include "platform/trash.h"
#include "settings/settings_store.h"

#include <QDir>

namespace {

struct RunSettings {
    bool favoriteActivated = false;
    bool currentDirectory = false;
    bool nameFolder = false;
    QString favoriteFolder;
};

RunSettings ReadRunSettings() {
    const SettingsStore store(HKEY_LOCAL_MACHINE, kProgramKey);
    RunSettings settings;
    settings.favoriteActivated = store.ReadDword("Favorite Activated", 0) != 0;
    settings.currentDirectory = store.ReadDword("Current Directory", 0) != 0;
    settings.nameFolder = store.ReadDword("Name Folder", 0) != 0;
    settings.favoriteFolder = store.ReadString("Favorite Folder", "");
    return settings;
}

void ReloadExclusionMasks() {
    const SettingsStore masks(HKEY_LOCAL_MACHINE, kProgramKey + "\\No Extract");
    ExclusionMasks().clear();
    const auto count = masks.ReadDword("0", 0);
    for (std::uint32_t i = 1; i <= count; ++i) {
        const QString mask = masks.ReadString(QString::number(i), "");
        if (!mask.isEmpty())
            ExclusionMasks().append(mask);
    }
}

// The first library that failed to load, by the message that names it.
QString MissingLibrary() {
    if (!TheAceEngine().IsLoaded())
        return "Cannot find unacev2.dll";
    if (!TheZipEngine().IsLoaded())
        return "Cannot find unzip32.dll";
    if (!TheRarEngine().IsLoaded())
        return "Cannot find unrar.dll";
    return {};
}

// With both "Favorite Activated" and "Current Directory" set, no folder would be chosen and
// every archive would land in whatever folder the program runs in; the archive's own folder
// is what the user asked for with "Current Directory", so it wins.
bool ExtractsBesideArchive(const RunSettings& settings) {
    return settings.currentDirectory;
}

QString DestinationFor(const ListedArchive& item, const RunSettings& settings,
                       const QString& runDestination) {
    QString destination = ExtractsBesideArchive(settings) ? item.location : runDestination;
    if (settings.nameFolder) {
        destination += BaseNameOf(item.location + item.name);
        EnsureTrailingSeparator(destination);
    }
    return destination;
}

void AfterArchive(const QString& archive) {
    if (ReadDword(HKEY_LOCAL_MACHINE, kProgramKey, "Delete After Extraction", 0) != 0) {
        platform::MoveToTrash(archive);
        ReportItem("||Deleted to Recycling Bin");
    }
    ReportItem("Done");
}

} // namespace

void ExtractionWorker(RunHost& host) {
    if (const QString missing = MissingLibrary(); !missing.isEmpty()) {
        ReportError("", missing);
        RunInProgress = false;
        return;
    }
    RunInProgress = true;
    StopRequested = false;
    const RunSettings settings = ReadRunSettings();
    ReloadExclusionMasks();
    ReportStatus(" Getting Extraction Folder...");

    QString runDestination;
    bool canceled = false;
    if (!ExtractsBesideArchive(settings)) {
        if (settings.favoriteActivated) {
            runDestination = settings.favoriteFolder;
        } else {
            const QString start = host.ArchiveCount() > 0 ? host.ArchiveAt(0).location : QString();
            const auto chosen = host.AskDestination(start);
            canceled = !chosen;
            runDestination = chosen.value_or(QString());
        }
        EnsureTrailingSeparator(runDestination);
    }

    bool completed = false;
    int archivesAtStart = 0;
    QString lastDestination;
    if (canceled) {
        ReportStatus(" Operation Canceled.");
    } else {
        archivesAtStart = host.ArchiveCount();
        host.RunStarting(archivesAtStart);
        completed = archivesAtStart == 0;
        for (int i = 0; !completed && !StopRequested; ++i) {
            ReportStatus(" Getting Extraction Folder...");
            const ListedArchive item = host.ArchiveAt(i);
            const QString archive = item.location + item.name;
            lastDestination = DestinationFor(item, settings, runDestination);
            QDir().mkdir(lastDestination);
            ReportArchive(archive, lastDestination);
            if (ExtensionOf(archive) == u".exe")
                ProcessExecutableArchive(archive, lastDestination);
            else
                ProcessArchive(archive, lastDestination);
            AfterArchive(archive);
            const int count = host.ArchiveCount();
            host.ArchiveDone(i + 1, count);
            host.Beep();
            completed = i + 1 >= count;
        }
    }

    RunInProgress = false;
    host.Beep();
    if (!canceled)
        ReportStatus(StopRequested ? " Operation Stopped." : " Done.");
    host.RunEnded();
    if (completed && ReadDword(HKEY_LOCAL_MACHINE, kProgramKey, "Open Folder", 0) == 1) {
        // One archive: its own destination, own-name folder included. Several archives beside
        // their own folders have no common one: the last archive's folder is opened.
        const bool openLast =
            archivesAtStart == 1 || (archivesAtStart > 1 && ExtractsBesideArchive(settings));
        const QString folder = openLast ? lastDestination : runDestination;
        if (!folder.isEmpty())
            host.OpenFolder(folder);
    }
}
