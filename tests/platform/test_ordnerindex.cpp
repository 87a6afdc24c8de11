#include <QDir>
#include <QFile>
#include <functional>
#include <gtest/gtest.h>
#include <iostream>
#include <span>

#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

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

// Another folder put at a watched path, in the ways no change notice tells of: the next lookup
// sees what is there now, and names made in it afterwards.
TEST_F(OrdnerIndexTest, AndererOrdnerAmPfad) {
  const QString p = wurzel + "/eltern", d = p + "/D", neu = wurzel + "/neu";
  struct Fall {
    const char* name;
    bool verknuepft;  // the path is a symbolic link to the folder
    std::function<bool()> ersetzen;
  };
  const Fall faelle[] = {
      {"eingehängt", false, [&] { return ::mount(qPrintable(neu), qPrintable(d), nullptr, MS_BIND, nullptr) == 0; }},
      {"Elternordner umbenannt", false, [&] { return QFile::rename(p, p + ".alt") && QDir().mkpath(d); }},
      {"Verknüpfung umgebogen", true,
       [&] { return QFile::link(neu, p + "/D.neu") && ::rename(qPrintable(p + "/D.neu"), qPrintable(d)) == 0; }},
      {"neu angelegt nach Überlauf", false, [&] {
         // More create and delete notices than the kernel queues: the folder's removal is lost.
         QFile max("/proc/sys/fs/inotify/max_queued_events");
         const int n = max.open(QIODevice::ReadOnly) ? max.readAll().trimmed().toInt() / 2 + 1 : 20000;
         for (int i = 0; i < n; ++i) ::close(::creat(qPrintable(d + "/f"), 0600)), ::unlink(qPrintable(d + "/f"));
         return QDir().rmdir(d) && QDir().mkdir(d);
       }},
  };
  // Mounts only in a namespace of this thread's own; without the rights the first row is left out.
  const bool einhaengbar =
      ::unshare(CLONE_NEWNS) == 0 && ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
  if (!einhaengbar) std::cout << "Einhängen nicht erlaubt: ohne diesen Fall" << std::endl;
  for (const Fall& f : std::span(faelle).subspan(einhaengbar ? 0 : 1)) {
    SCOPED_TRACE(f.name);
    SetzeOrdnerBeobachtung(true);
    for (const QString& o : {p, p + ".alt", neu}) ASSERT_TRUE(QDir(o).removeRecursively());
    ASSERT_TRUE(QDir().mkpath(neu) && QDir().mkpath(f.verknuepft ? p + "/alt" : d));
    ASSERT_TRUE(!f.verknuepft || QFile::link(p + "/alt", d));
    EXPECT_EQ(NamenOhneGrossKlein({d}, "Kennung.flg")[0], QStringList());
    ASSERT_TRUE(f.ersetzen());
    EXPECT_EQ(NamenOhneGrossKlein({d}, "Kennung.flg")[0], QStringList());
    DateiSchreiben(d + "/KENNUNG.flg", "");
    EXPECT_EQ(NamenOhneGrossKlein({d}, "Kennung.flg")[0], QStringList({"KENNUNG.flg"}));
    ::umount2(qPrintable(d), MNT_DETACH);
  }
}

}  // namespace
