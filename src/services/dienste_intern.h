#pragma once
// What the program services remember during a run, reset for tests by
// Programmdienste::Zuruecksetzen; not for other folders.
namespace Programmdienste::Intern {
void StatistikZuruecksetzen();
void NetWatchZuruecksetzen();
}  // namespace Programmdienste::Intern
