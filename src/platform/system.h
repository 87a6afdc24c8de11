#pragma once
// What the program asks of the machine: clock, random numbers, tick count, key state,
// environment, user and computer names, volume labels, waiting while events run, sound cues,
// the executable's identity and the stand-ins for the Windows and system folders.
// Everything goes through one replaceable service so tests can fix it.
#include <QDateTime>
#include <QString>

namespace Plattform {

class SystemDienst {
public:
  virtual ~SystemDienst() = default;
  virtual QDateTime jetzt();                    // local time
  virtual quint32 tickzaehler();                // milliseconds since system start, wraps like a 32-bit count
  virtual double zufall();                      // [0, 1)
  virtual void zufallStart(quint32 saat);       // re-seed
  virtual bool shiftGedrueckt();
  virtual bool strgGedrueckt();
  virtual bool altGedrueckt();
  virtual QString umgebung(const QString& name);   // environment variable, case-insensitive fallback
  virtual QString aktuellerOrdner();
  virtual QString anmeldename();                   // login name
  virtual QString rechnername();                   // host name
  virtual QString datentraegerName(const QString& pfad);  // file system label, "" when none
  virtual void warten(double sekunden);            // lets window events run meanwhile
  virtual void ton(const QString& name);           // "#System..." cue, "#RingIn", or a sound file
};

void SetzeSystemDienst(SystemDienst* dienst);  // nullptr = the real one
SystemDienst& System();

inline QDateTime Jetzt() { return System().jetzt(); }
inline quint32 Tickzaehler() { return System().tickzaehler(); }
inline double Zufall() { return System().zufall(); }
inline QString Umgebung(const QString& name) { return System().umgebung(name); }

// The running executable: its folder and its name without extension ("Skribon").
QString ProgrammDatei();
QString ProgrammOrdnerPfad();
QString ProgrammName();
// True when a stored program name (possibly "Skribon.exe", any case) means this executable.
bool IstEigenesProgramm(const QString& gespeicherterName);

// Settings base: $XDG_CONFIG_HOME (or ~/.config) + "/Dormiks-Programme".
QString KonfigBasisOrdner();
// Private temp default: $XDG_CACHE_HOME (or ~/.cache) + "/Dormiks-Programme/Temp", mode 0700.
QString CacheTempOrdner();
// A folder only this user can reach, for files that are run later (the update's setup and
// job): $XDG_CACHE_HOME (or ~/.cache) + "/Dormiks-Programme/" + name, created with mode 0700.
// Empty (and fehler set) when it is no folder of this user's or others could write into it.
QString PrivaterOrdner(const QString& name, QString* fehler = nullptr);
// Its path alone, nothing created or checked: to look whether it holds anything.
QString PrivaterOrdnerPfad(const QString& name);
// Stand-ins for the Windows and system folders: folders of our own under the settings base,
// created when missing (never /etc or /usr).
QString WindowsOrdnerPfad();
QString SystemOrdnerPfad();

}  // namespace Plattform
