#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

// Command line of qora-editor: the plug-in's arguments ("-mKX9C", "uid=",
// "work=", "port=", "appname=") and the editor's own options, which may also
// come from the environment variable QORA_EDITOR_OPTIONS.
class EditorOptions {
public:
    static const char* const EnvironmentVariable; // "QORA_EDITOR_OPTIONS"

    // Parses arguments (without the program name). Returns false with a
    // message for an unknown, malformed or repeated argument.
    bool parse(const QStringList& arguments, QString* error);
    // Whitespace-separated options from QORA_EDITOR_OPTIONS; none when unset.
    static QStringList environmentArguments();
    static QString usage();

    // Checks what a session needs: the model, uid, an existing work
    // directory, a port and the application name.
    bool checkSession(QString* error) const;

    bool help = false;
    QString writeDefault;

    QString model;
    QString uid;
    QString work;
    QString appname;
    int port = 0;

    QString logPath;
    QString initialFile;
    int delayMs = 0;
    int readyDelayMs = 0;
    bool noAnnounce = false;
    bool noReady = false;
    QStringList ngMatch;
    QStringList dropCmd;
    int closeAfter = 0;
    int exitAfter = 0;
    bool byteByByte = false;
    bool garbageBeforeReply = false;
    bool closeOnUsr1 = false;
    QList<QPair<QString, int>> forcedTypes;

private:
    QStringList seenKeys_;
};
