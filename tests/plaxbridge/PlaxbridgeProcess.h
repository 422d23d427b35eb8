#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <ostream>

// Runs the built host program ($QORA_BIN_DIR/plaxbridge) as a child process.
class PlaxbridgeProcess {
public:
    struct Result {
        bool finished = false;   // false: killed after the time limit
        bool crashed = false;
        int exitCode = -1;
        QString out;
        QString err;

        QStringList outLines() const;
    };

    static QString binDir();
    static QString program();
    // Runs the plaxbridge in `directory` from now on (empty: binDir()).
    static void setProgramDirectory(const QString& directory);

    // Runs with the arguments, feeding `input` to standard input and closing
    // it; `environment` adds "NAME=VALUE" entries to the inherited environment.
    static Result run(const QStringList& arguments, const QByteArray& input = QByteArray(),
                      int timeoutMs = 300000, const QStringList& environment = QStringList());
    // `plaxbridge shell` with the lines on standard input.
    static Result shell(const QStringList& lines, int timeoutMs = 300000);

    // Starts without waiting; standard input stays open.
    static void start(QProcess& process, const QStringList& arguments,
                      const QStringList& environment = QStringList());
    static Result finish(QProcess& process, int timeoutMs);
};

// Readable QString values in test failure messages.
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}
