#pragma once
// Profile strings (INI files) with the behaviour of the Windows profile API: sections and keys
// match without regard to case, the first match wins, values are trimmed, a missing file or
// section is created on write, every other line stays byte for byte. Writes replace the file
// atomically; reads of an unchanged file (same path, device, inode, size, modification and
// change time) use a cache; a file replaced or changed by another process is read again.
// Every line reads on its own: valid UTF-8 sequences as UTF-8, other bytes as Windows-1252, a
// U+FEFF inside the file as a character (only one at the very start is a byte order mark).
// Paths are used as given; the file rules of the settings procedures live in the foundation.
#include <QString>
#include <QStringList>

#include "platform/sperrdatei.h"

namespace Plattform {

// Reads a value, at most 999 characters (the Windows version reads no more, so a longer value
// shared with it reads the same in both). A key that is missing (or a missing file/section)
// gives the default exactly as passed (trimming it is the settings procedures' business) and
// gefunden=false; a key present with an empty value gives "" and gefunden=true. Section and
// key arguments are trimmed; an empty one finds nothing. Lines before the first section
// belong to no section; a line without "=" is not a key.
QString ProfilLesen(const QString& datei, const QString& abschnitt, const QString& schluessel,
                    const QString& vorgabe, bool* gefunden = nullptr);
// Writes "key=value" (value written as given, line breaks in it become blanks). An existing
// key keeps its spelling and only its line changes; a new key goes after the last non-blank
// line of its section; a new section is appended. Lines written end in CR LF, in UTF-8, or in
// Windows-1252 in a file of only Windows-1252 bytes where the line fits. Holds ProfilSperre
// for the file while it reads and writes. Returns false when the file cannot be written or
// read (it is then left alone), or for an empty section, or a key that is empty or holds "="
// or starts with "[".
bool ProfilSchreiben(const QString& datei, const QString& abschnitt, const QString& schluessel,
                     const QString& wert);
// Several keys in one replace of the file, each by the rules above in turn, so that no reader
// and no kill ever sees some of them written; one sync instead of one per key. False (file
// untouched) as above, also when any section or key is invalid.
struct ProfilWert {
  QString abschnitt, schluessel, wert;
};
bool ProfilSchreiben(const QString& datei, const QList<ProfilWert>& werte);
// Removes a key (every line of it in its section), or when schluessel is empty every section
// of that name. Nothing to remove: true, file untouched. False when the file cannot be read or
// written.
bool ProfilLoeschen(const QString& datei, const QString& abschnitt, const QString& schluessel = {});
// Section names, and the keys of one section, in file order (first spelling wins; comment
// lines starting with ";" are not listed).
QStringList ProfilAbschnitte(const QString& datei);
QStringList ProfilSchluessel(const QString& datei, const QString& abschnitt);
// Drops the read cache (tests, and code that wrote a profile file by other means).
void ProfilCacheLeeren();
// How many times a profile file was read from disk and parsed so far (tests, benchmarks).
quint64 ProfilLesevorgaenge();

}  // namespace Plattform
