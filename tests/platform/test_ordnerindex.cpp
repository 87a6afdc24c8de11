#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include "platform/ordnerindex.h"
#include "support/fixture.h"

using namespace Plattform;

namespace {

class OrdnerIndexTest : public Testhilfe::SkribonTest {};

// Which names a folder gives for a name, watched or read again on change: the name itself
// first, the others sorted, matched as QString::compare without regard to case (umlauts too,
// but "ß" is not "ss"); entries of every kind; a missing folder gives the name to try.
TEST_F(OrdnerIndexTest, NamenOhneGrossKlein) {
  const QString o = wurzel + "/namen";
  for (const bool beobachtet : {true, false}) {
    SCOPED_TRACE(beobachtet ? "beobachtet" : "wie im Netz");
    SetzeOrdnerBeobachtung(beobachtet);
    ASSERT_TRUE(QDir(o).removeRecursively() || !QDir(o).exists());
    ASSERT_TRUE(QDir().mkpath(o));
    for (const char* n : {"Notiz.txt", "NOTIZ.TXT", "notiz.txt", "Größe.ini", "Strasse.ini"})
      DateiSchreiben(o + "/" + QString::fromUtf8(n), "x");
    ASSERT_TRUE(QDir().mkpath(o + "/Ordner.dat"));
    // The first lookup reads the folder; the later entries come after it.
    EXPECT_EQ(NamenOhneGrossKlein({o}, "x")[0], QStringList());
    DateiSchreiben(o + "/GRÖSSE.INI", "x");
    QFile::rename(o + "/Strasse.ini", o + "/Straße.ini");
    struct Fall {
      QString name;
      QStringList namen;
    };
    const Fall faelle[] = {
        {"notiz.txt", {"notiz.txt", "NOTIZ.TXT", "Notiz.txt"}},
        {"Notiz.TXT", {"NOTIZ.TXT", "Notiz.txt", "notiz.txt"}},
        {u"größe.INI"_qs, {u"Größe.ini"_qs}},
        {u"Grösse.ini"_qs, {u"GRÖSSE.INI"_qs}},
        {"strasse.ini", {}},
        {u"STRAßE.ini"_qs, {u"Straße.ini"_qs}},
        {"ordner.DAT", {"Ordner.dat"}},
        {"fehlt", {}},
        {"", {}},
    };
    for (const Fall& f : faelle) EXPECT_EQ(NamenOhneGrossKlein({o}, f.name)[0], f.namen) << f.name.toStdString();
    EXPECT_EQ(NamenOhneGrossKlein({"", o + "/fehlt", o}, "NOTIZ.TXT"),
              (QList<QStringList>{{}, {"NOTIZ.TXT"}, {"NOTIZ.TXT", "Notiz.txt", "notiz.txt"}}));
  }
  SetzeOrdnerBeobachtung(true);
}

}  // namespace
