#pragma once

// Fixtures shared by the tests: temporary folders and homes, the message boxes a test saw, and
// canned shell replies through the table of entry points.

#include "framework/MsgBox.h"
#include "framework/Types.h"
#include "linking/Shell.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

namespace Quorvane::Testing {

// The texts of the message boxes, with their Italian defaults.
namespace Shown {
inline const String Success = "Collegamento alla cartella creato correttamente in DropBox";
inline const String Exists = "Cartella gi\xC3\xA0 esistente";
inline const String OnlyFolders = "Puoi creare solo collegamenti a cartelle.";
inline const String Error = "Errore imprevisto";
inline const String EmptyDiscovery = "Errore imprevisto\nImpossibile trovare DropBox.";
inline const String EmptyClick = "Errore imprevisto\nImpossibile trovare Dropbox";
inline const String PathMessage = "Il percorso per la cartella di DropBox \xC3\xA8  ";
inline const String Start = "Trascina la cartella da aggiungere sul Logo DropBox";
} // namespace Shown

// A fresh folder that is removed, with everything in it, at the end of the test.
class TemporaryFolder {
public:
    TemporaryFolder();
    ~TemporaryFolder();
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    // The path of an entry inside the folder, as text.
    String operator/(const String& name) const { return (m_path / name).string(); }

private:
    std::filesystem::path m_path;
};

// Sets and unsets environment variables for the length of the test; nothing as a value unsets
// the variable. Everything comes back as it was at the end.
class EnvironmentChange {
public:
    using Variables = std::vector<std::pair<String, std::optional<String>>>;
    explicit EnvironmentChange(const Variables& variables);
    ~EnvironmentChange();
    EnvironmentChange(const EnvironmentChange&) = delete;
    EnvironmentChange& operator=(const EnvironmentChange&) = delete;

private:
    Variables m_saved;
};

// True when the C library can load the named locale; the tests' locales come from
// scripts/setup-debian.
bool LocaleIsInstalled(const String& name);

// Points HOME at a fresh temporary folder for the length of the test; the folder may get a
// Dropbox folder of its own.
class TemporaryHome {
public:
    // The home's path may be given a name of its own inside the temporary folder.
    explicit TemporaryHome(const String& name = "home");
    ~TemporaryHome();
    TemporaryHome(const TemporaryHome&) = delete;
    TemporaryHome& operator=(const TemporaryHome&) = delete;

    String Path() const { return m_home.string(); }
    // Makes ~/Dropbox and returns its path.
    String MakeDropbox();
    // The path ~/Dropbox, whether it exists or not.
    String Dropbox() const { return (m_home / "Dropbox").string(); }
    // The folder beside the home, for folders to drop.
    const TemporaryFolder& Outside() const { return m_outside; }

private:
    TemporaryFolder m_folder;
    TemporaryFolder m_outside;
    std::filesystem::path m_home;
    EnvironmentChange m_environment;
};

// Sees and dismisses every message box for the length of the test, keeping their texts in order.
class MessageBoxes {
public:
    MessageBoxes();
    ~MessageBoxes();
    MessageBoxes(const MessageBoxes&) = delete;
    MessageBoxes& operator=(const MessageBoxes&) = delete;

    const std::vector<String>& Texts() const { return m_texts; }
    void Clear() { m_texts.clear(); }

private:
    std::vector<String> m_texts;
    MessageBoxWatcher m_previous;
};

// Stands at the shell's Execute entry for the length of the test: keeps every command line it is
// given and hands it to the real shell, or answers it with a canned reply as no real shell would.
// The real entry comes back at the end of the test.
class FakeShell {
public:
    // Keeps the commands and lets every one reach the real shell.
    FakeShell();
    // Answers every command with the reply without running it; given onlyFor, answers that command
    // line alone and hands every other one to the real shell.
    explicit FakeShell(String reply, std::optional<String> onlyFor = std::nullopt);
    ~FakeShell();
    FakeShell(const FakeShell&) = delete;
    FakeShell& operator=(const FakeShell&) = delete;

    // The reply for the next commands that are answered.
    void Reply(String reply);
    // Every command line given so far, in order.
    const std::vector<String>& Commands() const;
};

// Supplies a Qt translation catalogue from outside the program for the length of the test: made
// with lrelease in a temporary XDG data folder, and chosen through the locale environment.
class Catalogue {
public:
    struct Message {
        String context;
        String source;
        String translation;
    };
    Catalogue(const String& language, const std::vector<Message>& messages);
    ~Catalogue();
    // The XDG data folder that holds the catalogue.
    const std::filesystem::path& DataFolder() const { return m_data.Path(); }
    Catalogue(const Catalogue&) = delete;
    Catalogue& operator=(const Catalogue&) = delete;

private:
    TemporaryFolder m_data;
    std::optional<EnvironmentChange> m_environment;
};

// Keeps this process from starting any other for the length of the test, as a user who has
// reached the limit of processes is kept: the start fails with EAGAIN. The superuser, whom the
// limit does not bind, counts as the user nobody without the power over limits meanwhile, and
// keeps every other power: files are reached as before.
class ProcessLimitReached {
public:
    ProcessLimitReached();
    ~ProcessLimitReached();
    ProcessLimitReached(const ProcessLimitReached&) = delete;
    ProcessLimitReached& operator=(const ProcessLimitReached&) = delete;

    // The message a handler shows when the shell could not be started for the limit.
    static String Message();

private:
    struct Saved;
    std::unique_ptr<Saved> m_saved;
};

// Runs the Qt events that are waiting, queued drops included.
void ProcessEvents();

// Reads a whole file.
String ReadFile(const String& path);

// The entry's symbolic-link target, or nothing when it is not a link.
std::optional<String> LinkTarget(const String& path);

} // namespace Quorvane::Testing
