#pragma once
// Start-up checks and usage statistics: the regional-settings check, the read-only decision,
// the bookkeeping at start and exit, and the usage-statistics text.
#include <QDate>
#include <QDateTime>
#include <QString>

namespace Z_Alles {

// The number and date texts the program produces and reads. The program's own are German on
// every desktop; tests put a foreign one in to see the warning.
class LaenderFormat {
public:
  virtual ~LaenderFormat() = default;
  // Format with a number pattern; "," and "." in the pattern stand for grouping and decimals.
  virtual QString zahl(double wert, const QString& muster);
  // A number as plain text (CStr).
  virtual QString zahlText(double wert);
  virtual bool istDatum(const QString& text);
  // The short date, and date and time as plain text.
  virtual QString kurzesDatum(const QDate& datum);
  virtual QString datumZeitText(const QDateTime& zeit);
};
void SetzeLaenderFormat(LaenderFormat* format);  // nullptr = the program's own
LaenderFormat& Laenderformat();

// Warns when numbers or dates are not formatted the German way (Yes/No; No switches the
// warning off in [Allgemein] LänderHinweis). Returns the warning text, "" when both pass.
QString LaenderEinstellungPruefen();
// Decides NurLesen: "readonly" on the command line, a write-protected first *.inf file of the
// data (else program) folder, ReadOnly.txt in the program folder (its lines are shown), or a
// settings file that cannot be written and read back.
void SchreibrechtePruefen();
// Start counter, first and last start, [Version], a leftover remote-close flag, VAT rate.
void StartStatistik();
// Run minutes since the last start (none when this run's start was not counted), program
// folder and version for the program family. Runs once per run.
void EndeStatistik();
// The usage statistics with the message markup applied; modus 2 the short per-day form.
QString StatistikText(int modus);

}  // namespace Z_Alles
