#pragma once

#include <QString>
#include <QStringList>
#include <concepts>

// What the three engines share: the exclusion masks and their rule, the overwrite policy and
// the path tests.

// The one process-wide list of exclusion masks; refilled by the worker at every run start.
QStringList& ExclusionMasks();

// False when the entry name matches a mask: masks are case-insensitive substring patterns whose
// pieces between "*" may occur anywhere ("*.txt" also excludes "notes.txt.bak").
bool IsExtractAllowed(const QString& name);
// The name, trimmed, is not empty and ends with "/" or "\".
bool IsFolderEntry(const QString& name);
// The file system knows the path, or refuses to say because access is denied.
bool FileExists(const QString& path);
// An archive entry name that would lead outside the destination: absolute, with a drive letter,
// or with a ".." part. Such entries are never handed to a library for extraction.
bool IsUnsafeEntryName(const QString& name);
// "Overwrite", read afresh at every call; existing files are kept when it is missing.
bool OverwriteEnabled();

// The shape the worker drives; the engines share it without sharing a base class.
template <typename Engine>
concept ArchiveEngine = requires(Engine engine, const QString& archive, const QString& folder) {
    { engine.Load() } -> std::same_as<bool>;
    { engine.Unload() } -> std::same_as<void>;
    { engine.IsLoaded() } -> std::same_as<bool>;
    { engine.Probe(archive) } -> std::same_as<bool>;
    { engine.List(archive, folder) } -> std::same_as<bool>;
    { engine.Test(archive, folder) } -> std::same_as<bool>;
    { engine.Extract(archive, folder) } -> std::same_as<bool>;
};
