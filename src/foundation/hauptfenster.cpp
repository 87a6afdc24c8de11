#include "foundation/hauptfenster.h"

#include <QGuiApplication>
#include <QLayout>
#include <QMainWindow>
#include <QPointer>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QVBoxLayout>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <map>
#include <utility>
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

// Windows the desktop frames and places; pop-ups and tips place themselves.
bool einzupassen(const QWidget* fenster) {
  if (!fenster || !fenster->isWindow()) return false;
  switch (fenster->windowType()) {
    case Qt::Window:
    case Qt::Dialog:
    case Qt::Tool:
    case Qt::SplashScreen:
      return true;
    default:
      return false;
  }
}

bool ohneRahmen(Qt::WindowFlags flags) {
  return (flags & Qt::FramelessWindowHint) || (flags & Qt::WindowType_Mask) == Qt::SplashScreen;
}

// The frame the desktop will put around a window not yet shown: the largest of the windows
// shown, else room for a title bar and borders.
QMargins erwarteterRahmen(const QWidget* fenster) {
  if (ohneRahmen(fenster->windowFlags())) return {};
  QMargins m;
  for (const QWindow* w : QGuiApplication::topLevelWindows()) {
    if (w == fenster->windowHandle() || !w->isVisible() || ohneRahmen(w->flags())) continue;
    const QMargins r = w->frameMargins();
    m = QMargins(std::max(m.left(), r.left()), std::max(m.top(), r.top()),
                 std::max(m.right(), r.right()), std::max(m.bottom(), r.bottom()));
  }
  return m.isNull() ? QMargins(8, 32, 8, 8) : m;
}

// Contents that need more room than the screen has scroll instead of being cut off: the
// central widget of a main window, the layout of any other window goes into a scroll area.
// Once per window.
void rollbarMachen(QWidget* fenster) {
  static const char* const kRollbar = "fensterplatzRollbar";
  if (fenster->property(kRollbar).toBool()) return;
  auto rolle = [](QWidget* inhalt) {
    auto* r = new QScrollArea;
    r->setObjectName(QStringLiteral("Rollflaeche"));
    r->setFrameShape(QFrame::NoFrame);
    r->setWidgetResizable(true);
    r->setWidget(inhalt);
    return r;
  };
  if (auto* haupt = qobject_cast<QMainWindow*>(fenster)) {
    if (!haupt->centralWidget()) return;
    haupt->setCentralWidget(rolle(haupt->takeCentralWidget()));
  } else if (QLayout* alt = fenster->layout()) {
    QWidget* leiste = alt->menuBar();
    alt->setMenuBar(nullptr);
    auto* inhalt = new QWidget;
    inhalt->setLayout(alt);  // takes the layout and its widgets from the window
    auto* neu = new QVBoxLayout(fenster);
    neu->setContentsMargins(0, 0, 0, 0);
    neu->setMenuBar(leiste);
    neu->addWidget(rolle(inhalt));
  } else {
    return;
  }
  fenster->setProperty(kRollbar, true);
  if (QLayout* l = fenster->layout()) l->activate();
}

enum class Ort {
  Offen,   // a window never moved by code keeps the place the desktop gives it
  Halten,  // moved onto the screen as little as needed; off every screen it is centred
  Mitte,   // centred on its screen
};

void einpassen(QWidget* fenster, Ort ort) {
  if (!einzupassen(fenster)) return;
  if (fenster->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen)) return;
  // A shown window is measured as the desktop has framed it (the widget may not know its
  // frame yet); one not yet shown by its place and size and the frame it is going to get.
  QWindow* fensterGriff = fenster->windowHandle();
  const bool gezeigt = fensterGriff && fensterGriff->isVisible();
  const QMargins m = gezeigt ? fensterGriff->frameMargins() : erwarteterRahmen(fenster);
  const QSize zugabe(m.left() + m.right(), m.top() + m.bottom());
  QRect aussen = gezeigt ? fensterGriff->frameGeometry() : QRect(fenster->pos(), fenster->size() + zugabe);
  QScreen* schirm = nullptr;
  qint64 groessteFlaeche = 0;
  for (QScreen* s : QGuiApplication::screens()) {
    const QRect teil = s->geometry().intersected(aussen);
    const qint64 flaeche = qint64(teil.width()) * teil.height();
    if (flaeche > groessteFlaeche) {
      groessteFlaeche = flaeche;
      schirm = s;
    }
  }
  if (!schirm) {
    schirm = fenster->screen() ? fenster->screen() : QGuiApplication::primaryScreen();
    if (ort == Ort::Halten) ort = Ort::Mitte;
  }
  if (!schirm) return;
  const QRect frei = schirm->availableGeometry();
  const QSize raum = frei.size() - zugabe;
  if (QLayout* l = fenster->layout()) l->activate();  // the minimum size of the contents as they are now
  QSize wunsch = fenster->size();
  const bool zuBreit = fenster->minimumWidth() > raum.width();
  const bool zuHoch = fenster->minimumHeight() > raum.height();
  // A window of fixed size (a message box) lays itself out anew on every change: left as it is.
  if ((zuBreit || zuHoch) && fenster->minimumSize() != fenster->maximumSize()) {
    // As much of the contents as fits, and room for the scroll bar across the other way.
    const int leiste = fenster->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    wunsch = wunsch.expandedTo(fenster->minimumSize() + QSize(zuHoch ? leiste : 0, zuBreit ? leiste : 0));
    rollbarMachen(fenster);
  }
  const QSize groesse = wunsch.boundedTo(raum).expandedTo(fenster->minimumSize());
  if (groesse != fenster->size()) fenster->resize(groesse);
  if (ort == Ort::Offen && !fenster->testAttribute(Qt::WA_Moved)) return;
  aussen.setSize(groesse + zugabe);
  QPoint ecke = aussen.topLeft();
  if (ort == Ort::Mitte) ecke = frei.center() - QPoint(aussen.width() / 2, aussen.height() / 2);
  // Larger than the room (its minimum size): the title bar stays reachable.
  ecke.setX(std::max(frei.left(), std::min(ecke.x(), frei.left() + frei.width() - aussen.width())));
  ecke.setY(std::max(frei.top(), std::min(ecke.y(), frei.top() + frei.height() - aussen.height())));
  if (ecke == aussen.topLeft()) return;
  // A shown window is placed by its client area: the desktop may not take a frame position
  // for a window that was placed by its client area before.
  if (gezeigt) fensterGriff->setPosition(ecke + QPoint(m.left(), m.top()));
  else fenster->move(ecke);
}

// Fits a window when it is shown (before the desktop sees it), and again at its first
// exposure, when the desktop's frame is known.
class Waechter : public QObject {
public:
  using QObject::QObject;

protected:
  bool eventFilter(QObject* objekt, QEvent* e) override {
    if (e->type() == QEvent::Show && objekt->isWidgetType() && !e->spontaneous()) {
      auto* fenster = static_cast<QWidget*>(objekt);
      if (einzupassen(fenster)) {
        einpassen(fenster, Ort::Offen);
        QWindow* w = fenster->windowHandle();
        const bool vorgemerkt = std::any_of(offen_.begin(), offen_.end(), [w](const auto& o) { return o.first == w; });
        if (w && !vorgemerkt) offen_.push_back({w, fenster});
      }
    } else if (e->type() == QEvent::Expose && objekt->isWindowType() && !offen_.empty()) {
      for (auto it = offen_.begin(); it != offen_.end();) {
        if (!it->first || !it->second) {
          it = offen_.erase(it);
        } else if (it->first == objekt && it->first->isExposed()) {
          const QPointer<QWidget> fenster = it->second;
          it = offen_.erase(it);
          einpassen(fenster, Ort::Offen);
        } else {
          ++it;
        }
      }
    }
    return false;
  }

private:
  std::vector<std::pair<QPointer<QWindow>, QPointer<QWidget>>> offen_;
};
}  // namespace

void Einpassen(QWidget* fenster) { einpassen(fenster, Ort::Halten); }

void WaechterEinrichten() {
  static QPointer<Waechter> waechter;
  if (waechter || !qApp) return;
  waechter = new Waechter(qApp);
  qApp->installEventFilter(waechter);
}

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

QList<Z_Alles::IniWert> Eintraege(const QString& praefix, const Platz& platz,
                                  const QString& abschnitt, bool auchGroesse) {
  QList<Z_Alles::IniWert> werte;
  auto zahl = [&](const QString& schluessel, int wert) {
    werte.append({abschnitt, praefix + schluessel, QString::number(wert)});
  };
  if (auchGroesse) {
    zahl(kHoehe, zuTwips(platz.hoehe));
    zahl(kWeite, zuTwips(platz.weite));
  }
  zahl(kLinks, zuTwips(platz.links));
  zahl(kOben, zuTwips(platz.oben));
  if (auchGroesse) zahl(kState, platz.zustand);
  return werte;
}

void Schreiben(const QString& praefix, const Platz& platz, const QString& abschnitt,
               bool auchGroesse) {
  // One write: a quit waits for one disk sync instead of five.
  Z_Alles::IniSchreiben({}, Eintraege(praefix, platz, abschnitt, auchGroesse));
}

void Anwenden(QWidget* fenster, const Platz& platz) {
  if (!fenster) return;
  if (platz.mitGroesse) fenster->resize(QSize(platz.weite, platz.hoehe).expandedTo(fenster->minimumSize()));
  if (platz.mitPosition) {
    fenster->move(platz.links, platz.oben);
    einpassen(fenster, Ort::Halten);
  } else {
    if (QScreen* schirm = QGuiApplication::primaryScreen()) fenster->move(schirm->availableGeometry().topLeft());
    einpassen(fenster, Ort::Mitte);
  }
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
