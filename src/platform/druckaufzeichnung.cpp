#include "platform/druckaufzeichnung.h"

namespace Plattform {

namespace {

class AufzeichnungsZiel : public DruckZiel {
public:
  AufzeichnungsZiel(AufzeichnungsDrucker& dienst, const DruckerInfo& info)
      : dienst_(dienst), info_(info) {}
  QSizeF bereich() override { return dienst_.bereich; }
  double textBreite(const QFont& schrift, const QString& zeile) override {
    return double(zeile.size()) * schrift.pointSizeF() / 40.0;
  }
  double zeilenHoehe(const QFont& schrift) override { return schrift.pointSizeF() / 20.0; }
  bool beginnen(const QString& dokumentName) override {
    if (dienst_.beginnenScheitert) return false;
    auftrag_ = ++dienst_.auftraege;
    seite_ = 1;
    dokument_ = dokumentName;
    dienst_.ereignisse << QStringLiteral("Beginn %1: %2").arg(info_.DeviceName, dokumentName);
    dienst_.ereignisse << QStringLiteral("Seite 1");
    return true;
  }
  bool neueSeite() override {
    dienst_.ereignisse << QStringLiteral("Seite %1").arg(++seite_);
    return true;
  }
  void text(double x, double y, const QFont& s, const QString& zeile) override {
    dienst_.texte.push_back({auftrag_, seite_, x, y, zeile, s.pointSizeF(), s.bold(), s.italic(),
                               s.underline(), s.family(), info_.DeviceName});
  }
  bool beenden() override {
    dienst_.ereignisse << QStringLiteral("Ende %1").arg(info_.DeviceName);
    return true;
  }
  QString fehler() const override {
    return dienst_.beginnenScheitert ? QStringLiteral("Der Drucker »%1« ist nicht bereit.").arg(info_.DeviceName)
                                     : QString();
  }
  QString datei() const override {
    return info_.pdf ? QStringLiteral("/aufgezeichnet/%1.pdf").arg(dokument_) : QString();
  }

private:
  AufzeichnungsDrucker& dienst_;
  DruckerInfo info_;
  int auftrag_ = 0, seite_ = 0;
  QString dokument_;
};

}  // namespace

AufzeichnungsDrucker::AufzeichnungsDrucker()
    : liste{{QStringLiteral("Laser Büro"), QStringLiteral("LPT1:"), QStringLiteral("Laser-Treiber"), false},
            {QStringLiteral("Tinte Flur"), QStringLiteral("USB001"), QStringLiteral("Tinten-Treiber"), false},
            {PdfDruckerName, QStringLiteral("/aufgezeichnet"), QStringLiteral("PDF-Ausgabe"), true}},
      standardName(QStringLiteral("Laser Büro")) {}

std::unique_ptr<DruckZiel> AufzeichnungsDrucker::ziel(const DruckerInfo& info) {
  return std::make_unique<AufzeichnungsZiel>(*this, info);
}

QStringList AufzeichnungsDrucker::seite(int auftrag, int nr) const {
  QStringList l;
  for (const Text& t : texte)
    if (t.auftrag == auftrag && t.seite == nr) l << t.text;
  return l;
}

QStringList AufzeichnungsDrucker::mitOrt() const {
  QStringList l;
  for (const Text& t : texte) l << QStringLiteral("%1 %2,%3 %4").arg(t.seite).arg(t.x).arg(t.y).arg(t.text);
  return l;
}

int AufzeichnungsDrucker::seitenzahl(int auftrag) const {
  int n = 0;
  for (const Text& t : texte)
    if (t.auftrag == auftrag) n = std::max(n, t.seite);
  return n;
}

}  // namespace Plattform
