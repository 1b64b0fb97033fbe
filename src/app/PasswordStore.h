#pragma once
// The access password, kept scrambled in the file "prtct1.sys" beside the
// executable: one byte per character (codes 0 to 255), nothing else. An
// absent or empty file means that no password is set.

#include <QString>

// Scrambles (scramble = true) or restores a text. Each code is rotated right
// by one bit; on odd positions of an odd-length text the top bit is also
// inverted. Restoring undoes it; the length never changes. Characters above
// code 255 are left as they are, so they never match a stored password.
QString ScrambleText(const QString& text, bool scramble);

// True when every character of the text can be stored in the password file.
bool IsStorablePassword(const QString& text);

// The password file of this installation: "prtct1.sys" beside the
// executable whenever it is there, so that it counts for every user also
// where the program's folder cannot be written (a change that cannot be
// written there fails, it never goes elsewhere); the per-user data folder
// only holds it when there is none beside the executable and that folder
// cannot be written.
QString PasswordFilePath(const QString& executableDir);
QString PasswordFilePath();

// The stored (scrambled) password: the whole file; empty when the file is
// absent or empty. Throws Exception when the file exists but cannot be read.
QString ReadStoredPassword(const QString& path);

// Replaces the file with the scrambled password and makes it read-only (the
// write permissions are removed; the file cannot be hidden by an attribute
// here). An empty password writes an empty file. The old file is replaced
// only once the new one is complete, so a failed write keeps the old
// password. Throws Exception for characters that cannot be stored and when
// the file cannot be written.
void WritePassword(const QString& path, const QString& clearPassword);
