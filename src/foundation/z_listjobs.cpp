// Z_ListJobs: copying, selecting and joining the entries of list boxes.
#include "foundation/z_listjobs.h"

#include <QListWidget>

namespace Z_ListJobs {

void ListCopy(const QListWidget* quelle, QListWidget* ziel) {
  if (!ziel || quelle == ziel) return;
  ziel->clear();
  if (!quelle) return;
  for (int i = 0; i < quelle->count(); ++i) ziel->addItem(quelle->item(i)->text());
}

int ListSelectMatching(QListWidget* liste, const QString& muster, bool zuerstLeeren) {
  if (!liste) return 0;
  if (zuerstLeeren) liste->clearSelection();
  const QString klein = muster.toLower();
  int anzahl = 0;
  for (int i = 0; i < liste->count(); ++i) {
    QListWidgetItem* eintrag = liste->item(i);
    if (eintrag->text().toLower().contains(klein)) {
      eintrag->setSelected(true);
      ++anzahl;
    }
  }
  return anzahl;
}

QString ListJoin(const QListWidget* liste, const QString& trenner) {
  QString aus;
  if (!liste) return aus;
  for (int i = 0; i < liste->count(); ++i) aus += liste->item(i)->text() + trenner;
  return aus;
}

}  // namespace Z_ListJobs
