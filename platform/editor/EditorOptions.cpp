#include "EditorOptions.h"


#include <QFileInfo>
#include <QRegularExpression>

const char* const EditorOptions::EnvironmentVariable = "QORA_EDITOR_OPTIONS";

namespace {

bool parseCount(const QString& text, int min, int* out)
{
    bool ok = false;
    const int v = text.toInt(&ok);
    if (!ok || v < min)
        return false;
    *out = v;
    return true;
}

} // namespace

QStringList EditorOptions::environmentArguments()
{
    const QString value = qEnvironmentVariable(EnvironmentVariable);
    return value.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
}

QString EditorOptions::usage()
{
    return QStringLiteral(
        "Usage: qora-editor -mKX9C uid=<id> work=<dir> port=<port> appname=<name> [options]\n"
        "       qora-editor --write-default <file>\n"
        "       qora-editor --help\n"
        "\n"
        "Stand-in for the KX9 console editor. Connects to 127.0.0.1:<port>, announces\n"
        "itself with <id>, reports \"MMS Readied\" and answers the plug-in's commands until\n"
        "the connection closes. Relative file paths are taken relative to <dir>.\n"
        "\n"
        "Options (also read from the environment variable QORA_EDITOR_OPTIONS,\n"
        "whitespace-separated, after the command line; no quoting there):\n"
        "  --log FILE, --log=FILE      append every received message as one JSON line\n"
        "  --initial=FILE              load this console file before connecting\n"
        "  --write-default FILE        write the default console file and exit\n"
        "Fault injection (the plug-in never passes these):\n"
        "  --delay-ms=N                answer every request N ms late\n"
        "  --ready-delay-ms=N          send \"MMS Readied\" N ms after connecting\n"
        "  --no-announce               never send \"connected\"\n"
        "  --no-ready                  never send \"MMS Readied\"\n"
        "  --ng-match=TEXT             answer \"ng\" to requests whose JSON contains TEXT\n"
        "  --drop-cmd=CMD              never answer requests of command CMD\n"
        "  --close-after=N             close the connection after the N-th final reply\n"
        "  --exit-after=N              exit at once (code 3) on receiving the N-th request\n"
        "  --close-on-usr1             close the connection on SIGUSR1\n"
        "  --byte-by-byte              write every message one byte at a time (~1 ms/byte)\n"
        "  --garbage-before-reply      write a line that is not JSON before every reply\n"
        "  --force-type=CODE:TEXT      report value type CODE for reads of addresses\n"
        "                              containing TEXT\n"
        "--ng-match, --drop-cmd and --force-type may be repeated.\n"
        "\n"
        "Exit codes: 0 connection closed, 1 bad arguments or files, 2 no connection,\n"
        "3 --exit-after.\n");
}

bool EditorOptions::parse(const QStringList& arguments, QString* error)
{
    for (int i = 0; i < arguments.size(); ++i) {
        const QString arg = arguments.at(i);
        QString name = arg;
        QString value;
        bool hasValue = false;
        if (arg.startsWith(QLatin1String("--"))) {
            const int eq = arg.indexOf(QLatin1Char('='));
            if (eq >= 0) {
                name = arg.left(eq);
                value = arg.mid(eq + 1);
                hasValue = true;
            }
        }
        // Options that take their value as the next argument as well.
        auto takeValue = [&]() -> bool {
            if (hasValue)
                return !value.isEmpty();
            if (i + 1 >= arguments.size())
                return false;
            value = arguments.at(++i);
            return !value.isEmpty();
        };
        auto needValue = [&]() -> bool {
            if (!hasValue || value.isEmpty()) {
                *error = QStringLiteral("%1 needs a value").arg(name);
                return false;
            }
            return true;
        };

        if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            help = true;
        } else if (arg.startsWith(QLatin1String("-m"))) {
            if (arg != QLatin1String("-mKX9C")) {
                *error = QStringLiteral("unsupported console model \"%1\" (only -mKX9C)").arg(arg.mid(2));
                return false;
            }
            model = arg.mid(2);
        } else if (name == QLatin1String("--log")) {
            if (!takeValue()) {
                *error = QStringLiteral("--log needs a file");
                return false;
            }
            logPath = value;
        } else if (name == QLatin1String("--write-default")) {
            if (!takeValue()) {
                *error = QStringLiteral("--write-default needs a file");
                return false;
            }
            writeDefault = value;
        } else if (name == QLatin1String("--initial")) {
            if (!takeValue()) {
                *error = QStringLiteral("--initial needs a file");
                return false;
            }
            initialFile = value;
        } else if (name == QLatin1String("--delay-ms") || name == QLatin1String("--ready-delay-ms")
                   || name == QLatin1String("--close-after") || name == QLatin1String("--exit-after")) {
            if (!needValue())
                return false;
            const bool isCount = name == QLatin1String("--close-after") || name == QLatin1String("--exit-after");
            int n = 0;
            if (!parseCount(value, isCount ? 1 : 0, &n)) {
                *error = QStringLiteral("%1 needs a number%2, got \"%3\"")
                             .arg(name, QLatin1String(isCount ? " of at least 1" : " of at least 0"), value);
                return false;
            }
            if (name == QLatin1String("--delay-ms"))
                delayMs = n;
            else if (name == QLatin1String("--ready-delay-ms"))
                readyDelayMs = n;
            else if (name == QLatin1String("--close-after"))
                closeAfter = n;
            else
                exitAfter = n;
        } else if (name == QLatin1String("--ng-match")) {
            if (!needValue())
                return false;
            ngMatch.append(value);
        } else if (name == QLatin1String("--drop-cmd")) {
            if (!needValue())
                return false;
            dropCmd.append(value);
        } else if (name == QLatin1String("--force-type")) {
            if (!needValue())
                return false;
            const int colon = value.indexOf(QLatin1Char(':'));
            bool ok = false;
            const int code = colon > 0 ? value.left(colon).toInt(&ok) : 0;
            if (!ok || colon + 1 >= value.size()) {
                *error = QStringLiteral("--force-type needs CODE:TEXT, got \"%1\"").arg(value);
                return false;
            }
            forcedTypes.append(qMakePair(value.mid(colon + 1), code));
        } else if (!hasValue && arg == QLatin1String("--no-announce")) {
            noAnnounce = true;
        } else if (!hasValue && arg == QLatin1String("--no-ready")) {
            noReady = true;
        } else if (!hasValue && arg == QLatin1String("--byte-by-byte")) {
            byteByByte = true;
        } else if (!hasValue && arg == QLatin1String("--garbage-before-reply")) {
            garbageBeforeReply = true;
        } else if (!hasValue && arg == QLatin1String("--close-on-usr1")) {
            closeOnUsr1 = true;
        } else if (!arg.startsWith(QLatin1Char('-')) && arg.contains(QLatin1Char('='))) {
            const int eq = arg.indexOf(QLatin1Char('='));
            const QString key = arg.left(eq);
            const QString v = arg.mid(eq + 1);
            if (key != QLatin1String("uid") && key != QLatin1String("work")
                && key != QLatin1String("port") && key != QLatin1String("appname")) {
                *error = QStringLiteral("unknown argument \"%1\"").arg(arg);
                return false;
            }
            if (seenKeys_.contains(key)) {
                *error = QStringLiteral("%1= given twice").arg(key);
                return false;
            }
            seenKeys_.append(key);
            if (key == QLatin1String("uid")) {
                uid = v;
            } else if (key == QLatin1String("work")) {
                work = v;
            } else if (key == QLatin1String("appname")) {
                appname = v;
            } else {
                bool ok = false;
                const int p = v.toInt(&ok);
                if (!ok || p < 1 || p > 65535) {
                    *error = QStringLiteral("port must be 1..65535, got \"%1\"").arg(v);
                    return false;
                }
                port = p;
            }
        } else {
            *error = QStringLiteral("unknown argument \"%1\"").arg(arg);
            return false;
        }
    }
    return true;
}

bool EditorOptions::checkSession(QString* error) const
{
    if (model.isEmpty()) {
        *error = QStringLiteral("missing -mKX9C");
        return false;
    }
    if (uid.isEmpty()) {
        *error = QStringLiteral("missing uid=<id>");
        return false;
    }
    if (work.isEmpty() || !QFileInfo(work).isDir()) {
        *error = work.isEmpty() ? QStringLiteral("missing work=<dir>")
                                : QStringLiteral("work directory \"%1\" does not exist").arg(work);
        return false;
    }
    if (port == 0) {
        *error = QStringLiteral("missing port=<port>");
        return false;
    }
    if (appname.isEmpty()) {
        *error = QStringLiteral("missing appname=<name>");
        return false;
    }
    return true;
}
