#pragma once

// The benchmark's baselines that need Qt, behind a header free of Qt: the least Qt code that shows
// and closes one message box, and the least that runs a command through QProcess.

#include <cstddef>
#include <string>
#include <vector>

namespace Quorvane::Baseline {

// Shows one modal message box with the text and closes it as soon as its own event loop runs;
// needs a running QApplication.
void ShowAndCloseMessageBox(const std::string& text);

// Runs the program with the arguments and environment through QProcess, in a session of its own,
// its standard input from /dev/null, its standard output and error merged into one channel and
// also on descriptor 3, and its standard error /dev/null until it makes its own; keeps everything
// it printed until the end and returns how much that was, and a copy of it when asked. Needs a
// QCoreApplication.
size_t CaptureWithQProcess(const std::string& program, const std::vector<std::string>& arguments,
                           const std::vector<std::string>& environment, std::string* copy = nullptr);

} // namespace Quorvane::Baseline
