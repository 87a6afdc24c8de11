#pragma once
// Z_Alles: the shared procedures every folder of the program calls: settings, text, numbers,
// dates, names, files and folders, logs and run-time services.
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVariant>

#include "foundation/globale.h"

class QLineEdit;
class QPlainTextEdit;
class QTextEdit;
class QWidget;

namespace Z_Alles {

// ---- Settings -------------------------------------------------------------------------------
// File rules: "" = Dormik.ini in the settings folder; a name whose fourth-last character is not
// "." gets ".ini"; Dormik.ini and Vesk_Prn.ini without a folder are in the settings folder,
// win.ini and system.ini in the Windows folder, any other bare name in the settings folder too;
// a path with a folder is used unchanged ("\" read as "/"). Section "" = the program's own
// section ("Skribon"); key "" = "NoKey". Stored "**" reads as a line break, "“" as a double
// quote. A missing key gives the default with trailing blanks removed (not decoded).
QString IniDateiPfad(const QString& datei);
QString IniLesen(const QString& datei, const QString& abschnitt, const QString& schluessel,
                 const QString& vorgabe = {});
// Value trimmed (blanks), every line break (CR LF, LF or CR) stored as "**", double quotes as
// "“". Returns the value as stored. A number is written with "." ("16.5", "0.5", "42").
QString IniSchreiben(const QString& datei, const QString& abschnitt, const QString& schluessel,
                     const QString& wert);
QString IniSchreiben(const QString& datei, const QString& abschnitt, const QString& schluessel,
                     double wert);
// Several keys in one write of the file, each by the rules above: one sync, and no kill leaves
// some of them written. Returns each value as stored, in order.
struct IniWert {
  QString abschnitt, schluessel, wert;
};
QStringList IniSchreiben(const QString& datei, const QList<IniWert>& werte);
QString IniLesenVorgabe(const QString& datei, const QString& abschnitt, const QString& schluessel,
                        const QString& vorgabe);
// Adds betrag to a counter key and returns the new value, read and written under one lock; the
// keys of dazu go into the same write.
double IniZaehlen(const QString& datei, const QString& abschnitt, const QString& schluessel,
                  double betrag, const QList<IniWert>& dazu = {});
QString RegEinstellungSchreiben(const QString& abschnitt, const QString& schluessel, const QString& wert);
// A sibling's folder from its section: kind "dat..." its OrdnerDat, any other kind ordnerPrg or
// Dir; "{AppDir}" = the section's OrdnerPrg; "\" read as "/", no trailing separator.
QString ProgrammOrdner(const QString& programmAbschnitt, const QString& art);

// ---- Text -----------------------------------------------------------------------------------
QString Ersetzen(const QString& text, const QString& suchen, const QString& ersatz);
QString MeldungsText(const QString& text);
// The markup applied to the text alone; the values (paths, links, what the user typed) then
// stand in for %1 to %9 as they are, so a "~" or "´" in them stays what it is.
QString MeldungsText(const QString& vorlage, const QStringList& werte);
// The message box of every text that carries the markup (knoepfe and result as Plattform::MsgBox).
int Meldung(const QString& vorlage, int knoepfe = 0, const QString& titel = {}, const QStringList& werte = {},
            int hilfeThema = 0);
// Replaces the selection of an editor box, caret after the insert, focus to the box.
void TextEinfuegen(QWidget* textfeld, const QString& text);

// ---- Numbers, dates, names --------------------------------------------------------------------
QString DauerText(double sekunden, int modus);
QString ZahlMitEinheit(double wert, int modus);
QString ZahlFormat(double wert, const QString& maske);
QString BytesText(double bytes);
QString DatumName(int nummer, const QString& stil);
QString DatumsStempel(int modus);
QString NameSchreibweise(const QString& name);
QString Benutzername();
QString WindowsAnmeldename();
QString UserGUID();
QString NeueGuid();

// ---- Files and folders ------------------------------------------------------------------------
bool DateiExistiert(const QString& pfad);
QString DateiSuchen(const QString& dateiName);
// The first of several file names (without a folder) found, each looked for as above, with one
// look at each folder for all of them.
QString DateiSuchen(const QStringList& dateiNamen);
// Modes: -2 drive ("C:") or share ("\\server\share"), "" for a Linux path; -1 folder without
// separator, 0 folder with separator, 1 name without extension, 2 extension without the dot,
// 3 name with extension. Accepts "\" and "/". A leading dot (".profil") starts no extension.
QString PfadTeil(const QString& pfad, int modus);
QString WindowsOrdner();
QString SystemOrdner();
// Joins folder and name with one native separator.
QString PfadVerbinden(const QString& ordner, const QString& name);
// Resolves the folders at start (command-line arguments without the program name): settings
// folder created; OrdnerPrg written; data folder from "/OrdnerDat=", the key OrdnerDat or
// "<program folder>/Daten", created, else a folder of the user's (XDG data home +
// "/Dormiks-Programme/Daten", noted in ordnerDatHerkunft); temp folder from TmpSrv, Tmp/Temp
// (not when everybody may write to it), else the private cache folder.
void OrdnerInit(const QStringList& argumente);
// Where text that could not be saved goes: the data folder's fallback under the user's data
// home ($XDG_DATA_HOME/Dormiks-Programme/Daten), which no cache cleaner empties.
QString NotfallOrdner();

// ---- Run-time services ------------------------------------------------------------------------
// False in a release build; a debug build counts as the development environment when the
// environment variable SKRIBON_IDE is "1".
bool InIDE();
// Central error handler: 0 no error, 5 Yes/No (go on), 2 Cancel (leave the procedure).
// fehlerNummer 0 = no error; beschreibung and quelle describe it.
int FehlerBehandlung(int fehlerNummer, const QString& aufruferText,
                     const QString& beschreibung = {}, const QString& quelle = {});
// Debug log: on when [Allgemein] DebugMode > 0 (read once per run into DebugModus) or DebugModus
// was set >= 1; nothing while NurLesen. "clr" empties DebugDatei and writes the header block.
void DebugLog(const QString& text);
// One line "dd.mm.yyyy hh:nn:ss  text"; default file "Skribon.use", a bare name in ordnerDat.
void NutzungsLog(const QString& text, const QString& datei = {});
void Warten(float sekunden);
bool IstShift();
bool IstStrg();
void Ton(const QString& name);

// Forgets what a run remembers besides the globals (the asked user name, the debug log's last
// tick, an open error box). Tests call it before each case.
void ZustandZuruecksetzen();

}  // namespace Z_Alles

namespace Z_String {
QString RTrimZeichen(const QString& text, const QString& zeichen);
int AnzahlVorkommen(const QString& text, const QString& teil);
QString AbschnittEntfernen(const QString& text, const QString& start, const QString& ende);
QString HtmlZuText(const QString& html, bool zeilenumbruecheBehalten);
QString ZeilenumbruecheTrimmen(const QString& text);
QString LeerraumNormalisieren(const QString& text);
}  // namespace Z_String
