#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <ostream>
#include <string>

// Runs the built host program ($QORA_BIN_DIR/plaxbridge) as a child process.
class PlaxbridgeProcess {
public:
    struct Result {
        int exitCode = -1;   // -1: crashed or killed after the time limit
        QString out;
        QString err;

        QStringList outLines() const;
        // The exit code, standard output and the end of standard error, for
        // failure messages.
        std::string show() const;
    };

    static QString binDir() { return qEnvironmentVariable("QORA_BIN_DIR"); }
    // Runs the plaxbridge in `directory` from now on (empty: binDir()).
    static void setProgramDirectory(const QString& directory);

    // Runs with the arguments, feeding `input` to standard input and closing
    // it; `environment` adds "NAME=VALUE" entries to the inherited environment.
    static Result run(const QStringList& arguments, const QByteArray& input = QByteArray(),
                      int timeoutMs = 600000, const QStringList& environment = QStringList());
    // `plaxbridge shell` with the lines on standard input.
    static Result shell(const QStringList& lines);

    // Starts without waiting; standard input stays open.
    static void start(QProcess& process, const QStringList& arguments,
                      const QStringList& environment = QStringList());
    static Result finish(QProcess& process, int timeoutMs = 600000);
};

// The names in a folder, hidden ones included.
QStringList entries(const QString& path);
QString writeFile(const QString& path, const QByteArray& content);

// Readable QString values in test failure messages.
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

// Runs the calls (first of each pair) in one `plaxbridge shell` session and
// expects one line per call (the second; one ending in "..." is a prefix).
void expectShell(const QList<QPair<QString, QString>>& rows);
