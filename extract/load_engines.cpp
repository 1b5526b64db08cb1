#include "extract/load_engines.h"

#include "engines/ace_engine.h"
#include "engines/engine_conventions.h"
#include "engines/rar_engine.h"
#include "engines/zip_engine.h"

#include <QMessageBox>

void LoadEngines() {
    LoadEngines([](const QString& message) { QMessageBox::critical(nullptr, "Error", message); });
}

void LoadEngines(const std::function<void(const QString& message)>& reportMissing) {
    ExclusionMasks().clear();
    if (!TheAceEngine().Load()) {
        reportMissing("Cannot find unacev2.dll");
        TheAceEngine().Unload();
    }
    if (!TheRarEngine().Load()) {
        reportMissing("Cannot find unrar.dll");
        TheRarEngine().Unload();
    }
    if (!TheZipEngine().Load()) {
        reportMissing("Cannot find unzip32.dll");
        TheZipEngine().Unload();
    }
}

void UnloadEngines() {
    TheAceEngine().Unload();
    TheZipEngine().Unload();
    TheRarEngine().Unload();
}
