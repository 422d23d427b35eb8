// Measures, in one run and side by side, what a conversion waits for: the
// loopback floor, one editor round trip through the plug-in, block reads and
// batched writes, the long operations, and a whole sample conversion.
//
//   qora_bench [--runs N] [--polling | --both] [--sample FILE] [--skip-convert]
//
// --polling runs every case with the 1 ms sleep-and-poll wait, --both runs
// both waits and prints them in two columns.
#include "BenchDescription.h"
#include "BenchStats.h"
#include "LoopbackEcho.h"

#include "host/IMixer.h"
#include "host/IParameter.h"
#include "mixer/QORA.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStringList>

#include <sys/resource.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace {

struct Row
{
    std::string name;
    std::string unit;   // what one sample is
    std::map<std::string, BenchStats> byMode;
    std::map<std::string, std::string> extra;
};

std::vector<Row> rows;

Row& row(const std::string& name, const std::string& unit)
{
    for (Row& r : rows)
        if (r.name == name)
            return r;
    rows.push_back(Row{name, unit, {}, {}});
    return rows.back();
}

double micros(const QElapsedTimer& timer)
{
    return double(timer.nsecsElapsed()) / 1000.0;
}

void quietLogs(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type >= QtCriticalMsg)
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

// Each case runs `runs` times; one sample per run (or per call for the
// single-call cases, which repeat inside a run).
void measureMixer(const std::string& mode, int runs)
{
    qputenv("QORA_LINK_TIMINGS", mode == "polling" ? "pollingWait=1" : "pollingWait=0");

    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        IMixer* mixer = QORA::create();
        row("start-up: create until ready", "per create").byMode[mode].add(micros(timer));
        if (!mixer) {
            std::fprintf(stderr, "create() failed\n");
            std::exit(1);
        }

        IParameter* weight = mixer->CreateParameter("/Mixing/DuganAutomixer/Channel/Weight/MMS");
        IParameter* level = mixer->CreateParameter("/Mixing/InputChannel/Fader/Level/MMS");
        IParameter* on = mixer->CreateParameter("/Mixing/InputChannel/Fader/On/MMS");

        for (int i = 0; i < 200; ++i) {
            timer.restart();
            mixer->GetValue(weight, i % 64, 0);
            row("single read (GetValue, non-block)", "per call").byMode[mode].add(micros(timer));
        }
        for (int i = 0; i < 20; ++i) {
            // Alternating parameters: every read is a fresh 120-channel block.
            timer.restart();
            mixer->GetValue(i % 2 ? level : on, 0, 0);
            row("block read, 120 channels", "per block").byMode[mode].add(micros(timer));
        }
        for (int i = 0; i < 5; ++i) {
            timer.restart();
            for (int channel = 0; channel < 120; ++channel)
                mixer->SetValue(level, channel, channel, 0);
            row("batched write, 120 channels", "per block").byMode[mode].add(micros(timer));
        }

        std::vector<unsigned int> scenes(501);
        timer.restart();
        unsigned int count = unsigned(scenes.size());
        mixer->GetSceneList(count, scenes.data());
        row("GetSceneList (500 reads)", "per call").byMode[mode].add(micros(timer));

        BenchDescription description;
        mixer->ResetMixerMemory(&description);   // the first reset after start sends nothing
        timer.restart();
        mixer->ResetMixerMemory(&description);
        row("memory reset with default values", "per call").byMode[mode].add(micros(timer));

        weight->Destroy();
        level->Destroy();
        on->Destroy();
        timer.restart();
        mixer->Destroy();
        row("Destroy", "per call").byMode[mode].add(micros(timer));
    }
}

void measureConvert(const std::string& mode, int runs, const QString& sample)
{
    const QString binDir = QCoreApplication::applicationDirPath();
    const QString output = QDir::temp().filePath(QStringLiteral("qora-bench-%1.KX9F").arg(QCoreApplication::applicationPid()));
    for (int run = 0; run < runs; ++run) {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QORA_LINK_TIMINGS"), mode == "polling" ? "pollingWait=1" : "pollingWait=0");
        process.setProcessEnvironment(env);
        QElapsedTimer timer;
        timer.start();
        process.start(binDir + QStringLiteral("/plaxbridge"), {QStringLiteral("convert"), sample, output});
        process.waitForFinished(-1);
        const double elapsed = micros(timer);
        const QString err = QString::fromLocal8Bit(process.readAllStandardError());
        if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
            std::fprintf(stderr, "plaxbridge convert failed:\n%s\n", qPrintable(err));
            return;
        }
        Row& r = row("full sample conversion (plaxbridge convert)", "per run");
        r.byMode[mode].add(elapsed);
        const QRegularExpressionMatch m = QRegularExpression(QStringLiteral("editor commands\\D*(\\d+)"),
                                                             QRegularExpression::CaseInsensitiveOption)
                                              .match(err);
        if (m.hasMatch())
            r.extra["editor commands"] = m.captured(1).toStdString();
    }
    QFile::remove(output);
    rusage usage {};
    getrusage(RUSAGE_CHILDREN, &usage);
    row("full sample conversion (plaxbridge convert)", "per run").extra["peak RSS of plaxbridge (MiB)"] =
        std::to_string(usage.ru_maxrss / 1024);
}

void printTable(const std::vector<std::string>& modes)
{
    std::printf("\n%-46s", "case (median)");
    for (const std::string& mode : modes)
        std::printf(" %16s", (mode + " [us]").c_str());
    if (modes.size() == 2)
        std::printf(" %10s", "speed-up");
    std::printf("\n");
    for (const Row& r : rows) {
        std::printf("%-46s", (r.name + ", " + r.unit).c_str());
        for (const std::string& mode : modes) {
            auto it = r.byMode.find(mode);
            if (it == r.byMode.end() || it->second.empty())
                std::printf(" %16s", "-");
            else
                std::printf(" %16.1f", it->second.median());
        }
        if (modes.size() == 2) {
            auto a = r.byMode.find(modes[0]);
            auto b = r.byMode.find(modes[1]);
            if (a != r.byMode.end() && b != r.byMode.end() && !a->second.empty() && a->second.median() > 0)
                std::printf(" %9.1fx", b->second.median() / a->second.median());
        }
        std::printf("\n");
        for (const auto& [key, value] : r.extra)
            std::printf("    %s: %s\n", key.c_str(), value.c_str());
    }

    const Row* floor = nullptr;
    for (const Row& r : rows)
        if (r.name.rfind("raw loopback", 0) == 0)
            floor = &r;
    if (!floor)
        return;
    const double base = floor->byMode.begin()->second.median();
    std::printf("\nratios to the raw loopback round trip (%.1f us):\n", base);
    for (const Row& r : rows) {
        if (&r == floor || (r.name.find("single read") == std::string::npos && r.name.find("block read") == std::string::npos))
            continue;
        for (const std::string& mode : modes) {
            auto it = r.byMode.find(mode);
            if (it != r.byMode.end() && !it->second.empty())
                std::printf("  %-40s %-8s %6.1fx\n", r.name.c_str(), mode.c_str(), it->second.median() / base);
        }
    }
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    qInstallMessageHandler(quietLogs);

    int runs = 5;
    std::vector<std::string> modes = {"wake"};
    bool convert = true;
    QString sample = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("../../examples/rq10-festival.json"));
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--runs") && i + 1 < args.size())
            runs = std::max(1, args[++i].toInt());
        else if (args[i] == QLatin1String("--polling"))
            modes = {"polling"};
        else if (args[i] == QLatin1String("--both"))
            modes = {"wake", "polling"};
        else if (args[i] == QLatin1String("--sample") && i + 1 < args.size())
            sample = args[++i];
        else if (args[i] == QLatin1String("--skip-convert"))
            convert = false;
        else {
            std::fprintf(stderr, "usage: qora_bench [--runs N] [--polling | --both] [--sample FILE] [--skip-convert]\n");
            return 2;
        }
    }

    BenchStats loopback;
    for (int run = 0; run < runs; ++run)
        if (!LoopbackEcho::measure(2000, 200, loopback)) {
            std::fprintf(stderr, "loopback measurement failed\n");
            return 1;
        }
    Row& floorRow = row("raw loopback round trip, 200-byte line", "per round trip");
    for (const std::string& mode : modes)
        floorRow.byMode[mode] = loopback;

    for (const std::string& mode : modes) {
        measureMixer(mode, runs);
        if (convert)
            measureConvert(mode, std::max(1, runs / 2), QFileInfo(sample).absoluteFilePath());
    }
    printTable(modes);
    return 0;
}
