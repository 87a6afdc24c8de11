#pragma once
// The files of one notepad in the data folder, without any window:
//   <name>.inf   INI file: [Allgemein] (Info, NotizNr) and one section [NoteNN] per note
//   <name>.tNN   the text of note NN (01..99), CR LF line ends
//   <name>.pNN   per-note parameter files of older versions, taken over into [NoteNN] on open
// and the safety copy <name>.bak in the temp folder.
#include <QMap>
#include <QString>
#include <QVector>

#include "platform/textdatei.h"

// The keys of one note's section [NoteNN], as stored (texts, read with the settings reader).
struct NotizSchluessel {
  QString Header, FontName, FontSize, FontBold, FontItalic, ForeColor, BackColor, CrsrPos, Save,
      Vers, WordWrap;

  // The key names in the order they are written, and access by index.
  static const QStringList& Namen();
  QString& feld(int index);
  const QString& feld(int index) const;
  bool operator==(const NotizSchluessel&) const = default;
};

class NotizSpeicher {
public:
  // What the tab row needs of each note, gathered on open without reading whole texts.
  struct Ueberblick {
    QString header;
    bool leer = true;         // no file, or only blanks and line ends
    bool geschuetzt = false;  // begins with "..??": enciphered by an older version
  };

  struct Notiz {
    QString text;             // editor form: "\n" line ends
    bool geschuetzt = false;  // enciphered by an older version: shown, never written
    bool vorhanden = false;   // the note file exists
    NotizSchluessel schluessel;
  };

  // Opens the notepad <name> of the data folder (Z_Alles::ordnerDat) with the given number of
  // slots: takes over old .pNN files and gathers each note's header and state.
  void oeffnen(const QString& name, int anzahl);

  // Why a notepad of this name cannot be kept in files ("" when it can).
  static QString NameFehler(const QString& name);

  QString name() const { return name_; }
  int anzahl() const { return anzahl_; }
  QString infDatei() const;
  QString notizDatei(int nr) const;
  QString parameterDatei(int nr) const;
  QString sicherungsDatei() const;  // <temp folder>/<name>.bak

  const Ueberblick& ueberblick(int nr) const;
  // After a save, so the tab row shows the new state.
  void ueberblickSetzen(int nr, const QString& text, const QString& header);

  // Reads one note: text and keys. A missing file is an empty note (vorhanden=false). A file
  // that exists but cannot be read gives false and a German reason.
  bool laden(int nr, Notiz* notiz, QString* fehler = nullptr) const;
  NotizSchluessel schluesselLesen(int nr) const;

  // The save road: safety copy of the old file (>= 150 bytes) in the temp folder, the text
  // written atomically (blank-only text as one blank), the safety copy dropped when the new
  // file has >= 150 bytes, then the keys of [NoteNN] that differ from the stored ones.
  // False with a German reason naming the file when anything could not be written.
  // When the note file changed on disk since this store read or last wrote it (another program
  // on the same data folder), that version is first kept as a copy beside the note; its path
  // goes to andereFassung (else it is emptied). allgemein: keys of [Allgemein] that go into the
  // same write as the note's keys (the exit's current note).
  bool sichern(int nr, const QString& text, const NotizSchluessel& schluessel,
               QString* fehler = nullptr, QString* andereFassung = nullptr,
               const QList<QPair<QString, QString>>& allgemein = {});
  // Steps of the road on their own.
  bool textSichern(int nr, const QString& text, QString* fehler = nullptr,
                   QString* andereFassung = nullptr);
  bool schluesselSichern(int nr, const NotizSchluessel& schluessel, QString* fehler = nullptr,
                         const QList<QPair<QString, QString>>& allgemein = {});
  // Only the caret position (CrsrPos), when the text itself has not changed.
  bool positionSichern(int nr, int crsrPos, QString* fehler = nullptr);

  // Writes the text where it cannot be lost when the note file cannot be written: the
  // emergency folder (Z_Alles::NotfallOrdner), else the home folder. Returns the file written, "" when nothing could be written.
  QString notfallKopie(int nr, const QString& text) const;

  // [Allgemein] of the .inf.
  QString allgemeinLesen(const QString& schluessel, const QString& vorgabe = {}) const;
  void allgemeinSchreiben(const QString& schluessel, const QString& wert);

  // How many .pNN files the last open took over.
  int uebernommen() const { return uebernommen_; }

private:
  void parameterUebernehmen(int nr);
  // Keys of [NoteNN] and of [Allgemein] (name, value): those that differ written in one write,
  // and read back.
  bool werteSichern(int nr, const QList<QPair<QString, QString>>& werte, QString* fehler,
                    const QList<QPair<QString, QString>>& allgemein = {});
  QString abschnitt(int nr) const;
  // Keeps the file on disk as "<name> Notiz NN - andere Fassung vom <date time>.txt".
  QString andereFassungAufbewahren(int nr) const;

  QString name_;
  QString ordner_;
  int anzahl_ = 0;
  int uebernommen_ = 0;
  QVector<Ueberblick> ueberblick_;
  // Keys of .pNN files that could not be written into the .inf (read-only run): still used.
  QMap<int, QMap<QString, QString>> altParameter_;
  // Each note file as this store last read or wrote it (an empty state: there was none).
  mutable QMap<int, Plattform::DateiStand> bekannt_;
};
