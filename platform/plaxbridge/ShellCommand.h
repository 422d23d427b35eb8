#pragma once

#include <QString>

// `plaxbridge shell [--script FILE]`: runs one IMixer call per line of the
// script (or standard input) on the KX9 plug-in and prints one result line
// per call, flushed at once.
class ShellCommand {
public:
    struct Options {
        QString script;             // empty: standard input
        QString programDirectory;   // where libqora.so, KX9.ini and KX9/ live
    };

    explicit ShellCommand(Options options);

    // Exit status: 0 at the end of the input, 1 when the plug-in or the
    // script cannot be opened, 130 when interrupted.
    int run();

private:
    Options m_options;
};
