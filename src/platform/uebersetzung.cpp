#include "platform/uebersetzung.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace Plattform {

bool DeutschLaden() {
  static QTranslator* qt = nullptr;
  if (qt) return true;
  const QLocale deutsch(QLocale::German, QLocale::Germany);
  QLocale::setDefault(deutsch);
  auto* t = new QTranslator(QCoreApplication::instance());
  // qtbase covers the widgets, dialogs and print support that the program uses.
  if (!t->load(deutsch, QStringLiteral("qtbase"), QStringLiteral("_"),
               QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete t;
    return false;
  }
  QCoreApplication::installTranslator(t);
  qt = t;
  return true;
}

}  // namespace Plattform
