#pragma once
// Readable QString values in failure messages of the notepad tests.
#include <QString>
#include <ostream>

inline void PrintTo(const QString& text, std::ostream* aus) { *aus << '"' << text.toStdString() << '"'; }
