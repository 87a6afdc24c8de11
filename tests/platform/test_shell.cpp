#include <gtest/gtest.h>

#include "platform/shell.h"

using Plattform::BefehlszeileZerlegen;

TEST(Befehlszeile, ZerlegenOhneShell) {
  struct Fall { QString zeile; QStringList teile; };
  const Fall faelle[] = {
      {"", {}},
      {"   ", {}},
      {"prog", {"prog"}},
      {"prog arg1 \"arg two\"", {"prog", "arg1", "arg two"}},
      {"  prog\targ  ", {"prog", "arg"}},
      {"\"C:\\Program Files\\Editor\\edit.exe\" /a", {"C:\\Program Files\\Editor\\edit.exe", "/a"}},
      {"prog \"\"", {"prog", ""}},
      {"a\"b c\"d e", {"ab cd", "e"}},
      {"prog \"offen bis zum ende", {"prog", "offen bis zum ende"}},
      // Nothing is expanded or interpreted: the text reaches the program as written.
      {"rm -rf $HOME; echo `id` | cat > x", {"rm", "-rf", "$HOME;", "echo", "`id`", "|", "cat", ">", "x"}},
      {"prog *.txt ~/x", {"prog", "*.txt", "~/x"}},
      {"prog \"Müller Straße\"", {"prog", "Müller Straße"}},
      // Only blanks, tabs and line breaks separate: a non-breaking space belongs to a name.
      {"prog a\u00A0b", {"prog", "a\u00A0b"}},
      {"prog\r\narg", {"prog", "arg"}},
  };
  for (const auto& f : faelle)
    EXPECT_EQ(BefehlszeileZerlegen(f.zeile), f.teile) << f.zeile.toStdString();
}
