#pragma once
// The diagnostics report for support: program, user, system, folders, settings files, checks of
// formats, screen, fonts and write access, usage statistics and the runtime libraries.
// Built on demand only (error report, debug-log header, folders report).
#include <QString>
#include <QVector>

namespace Z_Alles {

QString DiagnoseBericht();
// "<label or padded name> '<path>' | exist=true | <size> Bytes | <time> | Alter: <age>";
// trace also writes it to the debug log.
QString DateiInfo(const QString& label, const QString& pfad, bool trace);
// A library's version ("?" without version information, "" with none in it).
QString DateiVersion(const QString& pfad);
// The operating system: distribution and kernel; "" when unknown.
QString WindowsVersion();
// Write test of a folder: a value written into a new file "$<number>.txt" of the folder and
// read back, the file removed afterwards. A file already there is never touched; when the
// drawn name is taken, another free name is used.
bool OrdnerSchreibtest(const QString& ordner);
// True on the developers' machines (installation identifier in a fixed list).
bool IstEntwicklerPC();

// One row of the component table: a library with the size and version expected of it
// (sollGroesse < 0 and a null sollVersion: nothing expected).
struct Komponente {
  QString pfad;
  qint64 sollGroesse = -1;
  QString sollVersion;
};
// The libraries this process has loaded that it relies on: Qt (expected: the Qt version the
// program was built with) and the C and C++ runtime.
QVector<Komponente> Komponenten();
// One line of the component table: name, Tab, time, size, version, and the remarks.
QString KomponentenZeile(const Komponente& k);

}  // namespace Z_Alles
