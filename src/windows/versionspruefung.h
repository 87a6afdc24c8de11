#pragma once
// VersionsPrüfung: compares the running version with the one the maker publishes, shows the
// change history, opens the maker's pages and installs a newer version: the setup is
// downloaded into a folder only this user can reach and a job started from there that waits
// for the program to end, runs the setup, starts the program again with the arguments it had
// and cleans up. The main window's command ends the
// program when the window closes after the job started (Z_Alles::UpdateGestartet).
#include <QColor>
#include <QDialog>
#include <array>
#include <optional>

#include "platform/dialoge.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTimer;

namespace Plattform {
class Job;
}

// The check's logic, without the window.
namespace Versionsabgleich {

// "2025.04.1933" -> 2025041933: the dots removed, the leading digits read; below 1990000000
// (no real release) it is 0.
double VersionsZahl(const QString& text);

struct Urteil {
  QString text;
  QColor farbe;
};
// installiert, online, minimum as VersionsZahl gives them.
Urteil VersionsUrteil(double installiert, double online, double minimum);

// The history page (HTML) as plain text with "\n" line ends: tags cut, entities decoded, an
// entry mark "@" on its own line joined to the next line after an empty line, the text cut
// behind the first occurrence of marker (when it occurs). Empty: the "no data" text.
QString HistorieAlsText(const QString& html, const QString& marker);

// Where Left (rechts=false) or Right puts the caret in txtInfo2: just after the nearest "@"
// before or after position (0-based); -1 = stays.
int EintragSprung(const QString& text, int position, bool rechts);

// The update job: waits for the program (pid) to end, runs the setup with "/SILENT" and
// "/DIR=<program folder>", starts the program again with its arguments and deletes the setup
// and itself.
Plattform::Job UpdateAuftrag(const QString& setup, const QString& programmOrdner, const QString& programm,
                             const QStringList& argumente, qint64 pid);

// Fixed names in the temp folder and the update folder.
inline const QString VersionsDatei = QStringLiteral("versions_info.txt");
inline const QString LokaleKopie = QStringLiteral("$$$DP_Vers.txt");
inline const QString JobName = QStringLiteral("x-Setup_Job.bat");
// The private folder (mode 0700) the setup is downloaded into and run from, with the job.
inline const QString UpdateOrdnerName = QStringLiteral("Update");
// The setup's name there ("x-Setup_Skribon", a Linux program).
QString SetupName();
// Address of the version file on the maker's server (always https).
QString VersionsAdresse();

// Smallest setup taken as complete.
constexpr qint64 MindestGroesse = 100000;
// Largest setup taken when the version file announces no size.
constexpr qint64 HoechstGroesse = qint64(256) << 20;

}  // namespace Versionsabgleich

class VersionsPrüfung : public QDialog {
public:
  explicit VersionsPrüfung(QWidget* parent = nullptr);
  ~VersionsPrüfung() override;

  // The loaded window, else nullptr.
  static VersionsPrüfung* Instanz();
  static void Entladen();
  // The main window's command: a fresh window shown modally; after a started update the
  // orderly exit.
  static void mnuHlpWeb_Click();
  // Registers the web/update command (menu "&Hilfe").
  static void Registrieren();

  // ---- Handlers (public so the command and tests can run them) ----
  void Form_Load();
  // modus 0: closed by the user (cancelled, and "&Zurück" runs); true when cancelled.
  bool Form_QueryUnload(int modus);
  void TimerInit_Timer();
  void befOk_Click(int index);
  void befAbbrechen_Click();
  // Left/Right: jump between entries; true when the key was swallowed.
  bool txtInfo2_KeyDown(int taste);

  // ---- Controls ----
  std::array<QPushButton*, 3> befOk{};
  QPushButton* befAbbrechen = nullptr;
  QPlainTextEdit* txtInfo1 = nullptr;
  QPlainTextEdit* txtInfo2 = nullptr;
  QLabel* bezFile = nullptr;
  QTimer* TimerInit = nullptr;

protected:
  void closeEvent(QCloseEvent* ereignis) override;
  void reject() override;
  bool eventFilter(QObject* objekt, QEvent* ereignis) override;

private:
  void installieren();
  void anhaengen(QPlainTextEdit* box, const QString& text);
  void zeigerBeschaeftigt(bool an);
  void hintergrund(const QColor& farbe);
  bool vorbei() const;

  std::optional<Plattform::Sanduhr> sanduhr_;  // while the pointer shows busy
};
