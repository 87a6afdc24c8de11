#pragma once
// Z_Alles: the shared procedures every part of the program calls: settings, text, numbers,
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
// "." gets ".ini"; Dormik.ini and Vesk_Prn.ini without a folder are in the settings folder; a
// path with a folder is used unchanged. Section "" = the program's own section ("Skribon");
// key "" = "NoKey". Stored "**" reads as a line break, "“" as a double quote.
QString IniDateiPfad(const QString& datei);
QString IniLesen(const QString& datei, const QString& abschnitt, const QString& schluessel,
                 const QString& vorgabe = {});
// Value trimmed, line breaks stored as "**", double quotes as "“". Returns the value as stored.
QString IniSchreiben(const QString& datei, const QString& abschnitt, const QString& schluessel,
                     const QString& wert);
QString IniSchreiben(const QString& datei, const QString& abschnitt, const QString& schluessel,
                     double wert);
QString IniLesenVorgabe(const QString& datei, const QString& abschnitt, const QString& schluessel,
                        const QString& vorgabe);
double IniZaehlen(const QString& datei, const QString& abschnitt, const QString& schluessel,
                  double betrag);
QString RegEinstellungSchreiben(const QString& abschnitt, const QString& schluessel, const QString& wert);
QString ProgrammOrdner(const QString& programmAbschnitt, const QString& art);

// ---- Text -----------------------------------------------------------------------------------
QString Ersetzen(const QString& text, const QString& suchen, const QString& ersatz);
QString MeldungsText(const QString& text);
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
// Modes: -2 drive/share, -1 folder without separator, 0 folder with separator, 1 name,
// 2 extension, 3 name with extension. Accepts "\" and "/".
QString PfadTeil(const QString& pfad, int modus);
QString WindowsOrdner();
QString SystemOrdner();
// Joins folder and name with one native separator.
QString PfadVerbinden(const QString& ordner, const QString& name);
// Resolves the folders at start (command-line arguments without the program name).
void OrdnerInit(const QStringList& argumente);

// ---- Run-time services ------------------------------------------------------------------------
bool InIDE();
// Central error handler: 0 no error, 5 Yes/No (go on), 2 Cancel (leave the procedure).
// fehlerNummer 0 = no error; beschreibung and quelle describe it.
int FehlerBehandlung(int fehlerNummer, const QString& aufruferText,
                     const QString& beschreibung = {}, const QString& quelle = {});
void DebugLog(const QString& text);
void NutzungsLog(const QString& text, const QString& datei = {});
void Warten(float sekunden);
bool IstShift();
bool IstStrg();
void Ton(const QString& name);

// Hooks that later parts of the program fill; they stay empty until then.
inline QString (*DiagnoseBerichtHaken)() = nullptr;          // diagnostics report text
inline double (*VersionsAlterHaken)() = nullptr;             // release age in years
inline bool (*FehlerberichtSendenHaken)(const QString&) = nullptr;  // mail an error report

}  // namespace Z_Alles

namespace Z_String {
QString RTrimZeichen(const QString& text, const QString& zeichen);
int AnzahlVorkommen(const QString& text, const QString& teil);
QString AbschnittEntfernen(const QString& text, const QString& start, const QString& ende);
QString HtmlZuText(const QString& html, bool zeilenumbruecheBehalten);
QString ZeilenumbruecheTrimmen(const QString& text);
QString LeerraumNormalisieren(const QString& text);
}  // namespace Z_String
