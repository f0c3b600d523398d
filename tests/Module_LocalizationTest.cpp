#include "messages/Module_Localization.h"

#include "tests/support/Support.h"
#include "tests/support/TestWindow.h"

#include <filesystem>

#include <gtest/gtest.h>

#include <cstdlib>

namespace Quorvane {
namespace {

using Testing::Catalogue;

struct Constant {
    const char* name;
    String (*read)(const String&);
    String text;
};

const Constant Constants[] = {
    {"DROPBOX_PATH", &Module_Localization::DROPBOX_PATH, "Il percorso per la cartella di DropBox \xC3\xA8 "},
    {"ERROR", &Module_Localization::ERROR, "Errore imprevisto"},
    {"PATH_NOT_FOUND", &Module_Localization::PATH_NOT_FOUND, "Impossibile trovare Dropbox"},
    {"START_MSGBOX", &Module_Localization::START_MSGBOX, "Trascina la cartella da aggiungere sul Logo DropBox"},
    {"NOT_DROPBOX_PATH", &Module_Localization::NOT_DROPBOX_PATH, "Impossibile trovare DropBox."},
    {"DROPBOX_SUCCESS", &Module_Localization::DROPBOX_SUCCESS, "Collegamento alla cartella creato correttamente in DropBox"},
    {"DROPBOX_FAIL", &Module_Localization::DROPBOX_FAIL, "Collegamento non creato"},
    {"ONLY_FOLDERS", &Module_Localization::ONLY_FOLDERS, "Puoi creare solo collegamenti a cartelle."},
    {"DROPBOX_EXISTS", &Module_Localization::DROPBOX_EXISTS, "Cartella gi\xC3\xA0 esistente"},
};

TEST(Module_Localization, WithoutACatalogueEveryConstantReadsItsDefaultByteForByte)
{
    for (const char* locale : {"C", "it_IT.UTF-8", ""}) {
        Testing::EnvironmentChange change(Testing::EnvironmentChange::Variables{{"LANG", locale}});
        for (const Constant& constant : Constants)
            EXPECT_EQ(constant.read(""), constant.text) << constant.name << " in " << locale;
    }
    EXPECT_EQ(Module_Localization::DROPBOX_PATH("").size(), 42u);
    EXPECT_EQ(Module_Localization::DROPBOX_EXISTS("").size(), 23u);
    EXPECT_NE(Module_Localization::PATH_NOT_FOUND(""), Module_Localization::NOT_DROPBOX_PATH(""));
}

TEST(Module_Localization, ACatalogueForTheUsersLanguageTranslatesEachKey)
{
    std::vector<Catalogue::Message> messages;
    for (const Constant& constant : Constants)
        messages.push_back({"Module_Localization", constant.name, String("EN ") + constant.name});
    Catalogue english("en_GB", messages);
    for (const Constant& constant : Constants)
        EXPECT_EQ(constant.read(""), String("EN ") + constant.name);
}

TEST(Module_Localization, TheLanguageReachesTheLookupUnchanged)
{
    Catalogue german("de", {{"Module_Localization", "ERROR", "Unerwarteter Fehler"}});
    setenv("LANG", "C", 1); // the user's locale wants no translation
    EXPECT_EQ(Module_Localization::ERROR(""), "Errore imprevisto");
    EXPECT_EQ(Module_Localization::ERROR("de"), "Unerwarteter Fehler");
    EXPECT_EQ(Module_Localization::ONLY_FOLDERS("de"), "Puoi creare solo collegamenti a cartelle.");
}

TEST(Module_Localization, LanguageListsAndRegionalFallbacksAreHonoured)
{
    Catalogue french("fr", {{"Module_Localization", "ERROR", "Erreur inattendue"}});
    setenv("LANG", "fr_CA.UTF-8", 1);
    EXPECT_EQ(Module_Localization::ERROR(""), "Erreur inattendue");
    setenv("LANG", "it_IT.UTF-8", 1);
    setenv("LANGUAGE", "xx:fr", 1);
    EXPECT_EQ(Module_Localization::ERROR(""), "Erreur inattendue");
}

TEST(Module_Localization, CataloguesAreFoundInThePersonalAndTheSharedDataFolders)
{
    Catalogue german("de", {{"Module_Localization", "ERROR", "Unerwarteter Fehler"}});
    EXPECT_EQ(Module_Localization::ERROR(""), "Unerwarteter Fehler"); // XDG_DATA_HOME

    Testing::TemporaryHome home;
    Testing::EnvironmentChange shared(Testing::EnvironmentChange::Variables{
        {"XDG_DATA_HOME", std::nullopt},
        {"XDG_DATA_DIRS", "/nowhere/share:" + german.DataFolder().string()}});
    EXPECT_EQ(Module_Localization::ERROR(""), "Unerwarteter Fehler");

    // A relative folder in the list is no folder of the user's: the list is read as the XDG
    // rules say, so nothing is found there.
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(german.DataFolder().parent_path());
    Testing::EnvironmentChange relative(Testing::EnvironmentChange::Variables{
        {"XDG_DATA_DIRS", german.DataFolder().filename().string()}});
    EXPECT_EQ(Module_Localization::ERROR(""), "Errore imprevisto");
    std::filesystem::current_path(previous);
}

TEST(Module_Localization, ATranslationOfTheErrorChangesEveryMessageThatBeginsWithIt)
{
    Catalogue english("en_GB", {{"Module_Localization", "ERROR", "Unexpected error"}});
    Testing::TemporaryHome home("odd:home");
    const String folder = home.Outside() / "Projects";
    std::filesystem::create_directory(folder);
    Testing::MessageBoxes boxes;
    auto window = Testing::BareWindow();
    {
        Testing::FakeShell shell("");
        window->ReadDropBoxDefaultFolder();
        window->DropBoxFolder = FolderItem::New("/missing/Dropbox", 1);
        window->Canvas1_MouseDown(nullptr, 0, 0);
    }
    window->CreateSimLink(FolderItem::New(folder, 1));
    window->Canvas1_DropObject(nullptr, DragItem::New({{true, folder}}), 0);
    EXPECT_EQ(boxes.Texts(),
              (std::vector<String>{
                  "Unexpected error\nImpossibile trovare DropBox.",
                  "Unexpected error\nImpossibile trovare Dropbox",
                  "Unexpected error\nln: failed to create symbolic link '/missing/Dropbox/Projects': "
                  "No such file or directory\n",
                  "Unexpected error"}));
}

} // namespace
} // namespace Quorvane
