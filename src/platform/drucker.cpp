// The printer object over the active print target, and the system's printers through Qt.
#include "platform/drucker.h"

#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QHash>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStandardPaths>
#include <cmath>

#include "platform/system.h"

namespace Plattform {

namespace {

constexpr double ZollInCm = 2.54;

bool sichtbar(const QString& text) {
  for (const QChar c : text)
    if (!c.isSpace()) return true;
  return false;
}

// Calls f(line, last) for each line of the text; CR LF, CR and LF each end a line.
template <typename F>
void jeZeile(const QString& text, F f) {
  qsizetype start = 0;
  const qsizetype n = text.size();
  for (qsizetype i = 0; i < n; ++i) {
    const QChar c = text[i];
    if (c != QLatin1Char('\r') && c != QLatin1Char('\n')) continue;
    f(text.mid(start, i - start), false);
    if (c == QLatin1Char('\r') && i + 1 < n && text[i + 1] == QLatin1Char('\n')) ++i;
    start = i + 1;
  }
  f(start == 0 ? text : text.mid(start), true);
}

// A file name part from a document name: no folders, no control characters.
QString dateiTeil(const QString& name) {
  QString t;
  for (const QChar c : name.trimmed())
    t += (c == QLatin1Char('/') || c == QLatin1Char('\\') || c.category() == QChar::Other_Control)
             ? QChar(QLatin1Char('_')) : c;
  if (t.startsWith(QLatin1Char('.'))) t[0] = QLatin1Char('_');
  return t.isEmpty() ? QStringLiteral("Ausdruck") : t.left(120);
}

// Draws through QPainter on a QPrinter: an installed printer or a PDF file.
class QtZiel : public DruckZiel {
public:
  QtZiel(const DruckerInfo& info, const QString& pdfOrdner)
      : info_(info), pdfOrdner_(pdfOrdner),
        drucker_(info.pdf ? QPrinterInfo() : QPrinterInfo::printerInfo(info.DeviceName),
                 QPrinter::HighResolution) {
    if (info.pdf) {
      drucker_.setOutputFormat(QPrinter::PdfFormat);
      drucker_.setPageSize(QPageSize(QPageSize::A4));
      // As much as a printer could not reach, so a text at the margin corner is not cut.
      drucker_.setPageMargins(QMarginsF(5, 5, 5, 5), QPageLayout::Millimeter);
    }
    drucker_.setFullPage(false);
    aufloesung_ = drucker_.resolution() > 0 ? drucker_.resolution() : 1200;
  }
  ~QtZiel() override {
    if (maler_.isActive()) {
      ausgeben();
      maler_.end();
    }
  }

  QSizeF bereich() override {
    const QRectF r = drucker_.pageRect(QPrinter::Millimeter);
    return r.size() / 10.0;
  }
  // Widths are asked for every word two or three times, and notes repeat their words.
  double textBreite(const QFont& schrift, const QString& zeile) override {
    const QFontMetricsF& fm = masse(schrift);
    if (breiten_.size() > 20000) breiten_.clear();
    auto it = breiten_.constFind(zeile);
    if (it != breiten_.constEnd()) return *it;
    const double b = zuCm(fm.horizontalAdvance(zeile));
    breiten_.insert(zeile, b);
    return b;
  }
  double zeilenHoehe(const QFont& schrift) override { return zuCm(masse(schrift).lineSpacing()); }

  bool beginnen(const QString& dokumentName) override {
    fehler_.clear();
    datei_.clear();
    drucker_.setDocName(dokumentName);
    if (info_.pdf) {
      QDir().mkpath(pdfOrdner_);
      datei_ = freierName(dokumentName);
      drucker_.setOutputFileName(datei_);
    }
    if (!maler_.begin(&drucker_)) {
      fehler_ = info_.pdf
                    ? QStringLiteral("Die PDF-Datei »%1« kann nicht geschrieben werden.").arg(datei_)
                    : QStringLiteral("Der Drucker »%1« nimmt keinen Druckauftrag an.")
                          .arg(info_.DeviceName);
      datei_.clear();
      return false;
    }
    return true;
  }
  bool neueSeite() override {
    ausgeben();
    if (drucker_.newPage()) return true;
    fehler_ = QStringLiteral("Der Drucker »%1« kann keine neue Seite beginnen.").arg(info_.DeviceName);
    return false;
  }
  // Words that follow each other on a line are drawn as one run: one text item per line
  // rather than per word makes the PDF several times faster to write.
  void text(double x, double y, const QFont& schrift, const QString& zeile) override {
    if (!maler_.isActive()) return;
    const double breite = textBreite(schrift, zeile);
    if (!lauf_.isEmpty() && y == laufY_ && std::abs(x - laufEnde_) < 1e-9 && schrift == laufSchrift_) {
      lauf_ += zeile;
    } else {
      ausgeben();
      lauf_ = zeile;
      laufX_ = x;
      laufY_ = y;
      laufSchrift_ = schrift;
    }
    laufEnde_ = x + breite;
  }
  bool beenden() override {
    if (!maler_.isActive()) return false;
    ausgeben();
    const bool ok = maler_.end();
    if (info_.pdf && (!ok || QFileInfo(datei_).size() <= 0)) {
      fehler_ = QStringLiteral("Die PDF-Datei »%1« wurde nicht vollständig geschrieben.").arg(datei_);
      return false;
    }
    if (!ok) fehler_ = QStringLiteral("Der Druckauftrag an »%1« ist gescheitert.").arg(info_.DeviceName);
    return ok;
  }
  QString fehler() const override { return fehler_; }
  QString datei() const override { return datei_; }

private:
  void ausgeben() {
    if (lauf_.isEmpty()) return;
    const QFontMetricsF& fm = masse(laufSchrift_);
    maler_.setFont(laufSchrift_);
    maler_.drawText(QPointF(zuPunkt(laufX_), zuPunkt(laufY_) + fm.ascent()), lauf_);
    lauf_.clear();
  }
  double zuCm(double punkte) const { return punkte / aufloesung_ * ZollInCm; }
  double zuPunkt(double cm) const { return cm / ZollInCm * aufloesung_; }

  // Metrics of the font on the printer's resolution; the last font's are kept.
  const QFontMetricsF& masse(const QFont& schrift) {
    if (!masse_ || !(schrift == letzteSchrift_)) {
      letzteSchrift_ = schrift;
      masse_ = std::make_unique<QFontMetricsF>(schrift, &drucker_);
      breiten_.clear();
    }
    return *masse_;
  }

  // "<name> <yyyy-mm-dd>.pdf", numbered when that file exists: an earlier printout stays.
  QString freierName(const QString& dokumentName) const {
    const QString stamm = dateiTeil(dokumentName) + QLatin1Char(' ') +
                          Jetzt().date().toString(QStringLiteral("yyyy-MM-dd"));
    QString pfad = QDir(pdfOrdner_).filePath(stamm + QStringLiteral(".pdf"));
    for (int n = 2; QFileInfo::exists(pfad); ++n)
      pfad = QDir(pdfOrdner_).filePath(QStringLiteral("%1 (%2).pdf").arg(stamm).arg(n));
    return pfad;
  }

  DruckerInfo info_;
  QString pdfOrdner_;
  QPrinter drucker_;
  QPainter maler_;
  double aufloesung_ = 1200;
  QFont letzteSchrift_;
  std::unique_ptr<QFontMetricsF> masse_;
  QHash<QString, double> breiten_;  // of the last font
  QString fehler_, datei_;
  QString lauf_;  // the run not yet drawn
  QFont laufSchrift_;
  double laufX_ = 0, laufY_ = 0, laufEnde_ = 0;
};

DruckerDienst* dienst_ = nullptr;
// Held by a plain pointer: the printer must not be destroyed after the application object.
Drucker* aktuell_ = nullptr;

SystemDrucker& systemDienst() {
  static SystemDrucker s;
  return s;
}

}  // namespace

// ---- System printers --------------------------------------------------------------------------

SystemDrucker::SystemDrucker() {
  pdfOrdner = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  if (pdfOrdner.isEmpty()) pdfOrdner = QDir::homePath();
}

DruckerInfo SystemDrucker::pdfDrucker() const {
  return {PdfDruckerName, QDir::toNativeSeparators(pdfOrdner), QStringLiteral("PDF-Ausgabe"), true};
}

QVector<DruckerInfo> SystemDrucker::drucker() {
  QVector<DruckerInfo> liste;
  if (mitInstallierten) {
    for (const QPrinterInfo& p : QPrinterInfo::availablePrinters()) {
      if (p.printerName() == PdfDruckerName) continue;
      liste.push_back({p.printerName(), p.location().isEmpty() ? QStringLiteral("CUPS") : p.location(),
                       p.makeAndModel(), false});
    }
  }
  liste.push_back(pdfDrucker());
  return liste;
}

QString SystemDrucker::standard() {
  if (mitInstallierten) {
    const QString name = QPrinterInfo::defaultPrinterName();
    if (!name.isEmpty() && !QPrinterInfo::printerInfo(name).isNull()) return name;
  }
  return PdfDruckerName;
}

std::unique_ptr<DruckZiel> SystemDrucker::ziel(const DruckerInfo& info) {
  return std::make_unique<QtZiel>(info, pdfOrdner);
}

void SetzeDruckerDienst(DruckerDienst* dienst) {
  delete aktuell_;
  aktuell_ = nullptr;
  dienst_ = dienst;
}

DruckerDienst& DruckerVerwaltung() { return dienst_ ? *dienst_ : systemDienst(); }

QVector<DruckerInfo> Printers() { return DruckerVerwaltung().drucker(); }

Drucker& Printer() {
  if (!aktuell_) {
    DruckerDienst& d = DruckerVerwaltung();
    const QVector<DruckerInfo> liste = d.drucker();
    const QString name = d.standard();
    DruckerInfo info{PdfDruckerName, {}, {}, true};
    for (const DruckerInfo& i : liste)
      if (i.DeviceName == name) { info = i; break; }
    if (info.DeviceName != name && !liste.isEmpty()) info = liste.last();
    aktuell_ = new Drucker(info, d.ziel(info));
  }
  return *aktuell_;
}

void DruckerFreigeben() {
  if (aktuell_) aktuell_->EndDoc();
  delete aktuell_;
  aktuell_ = nullptr;
}

void DruckerSetzen(const DruckerInfo& info) {
  DruckerFreigeben();
  aktuell_ = new Drucker(info, DruckerVerwaltung().ziel(info));
}

// ---- The printer object -----------------------------------------------------------------------

Drucker::Drucker(const DruckerInfo& info, std::unique_ptr<DruckZiel> ziel)
    : info_(info), ziel_(std::move(ziel)) {
  schrift_ = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
  schrift_.setPointSizeF(10);
}

Drucker::~Drucker() {
  if (auftrag_) ziel_->beenden();
}

double Drucker::ScaleWidth() { return ziel_->bereich().width(); }
double Drucker::ScaleHeight() { return ziel_->bereich().height(); }

void Drucker::setFontName(const QString& name) {
  if (!name.trimmed().isEmpty()) schrift_.setFamily(name);
}

void Drucker::setFontSize(double punkte) {
  // A huge size is still printed (it may not fit the page); NaN and tiny sizes would break Qt.
  if (!(punkte >= 1)) punkte = 1;
  if (punkte > 2000) punkte = 2000;
  schrift_.setPointSizeF(punkte);
}

double Drucker::TextWidth(const QString& text) {
  double breit = 0;
  jeZeile(text, [&](const QString& zeile, bool) {
    if (!zeile.isEmpty()) breit = std::max(breit, ziel_->textBreite(schrift_, zeile));
  });
  return breit;
}

double Drucker::TextHeight(const QString& text) {
  int zeilen = 0;
  jeZeile(text, [&](const QString&, bool) { ++zeilen; });
  return zeilen * ziel_->zeilenHoehe(schrift_);
}

void Drucker::Print(const QString& text, bool mitZeilenende) {
  jeZeile(text, [&](const QString& zeile, bool letzte) {
    zeichnen(zeile);
    if (!letzte || mitZeilenende) zeilenende();
  });
}

void Drucker::zeilenende() {
  y_ += ziel_->zeilenHoehe(schrift_);
  x_ = links_;
}

// A page begins with its first visible drawing, so blanks and line ends never make a blank page.
void Drucker::zeichnen(const QString& zeile) {
  if (zeile.isEmpty()) return;
  const double breite = ziel_->textBreite(schrift_, zeile);
  if (!gescheitert_ && sichtbar(zeile)) {
    if (!auftrag_) {
      letzteDatei_.clear();
      if (ziel_->beginnen(dokumentName_)) {
        auftrag_ = true;
        seiten_ = 0;
      } else {
        gescheitert_ = true;
        fehlerSetzen(ziel_->fehler());
      }
    }
    if (auftrag_ && !seiteBemalt_) {
      if (seiten_ > 0 && !ziel_->neueSeite()) {
        gescheitert_ = true;
        fehlerSetzen(ziel_->fehler());
      } else {
        seiteBemalt_ = true;
        ++seiten_;
      }
    }
    if (!gescheitert_) ziel_->text(x_ - links_, y_ - oben_, schrift_, zeile);
  }
  x_ += breite;
}

void Drucker::EndPage() {
  seiteBemalt_ = false;
  x_ = links_;
  y_ = oben_;
}

bool Drucker::EndDoc() {
  bool ok = !gescheitert_;
  letzteDatei_.clear();
  if (auftrag_) {
    if (ziel_->beenden()) {
      letzteDatei_ = ziel_->datei();
    } else {
      ok = false;
      fehlerSetzen(ziel_->fehler());
    }
  }
  auftrag_ = gescheitert_ = seiteBemalt_ = false;
  seiten_ = 0;
  x_ = links_;
  y_ = oben_;
  return ok;
}

void Drucker::fehlerSetzen(const QString& text) {
  if (fehler_) return;
  fehler_ = DruckerFehlerNummer;
  fehlerText_ = text.isEmpty() ? QStringLiteral("Der Drucker hat den Auftrag nicht angenommen.") : text;
}

}  // namespace Plattform
