#pragma once
// Titel: the splash window shown at start. Its timer Zeit (200 ms) watches the keys held at
// start (Ctrl: usage statistics, Ctrl+Alt: folders, both keep the splash up; Ctrl+Shift or
// "#debug": debug log on), then creates and shows Main and unloads itself.
#include <QTimer>
#include <QWidget>

class QLabel;
class Main;

class Titel : public QWidget {
  Q_OBJECT
public:
  explicit Titel(QWidget* parent = nullptr);
  ~Titel() override;

  // The splash while it exists (global slot), else nullptr.
  static Titel* Instanz();

  void Form_Load();
  // Progress text of the main window's start-up.
  void fortschritt(const QString& text);
  // Hides and destroys the splash (later, from the event loop).
  void entladen();

  // The main window this splash created (nullptr before the first counted tick).
  Main* hauptfenster() const { return main_; }

  QLabel* bezProdukt = nullptr;
  QLabel* bezVersion = nullptr;
  QLabel* bezCopyright = nullptr;
  QLabel* bezInfo = nullptr;
  QTimer Zeit;

public Q_SLOTS:
  void Zeit_Timer();

private:
  int zaehler_ = 0;
  bool entladen_ = false;
  Main* main_ = nullptr;
};
