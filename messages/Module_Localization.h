#pragma once

#include "framework/Types.h"

// The system's message texts. Each is read through its own operation, which asks the framework
// for the translation stored under "Module_Localization." and the constant's name, and gets the
// Italian default back when there is none. Every caller passes the empty language.
namespace Quorvane::Module_Localization {

// "Il percorso per la cartella di DropBox è " (ends with a blank).
String DROPBOX_PATH(const String& language);
// "Errore imprevisto".
String ERROR(const String& language);
// "Impossibile trovare Dropbox".
String PATH_NOT_FOUND(const String& language);
// "Trascina la cartella da aggiungere sul Logo DropBox".
String START_MSGBOX(const String& language);
// "Impossibile trovare DropBox.".
String NOT_DROPBOX_PATH(const String& language);
// "Collegamento alla cartella creato correttamente in DropBox".
String DROPBOX_SUCCESS(const String& language);
// "Collegamento non creato".
String DROPBOX_FAIL(const String& language);
// "Puoi creare solo collegamenti a cartelle.".
String ONLY_FOLDERS(const String& language);
// "Cartella già esistente".
String DROPBOX_EXISTS(const String& language);

} // namespace Quorvane::Module_Localization
