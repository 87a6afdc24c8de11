#include "support/fakes.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

namespace Testhilfe {

int TestDialoge::msgBox(const QString& text, int knoepfe, const QString& titel, int hilfeThema) {
  gezeigt.push_back({false, titel, text, knoepfe, hilfeThema, {}});
  if (msgAntworten.isEmpty()) {
    ADD_FAILURE() << "Meldung ohne vorbereitete Antwort: [" << titel.toStdString() << "] "
                  << text.toStdString();
    return Plattform::vbCancel;
  }
  return msgAntworten.dequeue();
}

QString TestDialoge::inputBox(const QString& text, const QString& titel, const QString& vorgabe,
                              bool* abgebrochen) {
  gezeigt.push_back({true, titel, text, 0, 0, vorgabe});
  if (eingaben.isEmpty()) {
    ADD_FAILURE() << "Eingabe ohne vorbereitete Antwort: [" << titel.toStdString() << "] "
                  << text.toStdString();
    if (abgebrochen) *abgebrochen = true;
    return {};
  }
  auto [antwort, abbruch] = eingaben.dequeue();
  if (abgebrochen) *abgebrochen = abbruch;
  return abbruch ? QString() : antwort;
}

TestSystem::TestSystem() : uhr(QDate(2026, 1, 15), QTime(10, 30, 0)) {}

double TestSystem::zufall() {
  // xorshift32: repeatable across runs and machines
  zustand ^= zustand << 13;
  zustand ^= zustand >> 17;
  zustand ^= zustand << 5;
  return double(zustand) / 4294967296.0;
}

QString TestSystem::umgebung(const QString& name) {
  for (auto it = env.cbegin(); it != env.cend(); ++it)
    if (it.key().compare(name, Qt::CaseInsensitive) == 0) return it.value();
  return {};
}

void TestSystem::warten(double sekunden) {
  gewartet += sekunden;
  uhr = uhr.addMSecs(qint64(sekunden * 1000));
  tick += quint32(sekunden * 1000);
  QCoreApplication::processEvents();
}

}  // namespace Testhilfe
