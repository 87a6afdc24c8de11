#pragma once
// Text files: written as UTF-8 with CR LF line ends; read as UTF-8 (BOM dropped) or, when the
// bytes are not valid UTF-8, as Windows-1252 (files written by the Windows version of this program).
// Every text file of the program goes through here.
#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

namespace Plattform {

// Bytes to text: a UTF-16 file (byte-order mark) as UTF-16; otherwise UTF-8 (BOM dropped), where
// every valid UTF-8 sequence is read as UTF-8 and only the other bytes as Windows-1252.
// Line ends unchanged.
QString TextDekodieren(const QByteArray& bytes);
// Valid UTF-8 sequences as UTF-8, every other byte as Windows-1252; no BOM handling (a U+FEFF
// stays a character). What a piece of a file reads as never depends on the rest of the file.
QString GemischtDekodieren(QByteArrayView bytes);
// Text to bytes: UTF-8, every line end (CR LF, lone LF, lone CR) written as CR LF.
QByteArray TextKodieren(const QString& text);
// Windows-1252 both ways (characters outside the code page become '?').
QString Cp1252Dekodieren(const QByteArray& bytes);
QByteArray Cp1252Kodieren(const QString& text);

// Reads a whole text file. Missing or unreadable: empty text and ok=false.
QString TextLesen(const QString& pfad, bool* ok = nullptr);
// Replaces the file atomically: a temporary "<file>.skribon-tmp.XXXXXX" in the same folder,
// synced, given the old file's owner and permission bits, renamed over the file, then the folder
// synced, so a crash or power cut leaves the old or the new file, never a mix. A symbolic link is
// written through. On failure the old file is untouched and fehler holds a German reason.
bool TextSchreiben(const QString& pfad, const QString& text, QString* fehler = nullptr);
bool BytesSchreibenAtomar(const QString& pfad, const QByteArray& bytes, QString* fehler = nullptr);
// Appends text (encoded like TextSchreiben) to the end of a file, creating it when missing.
bool TextAnhaengen(const QString& pfad, const QString& text);

// Helpers for code that keeps a file's own bytes (the profile reader and writer).
// Strict UTF-8 check: no overlong forms, no surrogates, nothing beyond U+10FFFF.
bool IstGueltigesUtf8(const char* daten, qsizetype laenge);
// True when every character of the text has a byte in Windows-1252.
bool Cp1252Darstellbar(const QString& text);
// What bytes beyond ASCII a file holds: valid UTF-8 sequences, and bytes that are part of none.
struct ByteArten {
  bool utf8 = false;
  bool fremd = false;
};
ByteArten ByteArtenPruefen(QByteArrayView bytes);
// Every lone CR or LF becomes CR LF; CR LF stays.
QByteArray ZeilenendenCrLf(const QByteArray& bytes);

// What identifies one state of a file's contents: device, inode, size, modification and
// change time in nanoseconds. An atomic replace gives a new inode, an in-place change a new
// time, so a cache comparing all of them notices every writer.
struct DateiStand {
  quint64 geraet = 0;
  quint64 inode = 0;
  qint64 groesse = -1;
  qint64 mzeitNs = 0;
  qint64 czeitNs = 0;
  bool operator==(const DateiStand&) const = default;
};
// False (and an empty state) when the path is missing or not a regular file.
bool DateiStandLesen(const QString& pfad, DateiStand* stand);
bool DateiStandLesen(int offenerHandle, DateiStand* stand);
// Like BytesSchreibenAtomar; neuerStand gets the state of the file just written, or stays
// empty when another writer replaced it in the meantime.
bool BytesSchreibenAtomar(const QString& pfad, const QByteArray& bytes, QString* fehler,
                          DateiStand* neuerStand);

// Like TextSchreiben; but where the folder allows no new file (a shared folder) while the file
// itself is writable, the file is overwritten in place: the part beyond the old end first, then
// the rest over the old bytes, cut to size, synced. A failure at any step puts the old bytes and
// length back before it is reported, so the file is exactly old or exactly new; but a crash
// half-way can still leave a damaged file: call it only when a safety copy of the old one exists.
bool TextSchreibenAnOrt(const QString& pfad, const QString& text, QString* fehler = nullptr,
                        DateiStand* neuerStand = nullptr);
bool BytesSchreibenAnOrt(const QString& pfad, const QByteArray& bytes, QString* fehler = nullptr,
                         DateiStand* neuerStand = nullptr);
// The errno value of this thread's last failed write above (0 after a success), for
// LaufzeitFehlerNummer.
int LetzterSchreibfehler();
// Removes the leftovers of saves cut off by a kill that are older than mindestAlterSekunden:
// every "<file>.skribon-tmp.XXXXXX" (the file's name cut short where it would not fit), and of
// the form older versions used, "<file>.XXXXXX" (six letters of mixed case), only those beside
// an existing note (.tNN), .inf or .ini file; a user's "Foto.jpg.iPhone" stays. Returns how many
// were removed. Not recursive.
int AlteTemporaereEntfernen(const QString& ordner, qint64 mindestAlterSekunden = 300);
// While one exists in a thread, the atomic replaces of that thread leave syncing their folder
// to it, and it syncs each folder once as it ends: a save of several files in one folder (a
// note and its keys) waits for the folder once. Every file is still synced before it replaces
// the old one, so none is ever half-written; nested ones leave the work to the outermost.
class OrdnerSyncGebuendelt {
public:
  OrdnerSyncGebuendelt();
  ~OrdnerSyncGebuendelt();
  OrdnerSyncGebuendelt(const OrdnerSyncGebuendelt&) = delete;
  OrdnerSyncGebuendelt& operator=(const OrdnerSyncGebuendelt&) = delete;

  // Syncs the folders this thread's bundle holds so far, now: before the program waits for a
  // user (a box) or ends without leaving the bundle's frame.
  static void jetztSynchronisieren();

private:
  QList<QByteArray> ordner_;  // the outermost one's folders; the inner ones' stay empty
};
// Forces a file and its folder entry to the disk now, bundle or not (a copy that must be there
// before what follows may destroy the original). False when the file cannot be synced.
bool DateiSynchronisieren(const QString& pfad);
// May a new file be created in the folder (the temporary of an atomic replace)?
bool OrdnerNimmtNeueDateien(const QString& ordner);
// Writes all bytes to a file descriptor, going on after interrupted writes.
bool AllesSchreiben(int fd, const QByteArray& bytes);
// Tests: replaces the check whether a folder takes new files (nullptr: the real one).
void SetzeOrdnerSchreibPruefung(bool (*pruefung)(const QString& ordner));
// The steps of an in-place write, in order.
enum class AnOrtSchritt { Lesen, Verlaengern, Ueberschreiben, Kuerzen, Synchronisieren, Schliessen };
// Tests: asked after each step of an in-place write; a nonzero errno makes that step fail with
// it, a write step having written half its bytes, as a disk that fills up does (nullptr: none).
void SetzeAnOrtHaken(int (*haken)(AnOrtSchritt schritt));

// The most bytes a file name may have (the usual limit of Linux file systems).
constexpr qsizetype DateinameHoechstBytes = 255;
// The longest start of a name whose UTF-8 form has at most hoechstBytes bytes, never cutting a
// character: for names built from a notepad's name with something added.
QString NamensteilKuerzen(const QString& teil, qsizetype hoechstBytes);

}  // namespace Plattform
