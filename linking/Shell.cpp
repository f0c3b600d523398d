#include "linking/Shell.h"

#include "framework/PluginEntrypoints.h"

namespace Quorvane {

Shell::Shell()
{
    auto* init = PluginOperation<InitOperation>(ShellInitEntry);
    // Looked up now, so that a missing exit operation is reported here and never at the end.
    m_exit = PluginOperation<ExitOperation>(ShellExitEntry);
    init(m_state);
}

void Shell::__Exit() noexcept
{
    m_exit(m_state);
    Object::__Exit();
}

void Shell::Mode(Int32 mode)
{
    PluginOperation<ModeSetOperation>(ShellModeSetEntry)(m_state, mode);
}

void Shell::Execute(const String& command)
{
    PluginOperation<ExecuteOperation>(ShellExecuteEntry)(m_state, command);
}

const String& Shell::Result() const
{
    return PluginOperation<ResultGetOperation>(ShellResultGetEntry)(m_state);
}

Ref<Shell> RunInNewShell(const String& command)
{
    Ref<Shell> shell = RuntimeNewObject<Shell>();
    shell->Mode(0);
    shell->Execute(command);
    return shell;
}

} // namespace Quorvane
