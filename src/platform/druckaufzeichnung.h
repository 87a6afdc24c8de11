#pragma once
// A printer service for tests and measurements: printers that draw nothing but record every
// text with its page and position, on fixed metrics (a character is size/40 cm wide, a line
// size/20 cm high, so a 10-point line is 0.5 cm and a character 0.25 cm).
#include <QStringList>

#include "platform/drucker.h"

namespace Plattform {

class AufzeichnungsDrucker : public DruckerDienst {
public:
  struct Text {
    int auftrag = 0;  // 1-based job number
    int seite = 0;    // 1-based page of that job
    double x = 0, y = 0;
    QString text;
    double groesse = 0;
    bool fett = false, kursiv = false, unterstrichen = false;
    QString schriftart;
    QString drucker;
  };

  // Two printers ("Laser Büro", the default, and "Tinte Flur") and the PDF printer.
  AufzeichnungsDrucker();
  QVector<DruckerInfo> drucker() override { return liste; }
  QString standard() override { return standardName; }
  std::unique_ptr<DruckZiel> ziel(const DruckerInfo& info) override;

  // The texts of one page of a job, in drawing order.
  QStringList seite(int auftrag, int seite) const;
  int seitenzahl(int auftrag) const;
  // Every recorded text as "<page> <x>,<y> <text>".
  QStringList mitOrt() const;

  QVector<DruckerInfo> liste;
  QString standardName;
  QSizeF bereich{20.0, 28.0};    // printable area of every printer
  bool beginnenScheitert = false;  // jobs cannot start
  QVector<Text> texte;
  // "Beginn <printer>: <document>", "Seite <n>", "Ende <printer>".
  QStringList ereignisse;
  int auftraege = 0;
};

}  // namespace Plattform
