#pragma once
// Qt's own texts (edit menus of text boxes, standard buttons, print, colour and file dialogs)
// in German, whatever the desktop's language.

namespace Plattform {

// Loads Qt's German translations into the running application and makes German the default
// locale for Qt's dialogs. False when the translation files are not installed (Qt's texts then
// stay English; the program's own texts are German either way).
bool DeutschLaden();

}  // namespace Plattform
