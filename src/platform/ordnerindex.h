#pragma once
// File names looked up without regard to case, for searches that repeat every second. A
// folder is read once and then kept current from the kernel's change notices (inotify), so a
// busy folder costs nothing while no one asks for a name; one stat a lookup notices another
// folder put at the path, which sends no notice. Network file systems do not report other
// machines' changes, and some folders cannot be watched: those are searched for the names
// asked for, again when their modification time changed (or changed within the last two
// seconds, which coarse time stamps may not show yet).
#include <QList>
#include <QString>
#include <QStringList>

namespace Plattform {

// For each folder, the names in it that equal name without regard to case (as
// QString::compare with Qt::CaseInsensitive): name itself first where it is there, the others
// sorted. Entries of every kind are listed; callers check what they found. A folder that is
// missing or cannot be read gives name itself, for the caller to try; an empty path nothing.
QList<QStringList> NamenOhneGrossKlein(const QStringList& ordner, const QString& name);
// The same for several names, [name][folder], with one look at each folder.
QList<QList<QStringList>> NamenOhneGrossKlein(const QStringList& ordner, const QStringList& namen);
// How many times a folder was read or searched whole so far (tests, benchmarks).
quint64 OrdnerLesevorgaenge();
// Tests: off treats every folder like one on a network share (read again when changed).
void SetzeOrdnerBeobachtung(bool an);

}  // namespace Plattform
