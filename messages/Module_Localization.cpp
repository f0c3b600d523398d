#include "messages/Module_Localization.h"

#include "framework/Localization.h"

namespace Quorvane::Module_Localization {

namespace {

String Read(const char* key, const char* defaultText, const String& language)
{
    return System()->_GetLocalizedString(key, defaultText, language);
}

} // namespace

String DROPBOX_PATH(const String& language)
{
    return Read("Module_Localization.DROPBOX_PATH", "Il percorso per la cartella di DropBox \xC3\xA8 ",
                language);
}

String ERROR(const String& language)
{
    return Read("Module_Localization.ERROR", "Errore imprevisto", language);
}

String PATH_NOT_FOUND(const String& language)
{
    return Read("Module_Localization.PATH_NOT_FOUND", "Impossibile trovare Dropbox", language);
}

String START_MSGBOX(const String& language)
{
    return Read("Module_Localization.START_MSGBOX",
                "Trascina la cartella da aggiungere sul Logo DropBox", language);
}

String NOT_DROPBOX_PATH(const String& language)
{
    return Read("Module_Localization.NOT_DROPBOX_PATH", "Impossibile trovare DropBox.", language);
}

String DROPBOX_SUCCESS(const String& language)
{
    return Read("Module_Localization.DROPBOX_SUCCESS",
                "Collegamento alla cartella creato correttamente in DropBox", language);
}

String DROPBOX_FAIL(const String& language)
{
    return Read("Module_Localization.DROPBOX_FAIL", "Collegamento non creato", language);
}

String ONLY_FOLDERS(const String& language)
{
    return Read("Module_Localization.ONLY_FOLDERS", "Puoi creare solo collegamenti a cartelle.",
                language);
}

String DROPBOX_EXISTS(const String& language)
{
    return Read("Module_Localization.DROPBOX_EXISTS", "Cartella gi\xC3\xA0 esistente", language);
}

} // namespace Quorvane::Module_Localization
