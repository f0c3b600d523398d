#include "tests/support/Support.h"

#include "framework/PluginEntrypoints.h"

#include <QCoreApplication>
#include <QEventLoop>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <linux/capability.h>
#include <stdexcept>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <locale.h>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace Quorvane::Testing {

namespace fs = std::filesystem;

TemporaryFolder::TemporaryFolder()
{
    String pattern = (fs::temp_directory_path() / "quorvane-test-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("mkdtemp failed");
    m_path = pattern;
}

TemporaryFolder::~TemporaryFolder()
{
    std::error_code ignored;
    // A test may leave a folder without write permission behind.
    fs::permissions(m_path, fs::perms::owner_all, fs::perm_options::add, ignored);
    for (auto it = fs::recursive_directory_iterator(m_path, ignored);
         it != fs::recursive_directory_iterator(); it.increment(ignored))
        if (!it->is_symlink(ignored) && it->is_directory(ignored))
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(m_path, ignored);
}

EnvironmentChange::EnvironmentChange(const Variables& variables)
{
    for (const auto& [name, value] : variables) {
        const char* previous = std::getenv(name.c_str());
        m_saved.emplace_back(name, previous ? std::optional<String>(previous) : std::nullopt);
        if (value)
            setenv(name.c_str(), value->c_str(), 1);
        else
            unsetenv(name.c_str());
    }
}

EnvironmentChange::~EnvironmentChange()
{
    for (auto it = m_saved.rbegin(); it != m_saved.rend(); ++it) {
        if (it->second)
            setenv(it->first.c_str(), it->second->c_str(), 1);
        else
            unsetenv(it->first.c_str());
    }
}

bool LocaleIsInstalled(const String& name)
{
    locale_t loaded = ::newlocale(LC_ALL_MASK, name.c_str(), nullptr);
    if (!loaded)
        return false;
    ::freelocale(loaded);
    return true;
}

TemporaryHome::TemporaryHome(const String& name)
    : m_home(m_folder.Path() / name),
      m_environment(EnvironmentChange::Variables{{"HOME", (m_folder.Path() / name).string()}})
{
    fs::create_directories(m_home);
}

TemporaryHome::~TemporaryHome() = default;

String TemporaryHome::MakeDropbox()
{
    fs::create_directory(m_home / "Dropbox");
    return Dropbox();
}

MessageBoxes::MessageBoxes()
    : m_previous(SetMessageBoxWatcher([this](const String& text) { m_texts.push_back(text); }))
{
}

MessageBoxes::~MessageBoxes()
{
    SetMessageBoxWatcher(std::move(m_previous));
}

namespace {

struct FakeState {
    std::optional<String> reply;
    std::optional<String> onlyFor;
    std::vector<String> commands;
    PluginEntrypoint real;
};

FakeState& Fake()
{
    static FakeState state;
    return state;
}

void FakeExecute(Shell::State& state, const String& command)
{
    FakeState& fake = Fake();
    fake.commands.push_back(command);
    if (fake.reply && (!fake.onlyFor || *fake.onlyFor == command))
        state.Result = *fake.reply;
    else
        fake.real.As<Shell::ExecuteOperation>()(state, command);
}

void InstallFake(std::optional<String> reply, std::optional<String> onlyFor)
{
    Fake() = {std::move(reply), std::move(onlyFor), {}, __plugin_entrypoints->Entry(ShellExecuteEntry)};
    __plugin_entrypoints->SetEntry(
        ShellExecuteEntry, PluginEntrypoint(PluginSignatures[ShellExecuteEntry], &FakeExecute));
}

} // namespace

FakeShell::FakeShell()
{
    InstallFake(std::nullopt, std::nullopt);
}

FakeShell::FakeShell(String reply, std::optional<String> onlyFor)
{
    InstallFake(std::move(reply), std::move(onlyFor));
}

FakeShell::~FakeShell()
{
    __plugin_entrypoints->SetEntry(ShellExecuteEntry, Fake().real);
}

void FakeShell::Reply(String reply)
{
    Fake().reply = std::move(reply);
}

const std::vector<String>& FakeShell::Commands() const
{
    return Fake().commands;
}

namespace {

String Escaped(const String& text)
{
    String out;
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += c;
        }
    }
    return out;
}

} // namespace

Catalogue::Catalogue(const String& language, const std::vector<Message>& messages)
{
    const fs::path folder = m_data.Path() / "quorvane" / "translations";
    fs::create_directories(folder);
    const fs::path source = folder / ("quorvane_" + language + ".ts");
    {
        std::ofstream ts(source);
        ts << "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<!DOCTYPE TS>\n"
           << "<TS version=\"2.1\" language=\"" << language << "\">\n";
        for (const Message& message : messages)
            ts << "<context><name>" << Escaped(message.context) << "</name><message><source>"
               << Escaped(message.source) << "</source><translation>"
               << Escaped(message.translation) << "</translation></message></context>\n";
        ts << "</TS>\n";
    }
    const String command = String(QUORVANE_LRELEASE) + " -silent '" + source.string() + "'";
    if (std::system(command.c_str()) != 0)
        throw std::runtime_error("lrelease failed: " + command);
    m_environment.emplace(EnvironmentChange::Variables{{"XDG_DATA_HOME", m_data.Path().string()},
                                                       {"LANGUAGE", std::nullopt},
                                                       {"LC_ALL", std::nullopt},
                                                       {"LC_MESSAGES", std::nullopt},
                                                       {"LANG", language + ".UTF-8"}});
}

Catalogue::~Catalogue() = default;

namespace {

// The user that the superuser counts as while the limit binds it.
constexpr uid_t Nobody = 65534;

// The capabilities of this process: two words of each set.
struct Capabilities {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[2]{};
};

Capabilities OwnCapabilities()
{
    Capabilities capabilities;
    if (::syscall(SYS_capget, &capabilities.header, capabilities.data) != 0)
        throw std::runtime_error(String("capget: ") + std::strerror(errno));
    return capabilities;
}

bool SetCapabilities(Capabilities capabilities)
{
    return ::syscall(SYS_capset, &capabilities.header, capabilities.data) == 0;
}

void WithoutEffective(Capabilities& capabilities, int capability)
{
    capabilities.data[capability / 32].effective &= ~(1u << (capability % 32));
}

} // namespace

struct ProcessLimitReached::Saved {
    rlimit limit{};
    bool superuser = false;
    Capabilities capabilities;
};

ProcessLimitReached::ProcessLimitReached() : m_saved(std::make_unique<Saved>())
{
    if (::getrlimit(RLIMIT_NPROC, &m_saved->limit) != 0)
        throw std::runtime_error("getrlimit failed");
    m_saved->superuser = ::geteuid() == 0;
    if (m_saved->superuser) {
        m_saved->capabilities = OwnCapabilities();
        // Counted as nobody, and no longer above the limits; the effective user stays, and with
        // it every file this process can reach.
        if (::setresuid(Nobody, 0, 0) != 0)
            throw std::runtime_error(String("setresuid: ") + std::strerror(errno));
        Capabilities bound = m_saved->capabilities;
        WithoutEffective(bound, CAP_SYS_RESOURCE);
        WithoutEffective(bound, CAP_SYS_ADMIN);
        if (!SetCapabilities(bound))
            throw std::runtime_error(String("capset: ") + std::strerror(errno));
    }
    const rlimit none{0, m_saved->limit.rlim_max};
    if (::setrlimit(RLIMIT_NPROC, &none) != 0)
        throw std::runtime_error("setrlimit failed");
}

ProcessLimitReached::~ProcessLimitReached()
{
    ::setrlimit(RLIMIT_NPROC, &m_saved->limit);
    if (m_saved->superuser) {
        // The tests must not go on as another user.
        if (!SetCapabilities(m_saved->capabilities) || ::setresuid(0, 0, 0) != 0)
            std::abort();
    }
}

String ProcessLimitReached::Message()
{
    return "Errore imprevisto\nThe shell could not run the command: /bin/bash: " +
           String(std::strerror(EAGAIN)) + ".";
}

void ProcessEvents()
{
    for (int round = 0; round < 3; ++round)
        QCoreApplication::processEvents(QEventLoop::AllEvents);
}

String ReadFile(const String& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

std::optional<String> LinkTarget(const String& path)
{
    std::error_code error;
    if (!fs::is_symlink(fs::symlink_status(path, error)))
        return std::nullopt;
    return fs::read_symlink(path, error).string();
}

} // namespace Quorvane::Testing
