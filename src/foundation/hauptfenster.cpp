#include "foundation/hauptfenster.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <map>
#include <vector>

#include "foundation/dienste.h"
#include "foundation/z_alles.h"

namespace {
Hauptfenster* instanz_ = nullptr;
}

Hauptfenster::~Hauptfenster() {
  if (instanz_ == this) instanz_ = nullptr;
}

Hauptfenster* Hauptfenster::Instanz() { return instanz_; }
void Hauptfenster::SetzeInstanz(Hauptfenster* fenster) { instanz_ = fenster; }
// A main window that keeps no unsaved text has nothing to save.
namespace HauptfensterHaken {

namespace {
std::map<Punkt, std::vector<std::function<void()>>>& schritte() {
  static std::map<Punkt, std::vector<std::function<void()>>> s;
  return s;
}
}  // namespace

void Eintragen(Punkt punkt, std::function<void()> schritt) {
  if (schritt) schritte()[punkt].push_back(std::move(schritt));
}

void MitHauptfenster(std::function<void(Hauptfenster&)> schritt) {
  if (!schritt) return;
  if (Hauptfenster* h = Hauptfenster::Instanz()) {
    schritt(*h);
    return;
  }
  Eintragen(Punkt::StartUeberpruefungen, [schritt = std::move(schritt)] {
    if (Hauptfenster* h = Hauptfenster::Instanz()) schritt(*h);
  });
}

void Ausfuehren(Punkt punkt) {
  auto it = schritte().find(punkt);
  if (it == schritte().end()) return;
  // A copy: a step may add steps while it runs.
  const auto liste = it->second;
  for (const auto& s : liste) s();
}

int Anzahl(Punkt punkt) {
  auto it = schritte().find(punkt);
  return it == schritte().end() ? 0 : int(it->second.size());
}

void Leeren() {
  schritte().clear();
}

QString BuildVersion() {
  return QStringLiteral("%1.%2.%3")
      .arg(SKRIBON_VERSION_MAJOR)
      .arg(SKRIBON_VERSION_MINOR, 2, 10, QLatin1Char('0'))
      .arg(SKRIBON_VERSION_REVISION, 4, 10, QLatin1Char('0'));
}

QString Version() { return dienste.versionsNummer ? dienste.versionsNummer() : BuildVersion(); }

QString VersionGespeichert() {
  QString v = Version();
  const qsizetype zweiter = v.indexOf(QLatin1Char('.'), v.indexOf(QLatin1Char('.')) + 1);
  if (zweiter > 0) v.remove(zweiter, 1);
  return v;
}

}  // namespace HauptfensterHaken

namespace Fensterplatz {

namespace {
const QString kHoehe = QStringLiteral("Form_Höhe");
const QString kWeite = QStringLiteral("Form_Weite");
const QString kLinks = QStringLiteral("Form_Links");
const QString kOben = QStringLiteral("Form_Oben");
const QString kState = QStringLiteral("Form_State");

// A stored whole number, or false when the key is missing or holds no number.
bool zahlLesen(const QString& abschnitt, const QString& schluessel, int* wert) {
  const QString t = Z_Alles::IniLesen({}, abschnitt, schluessel, QStringLiteral("?")).trimmed();
  if (t.isEmpty() || t == QLatin1String("?")) return false;
  bool ok = false;
  const double d = t.toDouble(&ok);
  // Written so that "nan" (which reads as a number) fails too.
  if (!ok || !(d >= -1e7 && d <= 1e7)) return false;
  *wert = int(d);
  return true;
}

int zuPixel(int twips) { return twips / TwipsJePixel; }
int zuTwips(int pixel) { return pixel * TwipsJePixel; }
}  // namespace

Platz Lesen(const QString& praefix, const QString& abschnitt) {
  Platz p;
  int h = 0, w = 0, l = 0, o = 0, s = 0;
  if (zahlLesen(abschnitt, praefix + kHoehe, &h) && zahlLesen(abschnitt, praefix + kWeite, &w) &&
      h > 0 && w > 0) {
    p.hoehe = zuPixel(h);
    p.weite = zuPixel(w);
    p.mitGroesse = true;
  }
  if (zahlLesen(abschnitt, praefix + kLinks, &l) && zahlLesen(abschnitt, praefix + kOben, &o)) {
    p.links = zuPixel(l);
    p.oben = zuPixel(o);
    p.mitPosition = true;
  }
  if (zahlLesen(abschnitt, praefix + kState, &s) && s >= 0 && s <= 2) p.zustand = s;
  return p;
}

void Schreiben(const QString& praefix, const Platz& platz, const QString& abschnitt,
               bool auchGroesse) {
  if (auchGroesse) {
    Z_Alles::IniSchreiben({}, abschnitt, praefix + kHoehe, double(zuTwips(platz.hoehe)));
    Z_Alles::IniSchreiben({}, abschnitt, praefix + kWeite, double(zuTwips(platz.weite)));
  }
  Z_Alles::IniSchreiben({}, abschnitt, praefix + kLinks, double(zuTwips(platz.links)));
  Z_Alles::IniSchreiben({}, abschnitt, praefix + kOben, double(zuTwips(platz.oben)));
  if (auchGroesse) Z_Alles::IniSchreiben({}, abschnitt, praefix + kState, double(platz.zustand));
}

void Anwenden(QWidget* fenster, const Platz& platz) {
  if (!fenster) return;
  QScreen* schirm = nullptr;
  QSize groesse = fenster->size();
  if (platz.mitGroesse) groesse = QSize(platz.weite, platz.hoehe);
  QPoint pos = fenster->pos();
  if (platz.mitPosition) {
    pos = QPoint(platz.links, platz.oben);
    // A place saved on a screen that is gone would put the window out of reach.
    schirm = QGuiApplication::screenAt(QRect(pos, groesse).center());
  }
  if (!schirm) schirm = QGuiApplication::primaryScreen();
  if (schirm) {
    const QRect frei = schirm->availableGeometry();
    groesse = groesse.boundedTo(frei.size());
    if (!platz.mitPosition || !frei.intersects(QRect(pos, groesse))) {
      pos = frei.center() - QPoint(groesse.width() / 2, groesse.height() / 2);
    }
  }
  if (platz.mitGroesse) fenster->resize(groesse.expandedTo(fenster->minimumSize()));
  if (platz.mitPosition || schirm) fenster->move(pos);
  Qt::WindowStates st = fenster->windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized);
  if (platz.zustand == 1) st |= Qt::WindowMinimized;
  if (platz.zustand == 2) st |= Qt::WindowMaximized;
  fenster->setWindowState(st);
}

Platz Von(const QWidget* fenster) {
  Platz p;
  if (!fenster) return p;
  const Qt::WindowStates st = fenster->windowState();
  p.zustand = (st & Qt::WindowMinimized) ? 1 : (st & Qt::WindowMaximized) ? 2 : 0;
  QRect normal = fenster->geometry();
  QPoint rahmen = fenster->pos();
  if (p.zustand != 0 && fenster->normalGeometry().isValid()) {
    // The frame's offset from the client area, taken over to the normal geometry.
    const QPoint versatz = fenster->geometry().topLeft() - fenster->pos();
    normal = fenster->normalGeometry();
    rahmen = normal.topLeft() - versatz;
  }
  p.links = rahmen.x();
  p.oben = rahmen.y();
  // A window grown past its screen would come back too large on the next start.
  QScreen* schirm = QGuiApplication::screenAt(normal.center());
  if (!schirm) schirm = QGuiApplication::primaryScreen();
  if (schirm) normal.setSize(normal.size().boundedTo(schirm->availableGeometry().size()));
  p.weite = normal.width();
  p.hoehe = normal.height();
  p.mitGroesse = p.mitPosition = true;
  return p;
}

void Laden(QWidget* fenster, const QString& praefix, const QString& abschnitt) {
  Anwenden(fenster, Lesen(praefix, abschnitt));
}

void Sichern(const QWidget* fenster, const QString& praefix, const QString& abschnitt,
             bool auchGroesse) {
  Schreiben(praefix, Von(fenster), abschnitt, auchGroesse);
}

}  // namespace Fensterplatz
