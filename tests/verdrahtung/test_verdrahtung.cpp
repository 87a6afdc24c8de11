// The folders wired as the program wires them.
#include <QClipboard>
#include <QGuiApplication>
#include <gtest/gtest.h>

#include "foundation/dienste.h"
#include "notepad/qstring_ausgabe.h"
#include "support/fixture.h"
#include "verdrahtung.h"

namespace {

using Verdrahtung = Testhilfe::SkribonTest;

// Every service a lower folder calls is filled, the stand-ins of tests are not, and the editor's
// double-click is offered to the copy command before the links.
TEST_F(Verdrahtung, DiensteUndDoppelklick) {
  Verdrahten();
  const struct { const char* name; bool gefuellt, erwartet; } dienstTabelle[] = {
      {"versionsNummer", bool(dienste.versionsNummer), true},
      {"copyrightZeile", bool(dienste.copyrightZeile), true},
      {"statistikText", bool(dienste.statistikText), true},
      {"diagnoseBericht", bool(dienste.diagnoseBericht), true},
      {"versionsAlter", bool(dienste.versionsAlter), true},
      {"istEntwicklerPC", bool(dienste.istEntwicklerPC), true},
      {"schwesterprogrammStarten", bool(dienste.schwesterprogrammStarten), true},
      {"zeileMarkiert", bool(dienste.zeileMarkiert), true},
      {"fehlerberichtSenden", bool(dienste.fehlerberichtSenden), true},
      {"infoZeigen", bool(dienste.infoZeigen), true},
      {"farbeWaehlen", bool(dienste.farbeWaehlen), false},
      {"einstellungSpezial", bool(dienste.einstellungSpezial), false},
      {"ordnerWaehlen", bool(dienste.ordnerWaehlen), false},
      {"neustart", bool(dienste.neustart), false},
  };
  for (const auto& d : dienstTabelle) EXPECT_EQ(d.gefuellt, d.erwartet) << d.name;

  QClipboard* ablage = QGuiApplication::clipboard();
  const QString text = "$CpyZA:www.a.de\n  $cpyza:Stand {jjjj} www.b.de\nsiehe www.c.de\n\nende";
  const struct { int position; bool genommen; QString ablage; QStringList geoeffnet; } faelle[] = {
      {3, true, "www.a.de", {}},                 // a copy line, though its word is an address
      {40, true, "Stand 2026 www.b.de", {}},     // the marker in any case, after blanks
      {55, true, "vorher", {"https://www.c.de"}},  // any other word may be a link
      {62, false, "vorher", {}},                 // an empty line: no one's
  };
  for (const auto& f : faelle) {
    SCOPED_TRACE(f.position);
    ablage->setText("vorher");
    shell.geoeffnet.clear();
    EXPECT_EQ(dienste.doppelklick(text, f.position), f.genommen);
    EXPECT_EQ(ablage->text(), f.ablage);
    EXPECT_EQ(shell.geoeffnet, f.geoeffnet);
  }
}

}  // namespace
