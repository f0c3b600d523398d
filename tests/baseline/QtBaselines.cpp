#include "tests/baseline/QtBaselines.h"

#include <QByteArray>
#include <QMessageBox>
#include <QProcess>
#include <QStringList>
#include <QTimer>

#include <fcntl.h>
#include <stdexcept>
#include <unistd.h>

namespace Quorvane::Baseline {

void ShowAndCloseMessageBox(const std::string& text)
{
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Quorvane"), QString::fromStdString(text),
                    QMessageBox::Ok);
    box.setTextFormat(Qt::PlainText);
    QTimer::singleShot(0, &box, [&box] { box.done(QMessageBox::Ok); });
    box.exec();
}

namespace {

QStringList Strings(const std::vector<std::string>& texts)
{
    QStringList strings;
    strings.reserve(static_cast<qsizetype>(texts.size()));
    for (const std::string& text : texts)
        strings.append(QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size())));
    return strings;
}

} // namespace

size_t CaptureWithQProcess(const std::string& program, const std::vector<std::string>& arguments,
                           const std::vector<std::string>& environment, std::string* copy)
{
    QProcess process;
    process.setProgram(QString::fromStdString(program));
    process.setArguments(Strings(arguments));
    process.setEnvironment(Strings(environment));
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.setStandardInputFile(QProcess::nullDevice());
    // Runs in the child once QProcess has set up its standard descriptors, so the command line
    // finds the same descriptors and session as under the program's shell service.
    process.setChildProcessModifier([] {
        ::setsid();
        ::dup2(STDOUT_FILENO, 3);
        const int null = ::open("/dev/null", O_WRONLY);
        if (null >= 0) {
            ::dup2(null, STDERR_FILENO);
            ::close(null);
        }
    });
    process.start();
    if (!process.waitForFinished(-1))
        throw std::runtime_error("QProcess could not run " + program);
    const QByteArray printed = process.readAllStandardOutput();
    if (copy)
        copy->assign(printed.constData(), static_cast<size_t>(printed.size()));
    return static_cast<size_t>(printed.size());
}

} // namespace Quorvane::Baseline
