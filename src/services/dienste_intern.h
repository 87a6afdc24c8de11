#pragma once
// Shared within the program services, not for other folders: what they remember during a run
// (reset for tests by Programmdienste::Zuruecksetzen) and helpers more than one of them uses.
#include <QDateTime>
#include <QString>
#include <functional>

class QRegularExpression;

namespace Programmdienste::Intern {
void StatistikZuruecksetzen();
void NetWatchZuruecksetzen();

// Writes a fresh value (a new GUID) to [Allgemein] Schreibtest of the settings file and reads it
// back: a write that failed cannot read back an old, equal value.
bool EinstellungenSchreibbar();
// Whole minute boundaries crossed from a to b (negative when b is earlier), counted on the
// epoch so that a change of the clock's zone or summer time does not count.
qint64 MinutenGrenzen(const QDateTime& a, const QDateTime& b);
// A number from a settings value; what is not finite reads as 0.
double ZahlWert(const QString& text);

// Replaces each match of muster in one command argument by wert(first capture), in one pass:
// a value that holds a placeholder, a blank or a quote stays what it is. ersetzt (optional)
// tells whether anything matched.
QString PlatzhalterErsetzen(const QString& teil, const QRegularExpression& muster,
                            const std::function<QString(const QString&)>& wert, bool* ersetzt = nullptr);
}  // namespace Programmdienste::Intern
