#pragma once
// The printer as the program draws on it: the current printer is a page surface measured in
// centimetres (origin shift, current position, font, text measures, text output with or without
// a line end, page end, document end); beside it the list of installed printers and the call
// that makes one of them current. Pages go to the system's print service or into a PDF file;
// tests put a recording service in place (druckaufzeichnung.h).
#include <QFont>
#include <QSizeF>
#include <QString>
#include <QVector>
#include <memory>

namespace Plattform {

struct DruckerInfo {
  QString DeviceName;
  QString Port;
  QString DriverName;
  bool pdf = false;  // writes a PDF file instead of printing
};

// The name of the printer that writes PDF files.
inline const QString PdfDruckerName = QStringLiteral("PDF-Datei");
// Error number of a failed printer call.
constexpr int DruckerFehlerNummer = 482;

// What one printer draws on. Lengths in centimetres from the top-left corner of the printable
// area; text positions are the top of the line.
class DruckZiel {
public:
  virtual ~DruckZiel() = default;
  virtual QSizeF bereich() = 0;  // printable width and height
  virtual double textBreite(const QFont& schrift, const QString& zeile) = 0;
  virtual double zeilenHoehe(const QFont& schrift) = 0;
  // Starts a job; false (and fehler()) when the printer or the file cannot be opened.
  virtual bool beginnen(const QString& dokumentName) = 0;
  virtual bool neueSeite() = 0;  // every page after the first
  virtual void text(double x, double y, const QFont& schrift, const QString& zeile) = 0;
  virtual bool beenden() = 0;    // ends the job
  virtual QString fehler() const = 0;
  virtual QString datei() const { return {}; }  // the PDF file of the last job
};

class DruckerDienst {
public:
  virtual ~DruckerDienst() = default;
  // Installed printers in the system's order, then always the PDF printer.
  virtual QVector<DruckerInfo> drucker() = 0;
  // Device name of the system's default printer; the PDF printer's when none is installed.
  virtual QString standard() = 0;
  virtual std::unique_ptr<DruckZiel> ziel(const DruckerInfo& info) = 0;
};

// The system's printers through Qt, and the PDF printer writing into pdfOrdner.
class SystemDrucker : public DruckerDienst {
public:
  SystemDrucker();
  QVector<DruckerInfo> drucker() override;
  QString standard() override;
  std::unique_ptr<DruckZiel> ziel(const DruckerInfo& info) override;
  DruckerInfo pdfDrucker() const;

  // Where PDF files go: the user's documents folder (created when missing).
  QString pdfOrdner;
  // False: only the PDF printer is offered (tests that must not see the machine's printers).
  bool mitInstallierten = true;
};

// Installs a service (nullptr = the system's). Not owned. The current printer starts anew.
void SetzeDruckerDienst(DruckerDienst* dienst);
DruckerDienst& DruckerVerwaltung();

// The printer object of the current printer. The scale unit is the centimetre; ScaleLeft and
// ScaleTop are the coordinates of the printable area's top-left corner, so setting them to
// minus the margins puts 0, 0 at the margin corner.
class Drucker {
public:
  Drucker(const DruckerInfo& info, std::unique_ptr<DruckZiel> ziel);
  ~Drucker();  // an open job is ended
  Drucker(const Drucker&) = delete;
  Drucker& operator=(const Drucker&) = delete;

  const DruckerInfo& Info() const { return info_; }
  QString DeviceName() const { return info_.DeviceName; }
  QString Port() const { return info_.Port; }
  QString DriverName() const { return info_.DriverName; }

  double ScaleLeft() const { return links_; }
  double ScaleTop() const { return oben_; }
  void setScaleLeft(double wert) { links_ = wert; }
  void setScaleTop(double wert) { oben_ = wert; }
  double ScaleWidth();
  double ScaleHeight();
  double CurrentX() const { return x_; }
  double CurrentY() const { return y_; }
  void setCurrentX(double wert) { x_ = wert; }
  void setCurrentY(double wert) { y_ = wert; }

  QString FontName() const { return schrift_.family(); }
  double FontSize() const { return schrift_.pointSizeF(); }
  bool FontBold() const { return schrift_.bold(); }
  bool FontItalic() const { return schrift_.italic(); }
  bool FontUnderline() const { return schrift_.underline(); }
  void setFontName(const QString& name);
  void setFontSize(double punkte);  // sizes below 1 point become 1
  void setFontBold(bool an) { schrift_.setBold(an); }
  void setFontItalic(bool an) { schrift_.setItalic(an); }
  void setFontUnderline(bool an) { schrift_.setUnderline(an); }

  // Of a text of several lines (CR LF, CR or LF): the widest line, and the height of all lines.
  double TextWidth(const QString& text);
  double TextHeight(const QString& text);

  // Draws the text at the current position; x moves to its end. A line break inside the text,
  // and the line end when asked for, move y down one line and x back to ScaleLeft.
  void Print(const QString& text, bool zeilenende = true);
  // Ends the page; the next drawing starts a new one. Position back to the top-left corner.
  void EndPage();
  // Ends the job, so every page comes out. False when the job failed. Nothing drawn: no job.
  bool EndDoc();
  // True while a job has been started and not yet ended.
  bool AuftragOffen() const { return auftrag_; }

  // Name of the next job (the PDF file is named after it and the date).
  void setDokumentName(const QString& name) { dokumentName_ = name; }
  // The PDF file the last ended job wrote; empty for other printers.
  QString LetzteDatei() const { return letzteDatei_; }

  // The first failure of the running job (0 = none) and its German text. A job that could not
  // start draws nothing more until EndDoc, and says so once.
  int Fehler() const { return fehler_; }
  QString FehlerText() const { return fehlerText_; }
  void FehlerLoeschen() { fehler_ = 0; fehlerText_.clear(); }

private:
  void zeichnen(const QString& zeile);
  void zeilenende();
  void fehlerSetzen(const QString& text);

  DruckerInfo info_;
  std::unique_ptr<DruckZiel> ziel_;
  QFont schrift_;
  double links_ = 0, oben_ = 0, x_ = 0, y_ = 0;
  bool auftrag_ = false;       // job started
  bool gescheitert_ = false;   // job could not start or a page could not begin
  bool seiteBemalt_ = false;   // the current page has something visible
  int seiten_ = 0;             // pages begun in the job
  QString dokumentName_;
  QString letzteDatei_;
  int fehler_ = 0;
  QString fehlerText_;
};

// The current printer; at first the system's default.
Drucker& Printer();
// Makes the printer current (an open job on the previous one ends first).
void DruckerSetzen(const DruckerInfo& info);
// The list of printers of the installed service.
QVector<DruckerInfo> Printers();
// Ends an open job and lets the current printer go (at the program's end, while Qt still runs).
void DruckerFreigeben();

}  // namespace Plattform
