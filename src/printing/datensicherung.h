#pragma once
// The data backup: program folder, data folder and the settings files are copied into a folder
// the user names (placeholders allowed) by a generated job that runs on its own and shows what
// it did. The program itself copies nothing; it learns from the job how the copy went and tells
// the user, and only after a good copy the file manager opens at the target.
#include <QString>
#include <QVector>

namespace Plattform {
class Job;
}

namespace Z_Vario {

// The backup command: asks for the target, confirms and starts the job. extra1/extra2 are
// further sources (placeholders allowed, may be empty; the menu passes none). A folder ends
// with a separator; anything else is a file or a file pattern ("*", "?").
void Datensicherung(const QString& extra1 = {}, const QString& extra2 = {});
// Adds the backup command to the main window's menu "&Datei". src/verdrahtung.cpp calls this
// once before the main window is made.
void DatensicherungRegistrieren();

// The backup's parts, for the command and its tests.
namespace Sicherung {

inline const QString JobName = QStringLiteral("x-dsSkribon.cmd");
// Where the job leaves its outcome for the program (beside the job).
inline const QString ErgebnisName = QStringLiteral("x-dsSkribon.ergebnis");

// The default target: a new folder per backup in the temp folder, named by date and time.
QString ZielVorgabe();

// The typed target made a folder: one trailing separator dropped, placeholders expanded, "\"
// read as "/", "~" and "~/" for the home folder. Empty with a German reason in fehler when it
// is no absolute path, names a file, or lies below a file or a folder without write rights.
QString ZielOrdner(const QString& eingabe, QString* fehler);

// The ten source slots (empty ones included), filled from the folders and the extra sources.
QVector<QString> Quellen(const QString& extra1, const QString& extra2);

// Where a source goes below the target: its path without drive or root, joined with one
// separator ("/home/u/prg" below "T" is "T/home/u/prg"; "C:\Daten" is "T/Daten").
QString ZielFuer(const QString& ziel, const QString& quelle);

// The job for the target and the filled slots: one copy step per source, its outcome written
// to ergebnis (a failed step by its position in anzeige). anzeige gets each source as the
// confirmation lists it, zeilen the copy steps (for the debug log).
Plattform::Job Auftrag(const QString& ziel, const QVector<QString>& quellen, const QString& ergebnis,
                       QStringList* anzeige = nullptr, QStringList* zeilen = nullptr);

}  // namespace Sicherung

}  // namespace Z_Vario
