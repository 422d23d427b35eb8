#pragma once

#include <QString>

// `plaxbridge diff A.KX9F B.KX9F [--html OUT | --json OUT]`: every value that
// differs between two console files, both read through the plug-in in one
// session, and the scenes only one of them holds.
class DiffCommand {
public:
    struct Options {
        QString programDirectory;
        QString a;
        QString b;
        QString html;
        QString json;
    };

    explicit DiffCommand(Options options);

    // Exit status, as diff's: 0 equal, 1 different, 2 on an error (named on
    // standard error); 130 when interrupted.
    int run();

private:
    Options m_options;
};
