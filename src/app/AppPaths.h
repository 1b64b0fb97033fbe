#pragma once
// Where the application finds itself and keeps the files that belong beside
// the executable (password file, grid layout file, error texts).

#include <QString>

namespace AppPaths {

// The folder that contains the running executable.
QString ExecutableDir();

// The executable's file name without its extension: the application name
// handed to the archive engine and the name of the grid layout file.
QString ExecutableName();

// The folder for files kept "beside the executable": the given folder when it
// can be written, else the per-user data folder, created when missing.
QString FolderForFilesBeside(const QString& executableDir);

// A file kept beside the executable that counts for every user of the
// installation (the access password): the one beside the executable when it
// is there, even where that folder cannot be written (an installed program);
// else beside the executable when that folder can be written; else in the
// per-user data folder.
QString SharedFileBeside(const QString& executableDir, const QString& fileName);

// Whether a folder can be written (exists, is a folder, is writable).
bool IsWritableFolder(const QString& folder);

// While alive, the folder counts as one that cannot be written (tests: a
// folder of an installed program, which the user running them could write).
class ScopedReadOnlyFolder
{
public:
    explicit ScopedReadOnlyFolder(const QString& folder);
    ~ScopedReadOnlyFolder();
    ScopedReadOnlyFolder(const ScopedReadOnlyFolder&) = delete;
    ScopedReadOnlyFolder& operator=(const ScopedReadOnlyFolder&) = delete;

private:
    QString m_folder;
};

// The full path of a file kept beside the executable (see above).
QString FileBesideExecutable(const QString& fileName);

// The grid layout file: the executable's name with the extension ".INI".
QString GridLayoutFile();

// While alive, GridLayoutFile() is the given file (tests).
class ScopedGridLayoutFile
{
public:
    explicit ScopedGridLayoutFile(const QString& path);
    ~ScopedGridLayoutFile();
    ScopedGridLayoutFile(const ScopedGridLayoutFile&) = delete;
    ScopedGridLayoutFile& operator=(const ScopedGridLayoutFile&) = delete;

private:
    QString m_previous;
};

} // namespace AppPaths
