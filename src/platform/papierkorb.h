#pragma once
// The desktop trash as file managers keep it: a "files" folder with the moved file and an
// "info" folder with a .trashinfo that remembers where it came from and when, so the file
// manager can restore it. Files on the home file system go to $XDG_DATA_HOME/Trash; files on
// another mount to that mount's .Trash/<uid> (when an administrator prepared it) or
// .Trash-<uid>. Nothing is ever copied and deleted: a file either moves or stays where it is.
#include <QString>

namespace Plattform {

// Moves a file or folder to the trash. False, with a German reason, when it stays where it is.
bool InPapierkorb(const QString& pfad, QString* fehler = nullptr);

// The trash folder (holding "files" and "info") a path would go to, "" when there is none.
QString PapierkorbFuer(const QString& pfad);

}  // namespace Plattform
