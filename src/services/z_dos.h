#pragma once
// Z_DOS: other programs for the rest of the program: the text editor, the file manager, the
// music search in the browser, the trash, and any command in a given folder. The commands come
// from [Verknüpfung] of the settings file; every program is started directly with its
// arguments (never through a shell) and not waited for. The Windows defaults "NotePad.exe" and
// "Explorer ..." mean the desktop's handler for the file or folder.
#include <QString>
#include <QStringList>

namespace Z_DOS {

// Opens the file in the editor of PrgTxtEdit (default: the desktop's handler).
void TextEditorStarten(const QString& pfad, int warten = 0);
// Starts a command line ("program arguments", quotes group) in a folder. False when it could
// not be started (the error handler has been told).
bool ProgrammStarten(const QString& befehl, const QString& ordner, int fensterStil = 1);
// Shows a folder in the file manager of DateiManager (default: the desktop's handler).
void OrdnerZeigen(const QString& ordner);
// Searches a music title in the browser of GooglePlayBrowser (default: the desktop's).
void MusikSuchen(const QString& titel);
// Moves the files of a list (paths, each ended by a NUL character) to the trash. The files
// that stay are named to the user and returned; a path that does not exist is passed over.
QStringList InPapierkorb(const QString& dateiliste, bool kopieZuerst = false);

// The pieces as they are built, for the callers above and for tests.
// The command that shows a folder: program and arguments; empty = the desktop's handler.
QStringList OrdnerBefehl(const QString& vorlage, const QString& ordner, const QString& titel);
// The editor command for a file; empty = the desktop's handler.
QStringList EditorBefehl(const QString& editor, const QString& pfad);
// The search address for a title.
QString MusikAdresse(const QString& titel);
// True when a stored program ("C:\Windows\NOTEPAD.EXE", "explorer") is that Windows program.
bool IstWindowsProgramm(const QString& programm, const QString& name);

// The notepad's files in the data folder: <name>.inf, <name>.tNN, <name>.pNN, spelled exactly so.
QStringList NotizblockDateien(const QString& ordner, const QString& name);
// Main window command "Notizblock löschen...": after a question, another notepad is opened and
// the files of this one go to the trash.
void mnuNBLöschen_Click();

}  // namespace Z_DOS
