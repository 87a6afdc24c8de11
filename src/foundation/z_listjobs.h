#pragma once
#include <QString>
class QListWidget;

namespace Z_ListJobs {
void ListCopy(const QListWidget* quelle, QListWidget* ziel);
int ListSelectMatching(QListWidget* liste, const QString& muster, bool zuerstLeeren);
QString ListJoin(const QListWidget* liste, const QString& trenner);
}  // namespace Z_ListJobs
