#pragma once

#include <QString>

// `plaxbridge show FILE.KX9F [--scene N] [--html OUT | --json OUT]`: the
// scene list of a console file and, per scene, its channel strips and racks,
// read through the plug-in.
class ShowCommand {
public:
    struct Options {
        QString programDirectory;
        QString file;
        QString scene;        // the console's scene number ("2.50"); empty: the current memory and every scene
        QString html;         // write the page here instead of the text
        QString json;         // write JSON here instead of the text
    };

    explicit ShowCommand(Options options);

    // Exit status: 0 shown, 1 on an error (named on standard error), 130 when interrupted.
    int run();

    // "2.50", "2.5" or "2" -> 250; -1 when not a scene number.
    static int parseSceneNumber(const QString& text);
    // Writes the text to the file, false with a message in `error`.
    static bool writeFile(const QString& path, const QByteArray& content, QString& error);

private:
    Options m_options;
};
