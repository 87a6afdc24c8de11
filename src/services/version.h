#pragma once
// The program's version texts, the age of the running release and the copyright line.
// Year, month and running build number are build constants.
#include <QString>

namespace Z_Alles {

// Set by VersionsNummer: "2026.04.1933" for what users see, "2026.041933" for stored values.
inline QString VersionsText;
inline QString VersionsNr;

// Sets VersionsText and VersionsNr from the build's version numbers; returns VersionsNr.
QString VersionsNummer();
// The two texts for any version numbers (major without padding, minor "00", revision "0000").
QString VersionsTextAus(int major, int minor, int revision);
QString VersionsNrAus(int major, int minor, int revision);
// Age of the running release in years, a month counting 1/13; never negative.
float VersionsAlter();
float VersionsAlterAus(int major, int minor, int jahr, int monat);
// The copyright text with every "~" as a line break.
QString CopyrightZeile(const QString& text);
// The build's copyright text ("~" = line break), for the splash and the about box.
QString CopyrightText();

}  // namespace Z_Alles
