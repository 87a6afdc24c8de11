#include "printing/notizdruck.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QMap>
#include <QPointer>
#include <QRadioButton>

#include "foundation/hauptfenster.h"
#include "foundation/z_alles.h"
#include "notepad/skribondiv.h"
#include "platform/dialoge.h"
#include "platform/drucker.h"
#include "platform/laufzeit.h"
#include "printing/printerset.h"
#include "printing/z_alles_druck.h"
#include "printing/z_textandrucker.h"
#include "printing/z_vario.h"

namespace Notizdruck {

namespace {

enum class Ergebnis { Gedruckt, Abgebrochen };

// What the settings window said, read before it is unloaded.
struct Einstellung {
  bool markierung = false;
  int exemplare = 1;
  double randLinks = 0, randOben = 0;
  double rechts = -1, unten = -1;  // -1: the text printer's default limits
};

bool druckerFehlerAbbruch() {
  return Z_Alles::DruckerFehlerAbbruch(QStringLiteral("Es ist ein Fehler beim Drucken aufgetreten."),
                                       QStringLiteral("PulDrucken"));
}

// Restores pointer, settings window (and with it the printer) and status on every way out.
struct Aufraeumen {
  ~Aufraeumen() {
    PrinterSet::Entladen();
    if (Hauptfenster* h = Hauptfenster::Instanz(); h && !h->endet())
      h->statusSetzen(QStringLiteral("Bereit"));
  }
  Plattform::Sanduhr sanduhr;
};

Ergebnis notizDrucken(QStringList& pdfDateien) {
  Hauptfenster* h = Hauptfenster::Instanz();
  if (!h) return Ergebnis::Abgebrochen;

  // Loaded anew, so its lists and the preset are those of this notepad and printer.
  PrinterSet::Entladen();
  Z_Alles::PresetName = QStringLiteral("Skribon_") + h->notizblockName();
  QPointer<PrinterSet> fenster = PrinterSet::Laden();
  if (h->markierungsLaenge() >= 4) fenster->frmBereich->setEnabled(true);
  fenster->setWindowTitle(QStringLiteral("Drucken - ") + h->infoText());
  fenster->frmWeiten->setEnabled(true);
  fenster->exec();
  QCoreApplication::processEvents();

  h = Hauptfenster::Instanz();
  if (!fenster || !h || h->endet() || fenster->Abbruch->isChecked()) {
    PrinterSet::Entladen();
    return Ergebnis::Abgebrochen;
  }
  Einstellung e;
  e.markierung = fenster->optBereich[1]->isChecked();
  e.exemplare = std::max(0, fenster->ComboAnzahl->currentIndex()) + 1;
  e.randLinks = PrinterSet::PositionZuCm(std::max(0, fenster->ComboRandX->currentIndex()));
  e.randOben = PrinterSet::PositionZuCm(std::max(0, fenster->ComboRandY->currentIndex()));
  if (fenster->ComboRandW->currentIndex() > 0) e.rechts = PrinterSet::PositionZuCm(fenster->ComboRandW->currentIndex());
  if (fenster->ComboRandH->currentIndex() > 0) e.unten = PrinterSet::PositionZuCm(fenster->ComboRandH->currentIndex());

  Aufraeumen aufraeumen;
  const QFont schrift = h->schrift();
  const double groesse = schrift.pointSizeF() > 0 ? schrift.pointSizeF() : 10.0;
  const QString vorlage = Z_Alles::IniLesen({}, {}, QStringLiteral("PrnUeberschrift"), UeberschriftVorgabe);
  const bool platzhalter =
      Laufzeit::Val(Z_Alles::IniLesenVorgabe({}, {}, QStringLiteral("Vario4Print"), QStringLiteral("1"))) == 1;
  const QString name = h->infoText();

  Plattform::Drucker& p = Plattform::Printer();
  p.setDokumentName(name.trimmed().isEmpty() ? h->notizblockName()
                                             : h->notizblockName() + QStringLiteral(" - ") + name);
  auto einrichten = [&] {
    p.setScaleLeft(-e.randLinks);
    p.setScaleTop(-e.randOben);
    p.setFontSize(1);
    p.Print(QStringLiteral(" "), true);
    p.setFontBold(schrift.bold());
    p.setFontItalic(schrift.italic());
    p.setFontUnderline(schrift.underline());
    p.setFontName(schrift.family());
    p.setFontSize(groesse);
  };
  auto seitenKopf = [&](int seite) {
    einrichten();
    h->statusSetzen(QStringLiteral("Drucke gerade Seite %1 ...").arg(seite));
    p.setFontSize(groesse + 2);
    p.setCurrentX(0);
    p.setCurrentY(0);
    p.Print(Ueberschrift(vorlage, name, seite), true);
    p.setFontSize(groesse);
    p.setCurrentX(0);
    p.Print(QString(), true);
    return !druckerFehlerAbbruch();
  };

  Ergebnis ergebnis = Ergebnis::Gedruckt;
  QString datei;
  for (int exemplar = 1; exemplar <= e.exemplare; ++exemplar) {
    einrichten();
    QString text = e.markierung ? h->markierterText() : h->text();
    if (platzhalter) text = Z_Vario::VarioErsetzen(text);
    const auto lauf = Z_TextAnDrucker::SeitenDrucken(text, 0, -1, e.rechts, e.unten, seitenKopf);
    if (lauf == Z_TextAnDrucker::Seitenlauf::Abgebrochen) ergebnis = Ergebnis::Abgebrochen;
    // "Does not fit" has ended the job already; the file it left (pages that fit, at least
    // the heading) is named like any other.
    if (lauf == Z_TextAnDrucker::Seitenlauf::PasstNicht) datei = p.LetzteDatei();
    // The next copy would not fit either.
    if (lauf != Z_TextAnDrucker::Seitenlauf::Fertig) break;
  }
  // Every page comes out before the printer is switched back.
  p.EndDoc();
  if (datei.isEmpty()) datei = p.LetzteDatei();
  if (druckerFehlerAbbruch()) ergebnis = Ergebnis::Abgebrochen;
  if (p.Info().pdf && !datei.isEmpty()) pdfDateien << datei;
  return ergebnis;
}

// Once, at the end: one file by name, several by folder and count (a notepad of 99 notes would
// otherwise list 99 names).
void pdfMelden(const QStringList& dateien) {
  if (dateien.isEmpty()) return;
  QString text;
  if (dateien.size() == 1) {
    text = QStringLiteral("Der Ausdruck wurde als PDF-Datei gespeichert:\r\n\r\n»%1«")
               .arg(QDir::toNativeSeparators(dateien[0]));
  } else {
    QStringList ordner;
    QMap<QString, int> anzahl;
    for (const QString& d : dateien) {
      const QString o = QFileInfo(d).absolutePath();
      if (!anzahl.contains(o)) ordner << o;
      ++anzahl[o];
    }
    text = QStringLiteral("Die Ausdrucke wurden als PDF-Dateien gespeichert:\r\n");
    for (const QString& o : ordner)
      text += QStringLiteral("\r\n%1 Dateien im Ordner »%2«").arg(anzahl[o]).arg(QDir::toNativeSeparators(o));
  }
  Plattform::MsgBox(text, Plattform::vbInformation, Z_Alles::ProgrammTitel);
}

}  // namespace

QString Ueberschrift(const QString& vorlage, const QString& name, int seite) {
  QString t = Z_Alles::Ersetzen(vorlage, QStringLiteral("{Name}"), name);
  t = Z_Alles::Ersetzen(t, QStringLiteral("{Seite}"), QString::number(seite));
  return Z_Vario::VarioErsetzen(t);
}

void PulDrucken_Click() {
  QStringList pdf;
  notizDrucken(pdf);
  if (Hauptfenster* h = Hauptfenster::Instanz(); h && !h->endet() && !SkribonDiv::NotizblockDruck)
    pdfMelden(pdf);
}

void mnuNBDrucken_Click() {
  Hauptfenster* h = Hauptfenster::Instanz();
  // A second start from a nested event loop of the running one would print twice.
  if (!h || SkribonDiv::NotizblockDruck) return;
  SkribonDiv::NotizblockDruck = true;
  struct Ende {
    ~Ende() {
      SkribonDiv::NotizblockDruck = false;
      SkribonDiv::BenutzerNotizNr = 0;
    }
  } ende;

  const int vorher = h->aktuelleNotiz();
  SkribonDiv::BenutzerNotizNr = vorher;
  QStringList pdf;
  for (int nr = 1; nr <= h->notizAnzahl(); ++nr) {
    // A note that cannot be left (its save failed) stops the run rather than lose its text.
    if (!h->notizWaehlen(nr)) break;
    if (h->text().trimmed().size() <= 3) continue;
    if (notizDrucken(pdf) == Ergebnis::Abgebrochen) break;
    h = Hauptfenster::Instanz();
    if (!h || h->endet()) return;
  }
  h = Hauptfenster::Instanz();
  if (!h || h->endet()) return;
  if (h->aktuelleNotiz() != vorher) h->notizWaehlen(vorher);
  pdfMelden(pdf);
}

void Registrieren() {
  HauptfensterHaken::MitHauptfenster([](Hauptfenster& h) {
    h.befehlEintragen(QStringLiteral("&Datei"), QStringLiteral("&Drucken..."), [] { PulDrucken_Click(); },
                      QKeySequence(Qt::CTRL | Qt::Key_P), Hauptfenster::ImPopup | Hauptfenster::InLeiste,
                      QStringLiteral("PulDrucken"));
    h.befehlEintragen(QStringLiteral("&Datei"), QStringLiteral("Notizblock d&rucken..."),
                      [] { mnuNBDrucken_Click(); }, {}, Hauptfenster::NurMenue, QStringLiteral("mnuNBDrucken"));
  });
  HauptfensterHaken::Eintragen(HauptfensterHaken::Punkt::EndeEntladen, [] {
    PrinterSet::Entladen();
    Plattform::DruckerFreigeben();
  });
}

}  // namespace Notizdruck
