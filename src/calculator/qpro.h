#pragma once
// Small utility functions the evaluator, the calculator line and the placeholder language rely
// on: blank removal, day numbers, counting and finding in texts, bracket matching, factorials,
// binary digits and volume labels. Positions are 1-based, 0 means "not found".
#include <QString>
#include <QStringView>

namespace QPro {

// The text with every blank (" ") removed; tabs and other white space stay.
QString Compact(QStringView text);

// Day number of a date given as "mm-dd-yyyy": days since 01.01.1901 (that day is 0), the same
// count the calculator line uses for its date brackets. An unreadable or invalid date gives 0.
int Date2Num(QStringView datum);

// Number of non-overlapping occurrences of teil in text; an empty teil gives 0.
int InCount(QStringView text, QStringView teil);

// Character code of the first character (UTF-16 unit), 0 for an empty text.
int ASCII(QStringView text);

// 1-based position of the ")" that closes the first "(" of the text; 0 when the text has no "("
// or that bracket is never closed.
int PMatch(QStringView text);

// n! as a double for 0 <= n <= 170; 0 for any other n (no such factorial fits a double).
double Factorial(int n);

inline int MaxInt(int a, int b) { return a > b ? a : b; }
inline int MinInt(int a, int b) { return a < b ? a : b; }

// 1-based position of the last occurrence of teil that begins at or before position start;
// 0 when there is none (also for start < 1 or an empty teil).
int QInstrB(int start, QStringView text, QStringView teil);

// Binary digits, most significant first, without leading zeros ("0" for 0). A negative number is
// written as its 32-bit two's complement.
QString Num2Bin2(qint32 zahl);

// Volume label of the drive or folder given, "" when it has none.
QString GetVol(const QString& laufwerk);

}  // namespace QPro
