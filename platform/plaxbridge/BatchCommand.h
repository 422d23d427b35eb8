#pragma once

#include "ProgressReporter.h"

#include <QString>
#include <QStringList>

// `plaxbridge convert --out-dir DIR [--jobs N] [--report-dir RDIR] SOURCE...`:
// converts each SOURCE to DIR/<name>.KX9F, N at a time, each in a
// `plaxbridge convert` process of its own (and so with an editor of its
// own), and its reports to RDIR/<name>.html and RDIR/<name>.json. Ends with
// one line per setup on standard output, in the order given. With
// --progress=json the children's events form one stream on standard error,
// each tagged with its setup ("setup": SOURCE as given).
class BatchCommand {
public:
    struct Options {
        QStringList sources;
        QString outDir;
        QString reportDir;
        int jobs = 1;
        QString program;   // the plaxbridge to run for each setup
        bool verbose = false;
        ProgressReporter::Mode progress = ProgressReporter::Mode::Auto;
    };

    explicit BatchCommand(Options options);

    // 0 when every setup converted, 1 when any failed, 2 for sources whose
    // outputs would collide, 130 after SIGINT/SIGTERM.
    int run();

private:
    Options m_options;
};
