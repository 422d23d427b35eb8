// plaxbridge: our host application. It loads the KX9 plug-in (libqora.so)
// from its own directory and either runs IMixer calls line by line (shell)
// or converts an RQ10 setup into a KX9 console file (convert).
#include "BatchCommand.h"
#include "ConvertCommand.h"
#include "DiffCommand.h"
#include "InterruptGuard.h"
#include "LogFilter.h"
#include "ShellCommand.h"
#include "ShellSession.h"
#include "ShowCommand.h"

#include <QCoreApplication>
#include <QJsonObject>
#include <QStringList>

#include <cstdio>

namespace {

constexpr int ExitUsage = 2;

void printUsage(std::FILE* out)
{
    std::fputs(
        "usage: plaxbridge [-v] shell [--script FILE]\n"
        "       plaxbridge [-v] convert [--progress=auto|bar|lines|json|none] [--report FILE]... SOURCE OUTPUT.KX9F\n"
        "       plaxbridge [-v] convert [--progress=json] --out-dir DIR [--jobs N] [--report-dir DIR] SOURCE...\n"
        "       plaxbridge [-v] show FILE.KX9F [--scene N] [--html OUT.html | --json OUT.json]\n"
        "       plaxbridge [-v] diff A.KX9F B.KX9F [--html OUT.html | --json OUT.json]\n"
        "\n"
        "shell    reads one IMixer call per line from FILE or standard input, runs it on\n"
        "         the KX9 plug-in and prints one line per call:\n"
        "           OK                    the call has no result\n"
        "           = RESULT              integer, true/false, JSON string or JSON array\n"
        "           ! Class: message      the plug-in threw an exception\n"
        "           ? message             the line could not be run\n"
        "         Blank lines and lines starting with # are skipped. Arguments are\n"
        "         separated by blanks; write an empty argument or one with blanks in\n"
        "         double quotes, with \\\" and \\\\ inside.\n"
        "convert  converts the RQ10 setup SOURCE (JSON, see docs/rq10-setup-format.md)\n"
        "         into the KX9 console file OUTPUT.KX9F; progress on standard error,\n"
        "         the summary on standard output. --report writes what became of every\n"
        "         value: JSON for a .json name, an HTML page otherwise (may be given twice).\n"
        "         With --out-dir, converts each SOURCE to DIR/<name>.KX9F, N at a time,\n"
        "         each in a process of its own (and its reports to --report-dir).\n"
        "         --progress=json writes one JSON object per line and event on standard\n"
        "         error, for programs (with --out-dir, each tagged with its setup).\n"
        "show     reads the KX9 console file through the plug-in and shows its scenes\n"
        "         and, per scene, every channel strip (name, fader, on, pan, EQ and\n"
        "         dynamics) and the effect and plug-in racks: a table on standard output,\n"
        "         a page (--html) or JSON (--json). --scene N (the console's number, 2.50)\n"
        "         shows that scene only; without it the current memory comes first.\n"
        "diff     compares two KX9 console files value by value, both read through the\n"
        "         plug-in; exit status 0 when equal, 1 when they differ, 2 on an error.\n"
        "\n"
        "  -v, --verbose   show the plug-in's debug log on standard error\n"
        "  -h, --help      show this text and the shell's operations\n",
        out);
}

void printOperations(std::FILE* out)
{
    std::fputs("\nshell operations:\n", out);
    for (const std::string& line : ShellSession::usage())
        std::fprintf(out, "  %s\n", line.c_str());
}

QJsonObject summaryObject(const ConvertCommand::Summary& s)
{
    return {{QStringLiteral("scenes"), s.scenes},
            {QStringLiteral("parameters"), s.parameters},
            {QStringLiteral("converters"), static_cast<double>(s.converters)},
            {QStringLiteral("notInSource"), static_cast<double>(s.notInSource)},
            {QStringLiteral("failed"), static_cast<double>(s.failed)},
            {QStringLiteral("written"), static_cast<double>(s.written)},
            {QStringLiteral("landed"), static_cast<double>(s.landed)},
            {QStringLiteral("refused"), static_cast<double>(s.refused)},
            {QStringLiteral("noPlace"), static_cast<double>(s.noPlace)},
            {QStringLiteral("toEmptyUnits"), static_cast<double>(s.toEmptyUnits)},
            {QStringLiteral("leftAlone"), static_cast<double>(s.leftAlone)},
            {QStringLiteral("nameLists"), s.nameLists},
            {QStringLiteral("editorCommands"), static_cast<double>(s.editorCommands)},
            {QStringLiteral("seconds"), s.seconds}};
}

int usageError(const char* message)
{
    std::fprintf(stderr, "plaxbridge: %s\n", message);
    printUsage(stderr);
    return ExitUsage;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments().mid(1);

    bool verbose = false;
    QString command;
    QStringList rest;
    for (const QString& argument : arguments) {
        if (argument == QLatin1String("-v") || argument == QLatin1String("--verbose")) {
            verbose = true;
        } else if (argument == QLatin1String("-h") || argument == QLatin1String("--help")) {
            printUsage(stdout);
            printOperations(stdout);
            return 0;
        } else if (command.isEmpty() && !argument.startsWith(QLatin1Char('-'))) {
            command = argument;
        } else if (command.isEmpty()) {
            return usageError(qPrintable(QStringLiteral("unknown option %1").arg(argument)));
        } else {
            rest.append(argument);
        }
    }
    if (command.isEmpty())
        return usageError("no command given");

    LogFilter::install(verbose);
    InterruptGuard::install();
    const QString programDirectory = QCoreApplication::applicationDirPath();

    if (command == QLatin1String("shell")) {
        ShellCommand::Options options;
        options.programDirectory = programDirectory;
        for (int i = 0; i < rest.size(); ++i) {
            if (rest[i] == QLatin1String("--script") && i + 1 < rest.size() && options.script.isEmpty())
                options.script = rest[++i];
            else
                return usageError(qPrintable(QStringLiteral("shell: unexpected argument %1").arg(rest[i])));
        }
        return ShellCommand(options).run();
    }

    if (command == QLatin1String("convert")) {
        ConvertCommand::Options options;
        options.programDirectory = programDirectory;
        BatchCommand::Options batch;
        QStringList files;
        // Options with a value take it as "--name=VALUE" or as the next argument.
        for (int i = 0; i < rest.size(); ++i) {
            const QString argument = rest[i];
            QString name = argument;
            QString value;
            bool hasValue = false;
            const int eq = argument.indexOf(QLatin1Char('='));
            if (argument.startsWith(QLatin1String("--")) && eq > 0) {
                name = argument.left(eq);
                value = argument.mid(eq + 1);
                hasValue = true;
            }
            const auto takeValue = [&]() {
                if (!hasValue && i + 1 < rest.size()) {
                    value = rest[++i];
                    hasValue = true;
                }
                return hasValue && !value.isEmpty();
            };
            if (name == QLatin1String("--progress") && hasValue) {
                if (value == QLatin1String("auto"))
                    options.progress = ProgressReporter::Mode::Auto;
                else if (value == QLatin1String("bar"))
                    options.progress = ProgressReporter::Mode::Bar;
                else if (value == QLatin1String("lines"))
                    options.progress = ProgressReporter::Mode::Lines;
                else if (value == QLatin1String("json"))
                    options.progress = ProgressReporter::Mode::Json;
                else if (value == QLatin1String("none"))
                    options.progress = ProgressReporter::Mode::None;
                else
                    return usageError(qPrintable(QStringLiteral("convert: unknown progress mode %1").arg(value)));
            } else if (name == QLatin1String("--report")) {
                if (!takeValue())
                    return usageError("convert: --report needs a file");
                options.reports.append(value);
            } else if (name == QLatin1String("--out-dir")) {
                if (!takeValue())
                    return usageError("convert: --out-dir needs a folder");
                batch.outDir = value;
            } else if (name == QLatin1String("--report-dir")) {
                if (!takeValue())
                    return usageError("convert: --report-dir needs a folder");
                batch.reportDir = value;
            } else if (name == QLatin1String("--jobs")) {
                bool ok = false;
                batch.jobs = takeValue() ? value.toInt(&ok) : 0;
                if (!ok || batch.jobs < 1)
                    return usageError("convert: --jobs needs a number of at least 1");
            } else if (argument.startsWith(QLatin1String("--"))) {
                return usageError(qPrintable(QStringLiteral("convert: unknown option %1").arg(argument)));
            } else {
                files.append(argument);
            }
        }
        if (!batch.outDir.isEmpty()) {
            if (files.isEmpty())
                return usageError("convert --out-dir needs at least one SOURCE");
            if (!options.reports.isEmpty())
                return usageError("convert --out-dir takes --report-dir, not --report");
            batch.sources = files;
            batch.program = QCoreApplication::applicationFilePath();
            batch.verbose = verbose;
            batch.progress = options.progress;
            const int status = BatchCommand(batch).run();
            ProgressReporter(options.progress).end(status, QJsonObject());
            return status;
        }
        if (batch.jobs != 1 || !batch.reportDir.isEmpty())
            return usageError("convert: --jobs and --report-dir go with --out-dir");
        if (files.size() != 2)
            return usageError("convert needs SOURCE and OUTPUT.KX9F");
        options.source = files[0];
        options.output = files[1];
        ConvertCommand convert(options);
        const int status = convert.run();
        ProgressReporter(options.progress)
            .end(status, status == 0 ? summaryObject(convert.summary()) : QJsonObject());
        return status;
    }

    if (command == QLatin1String("show") || command == QLatin1String("diff")) {
        const bool show = command == QLatin1String("show");
        QStringList files;
        QString scene, html, json;
        for (int i = 0; i < rest.size(); ++i) {
            const QString argument = rest[i];
            QString* target = argument == QLatin1String("--html")    ? &html
                              : argument == QLatin1String("--json")  ? &json
                              : argument == QLatin1String("--scene") && show ? &scene
                                                                        : nullptr;
            if (target) {
                if (i + 1 >= rest.size() || rest[i + 1].isEmpty() || !target->isEmpty())
                    return usageError(qPrintable(QStringLiteral("%1: %2 needs one value").arg(command, argument)));
                *target = rest[++i];
            } else if (argument.startsWith(QLatin1String("--"))) {
                return usageError(qPrintable(QStringLiteral("%1: unknown option %2").arg(command, argument)));
            } else {
                files.append(argument);
            }
        }
        if (!html.isEmpty() && !json.isEmpty())
            return usageError(qPrintable(QStringLiteral("%1: give --html or --json, not both").arg(command)));
        if (show) {
            if (files.size() != 1)
                return usageError("show needs one FILE.KX9F");
            return ShowCommand({programDirectory, files[0], scene, html, json}).run();
        }
        if (files.size() != 2)
            return usageError("diff needs A.KX9F and B.KX9F");
        return DiffCommand({programDirectory, files[0], files[1], html, json}).run();
    }

    return usageError(qPrintable(QStringLiteral("unknown command %1").arg(command)));
}
