#pragma once

#include "platform/registry.h"

#include <QString>
#include <cstdint>

// The program's registry operations. Every failure is silent: reads fall back to the caller's
// default and writes report false, which no caller needs to look at.
using RegistryRoot = platform::registry::Root;
inline constexpr RegistryRoot HKEY_LOCAL_MACHINE = RegistryRoot::LocalMachine;
inline constexpr RegistryRoot HKEY_CLASSES_ROOT = RegistryRoot::ClassesRoot;

inline const QString kProgramKey = QStringLiteral("Software\\Tamblewick");

bool CreateKey(RegistryRoot root, const QString& path);
// Creates the key when it is missing. Data longer than 4 bytes reads as the default; shorter
// data replaces only the default's low bytes, as a 4-byte read buffer would.
std::uint32_t ReadDword(RegistryRoot root, const QString& path, const QString& name,
                        std::uint32_t defaultValue);
// Never creates the key. A text of 260 bytes or more with its terminator reads as the default.
QString ReadString(RegistryRoot root, const QString& path, const QString& name,
                   const QString& defaultValue);
bool WriteDword(RegistryRoot root, const QString& path, const QString& name, std::uint32_t value);
bool WriteString(RegistryRoot root, const QString& path, const QString& name, const QString& text);
bool DeleteValue(RegistryRoot root, const QString& path, const QString& name);
// False for a missing key, which is left as it was.
bool DeleteTree(RegistryRoot root, const QString& path);

// A root and a key path; every call opens the key anew, so copies are cheap and independent.
class SettingsStore {
public:
    SettingsStore() = default;
    SettingsStore(RegistryRoot root, QString path) : root_(root), path_(std::move(path)) {}

    void SetPath(const QString& path) { path_ = path; }
    const QString& Path() const { return path_; }
    RegistryRoot Root() const { return root_; }

    std::uint32_t ReadDword(const QString& name, std::uint32_t defaultValue) const {
        return ::ReadDword(root_, path_, name, defaultValue);
    }
    QString ReadString(const QString& name, const QString& defaultValue) const {
        return ::ReadString(root_, path_, name, defaultValue);
    }
    bool WriteDword(const QString& name, std::uint32_t value) const {
        return ::WriteDword(root_, path_, name, value);
    }
    bool WriteString(const QString& name, const QString& text) const {
        return ::WriteString(root_, path_, name, text);
    }
    bool DeleteTree() const { return ::DeleteTree(root_, path_); }

private:
    RegistryRoot root_ = HKEY_LOCAL_MACHINE;
    QString path_;
};
