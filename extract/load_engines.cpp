#include "extract/load_engines.h"

#include "engines/ace_engine.h"
#include "engines/engine_conventions.h"
#include "engines/rar_engine.h"
#include "engines/zip_engine.h"

#include <QMessageBox>

namespace {

void Missing(const char* message) {
    QMessageBox::critical(nullptr, "Error", message);
}

} // namespace

void LoadEngines() {
    ExclusionMasks().clear();
    if (!TheAceEngine().Load()) {
        Missing("Cannot find unacev2.dll");
        TheAceEngine().Unload();
    }
    if (!TheRarEngine().Load()) {
        Missing("Cannot find unrar.dll");
        TheRarEngine().Unload();
    }
    if (!TheZipEngine().Load()) {
        Missing("Cannot find unzip32.dll");
        TheZipEngine().Unload();
    }
}

void UnloadEngines() {
    TheAceEngine().Unload();
    TheZipEngine().Unload();
    TheRarEngine().Unload();
}
