// Creates the application and shows the splash, which starts the main window.
#include <QApplication>
#include <cstdio>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  std::fputs("Skribon: das Hauptfenster ist noch nicht gebaut.\n", stderr);
  return 1;
}
