#include "ShellCommand.h"

#include "LineSource.h"
#include "PluginModule.h"
#include "ShellFormatter.h"
#include "ShellLineParser.h"
#include "ShellSession.h"
#include "host/IMixer.h"

#include <QFile>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

namespace {

void printLine(const std::string& text)
{
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

} // namespace

ShellCommand::ShellCommand(Options options)
    : m_options(std::move(options))
{
}

int ShellCommand::run()
{
    int fd = STDIN_FILENO;
    if (!m_options.script.isEmpty()) {
        fd = ::open(QFile::encodeName(m_options.script).constData(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) {
            std::fprintf(stderr, "plaxbridge shell: cannot read the script %s: %s\n",
                         m_options.script.toLocal8Bit().constData(), std::strerror(errno));
            return 1;
        }
    }

    PluginModule module(m_options.programDirectory);
    QString error;
    IMixer* mixer = module.create(error);
    if (!mixer) {
        std::fprintf(stderr, "plaxbridge shell: %s\n", error.toLocal8Bit().constData());
        if (fd != STDIN_FILENO)
            ::close(fd);
        return 1;
    }

    ShellSession session(mixer);
    LineSource lines(fd);
    std::string line;
    int status = 0;
    for (;;) {
        const LineSource::Status read = lines.next(line);
        if (read == LineSource::Status::End)
            break;
        if (read == LineSource::Status::Interrupted) {
            status = 130;
            break;
        }
        if (read == LineSource::Status::Failed) {
            std::fprintf(stderr, "plaxbridge shell: reading the input failed: %s\n",
                         std::strerror(errno));
            status = 1;
            break;
        }
        const ShellLineParser::Result parsed = ShellLineParser::parse(line);
        if (parsed.kind == ShellLineParser::Kind::Skip)
            continue;
        if (parsed.kind == ShellLineParser::Kind::Error)
            printLine(ShellFormatter::problem(parsed.error));
        else
            printLine(session.execute(parsed.arguments));
    }
    mixer->Destroy();
    if (fd != STDIN_FILENO)
        ::close(fd);
    return status;
}
