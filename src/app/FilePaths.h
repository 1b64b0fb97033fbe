#pragma once
// Building file paths and testing files by their attributes.

#include <QString>

// File attribute bits, with the numbering the attribute masks use.
enum FileAttribute : int {
    vbNormal = 0,
    vbReadOnly = 1,    // the owner may not write it
    vbHidden = 2,      // its name begins with "."
    vbSystem = 4,      // never set on this platform
    vbDirectory = 16,  // it is a directory
    vbArchive = 32,    // it is a regular file
};

// Joins directory, name and extension with "\" as the separator, the way paths
// are written in messages and in texts handed to the layout scripts. When the
// extension is not empty, the name is cut before its first "." and "." plus
// the extension is appended. No separator is added when the directory already
// ends with "\" or "/"; an empty directory gives the name alone.
QString BuildPath(const QString& directory, const QString& name, const QString& extension);

// The same path as a usable path of this platform: "/" as the separator, a
// trailing "\" or "/" of the directory dropped, and "." and ".." resolved.
// Every file the application opens (the archive included) is built with it.
QString BuildNativePath(const QString& directory, const QString& name, const QString& extension);

// The attribute bits of an existing file or directory, or -1 when it cannot
// be read.
int FileAttributes(const QString& path);

// True when the path exists (a directory counts) and, for a non-zero mask,
// when at least one of the mask's attribute bits is set. Errors read as False.
bool FileExists(const QString& path, int attributeMask = vbNormal);
