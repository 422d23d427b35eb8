// Measures, in one run and side by side, what a conversion waits for: the
// loopback floor, editor round trips through the plug-in in each wire mode,
// the long operations, whole conversions of the sample, and conversions of
// 1-, 10- and 100-scene shows made from it.
//
//   qora_bench [--runs N] [--modes batched,strict,polling] [--sample FILE]
//              [--scenes 1,10,100] [--vary] [--scene-modes batched,strict]
//              [--baseline DIR] [--skip-link] [--skip-convert]
//
// The shows are made by tools/make_show.py (--vary: values that differ from
// scene to scene) and converted once in each of --scene-modes (default:
// batched), one table per mode.
//
// Modes: "batched" is the default write path, "strict" the KX9.ini setting
// WireMode=strict, "polling" the strict mode with the 1 ms sleep-and-poll
// wait (QORA_LINK_TIMINGS=pollingWait=1). The harness lives in a directory
// of its own and rewrites its KX9.ini for each mode. --baseline names the
// bin directory of another build (an older one, say): its sample conversion
// is measured in the same run, as mode "baseline".
#include "BenchDescription.h"
#include "BenchStats.h"
#include "ConversionRun.h"
#include "HostDirectory.h"
#include "LoopbackEcho.h"

#include "host/IMixer.h"
#include "host/IParameter.h"
#include "mixer/QORA.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

namespace {

struct Row {
    std::string name;
    std::string unit;
    std::map<std::string, BenchStats> byMode;
};

std::vector<Row> rows;
std::vector<std::string> modes;

BenchStats& sample(const std::string& name, const std::string& unit, const std::string& mode)
{
    for (Row& r : rows) {
        if (r.name == name)
            return r.byMode[mode];
    }
    rows.push_back(Row{name, unit, {}});
    return rows.back().byMode[mode];
}

double micros(const QElapsedTimer& timer)
{
    return double(timer.nsecsElapsed()) / 1000.0;
}

void quietLogs(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type >= QtWarningMsg)
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

QString binDir()
{
    return QDir(QCoreApplication::applicationDirPath()).absoluteFilePath(QStringLiteral("../bin"));
}

QString wireModeOf(const std::string& mode)
{
    return mode == "batched" ? QStringLiteral("batched") : QStringLiteral("strict");
}

const char* timingsOf(const std::string& mode)
{
    return mode == "polling" || mode == "baseline-polling" ? "pollingWait=1" : "pollingWait=0";
}

// Every case makes its reads miss the cache of the batched mode, so that
// both modes pay a round trip per read.
void measureLink(const std::string& mode, int runs)
{
    HostDirectory::writeIni(QCoreApplication::applicationDirPath(), QDir(binDir()).filePath("qora-editor"),
                            wireModeOf(mode));
    qputenv("QORA_LINK_TIMINGS", timingsOf(mode));
    BenchDescription description;

    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        IMixer* mixer = QORA::create();
        sample("start-up: create until ready", "per create", mode).add(micros(timer));
        if (!mixer) {
            std::fprintf(stderr, "create() failed\n");
            std::exit(1);
        }

        IParameter* type = mixer->CreateParameter("/Mixing/InputChannel/Dynamics:0/Bank:0/Type/MMS");
        for (int channel = 0; channel < 120; ++channel) {
            timer.restart();
            mixer->GetValue(type, channel, 0);
            sample("single read (dynamics type)", "per read", mode).add(micros(timer));
        }
        type->Destroy();

        for (int mix = 0; mix < 48; ++mix) {
            const std::string name = "/Mixing/InputChannel/ToMix:" + std::to_string(mix) + "/Level/MMS";
            IParameter* send = mixer->CreateParameter(name);
            timer.restart();
            mixer->GetValue(send, 0, 0);
            sample("block read, 120 channels", "per block", mode).add(micros(timer));
            send->Destroy();
        }

        IParameter* level = mixer->CreateParameter("/Mixing/InputChannel/Fader/Level/MMS");
        for (int i = 0; i < 5; ++i) {
            timer.restart();
            for (int channel = 0; channel < 120; ++channel)
                mixer->SetValue(level, channel, -channel - i, 0);
            mixer->LibraryHasValidData(0);
            sample("120 writes, then a scene-info read", "per block", mode).add(micros(timer));
        }
        level->Destroy();

        mixer->StoreCurrentSceneMemory(100);
        std::vector<unsigned int> scenes(501);
        unsigned int count = unsigned(scenes.size());
        timer.restart();
        mixer->GetSceneList(count, scenes.data());
        sample("GetSceneList (500 rows)", "per call", mode).add(micros(timer));

        mixer->ResetMixerMemory(&description);   // the first reset after start sends nothing
        timer.restart();
        mixer->ResetMixerMemory(&description);
        mixer->LibraryHasValidData(0);           // the batched mode sends the defaults here
        sample("memory reset with defaults, then a read", "per call", mode).add(micros(timer));

        timer.restart();
        mixer->Destroy();
        sample("Destroy", "per call", mode).add(micros(timer));
    }
    qunsetenv("QORA_LINK_TIMINGS");
}

struct ModeHosts {
    QTemporaryDir temporary;
    QString strict;
    QString baseline;
};

QString hostFor(const std::string& mode, const ModeHosts& hosts)
{
    if (mode.rfind("baseline", 0) == 0)
        return hosts.baseline;
    return mode == "batched" ? binDir() : hosts.strict;
}

void measureSample(const std::string& mode, int runs, const QString& sampleFile, const ModeHosts& hosts)
{
    for (int run = 0; run < runs; ++run) {
        const ConversionRun::Result r =
            ConversionRun::run(hostFor(mode, hosts), sampleFile, hosts.temporary.filePath("sample.KX9F"),
                               {QStringLiteral("QORA_LINK_TIMINGS=") + QLatin1String(timingsOf(mode))});
        if (!r.ok) {
            std::fprintf(stderr, "%s: %s\n", mode.c_str(), qPrintable(r.error));
            return;
        }
        sample("sample conversion (plaxbridge convert)", "per run", mode).add(r.seconds * 1e6);
        sample("  editor commands per scene", "count", mode).add(double(r.editorCommands) / double(r.scenes));
        sample("  CPU of plaxbridge", "per run", mode).add(r.cpuPlaxbridgeSeconds * 1e6);
        sample("  CPU of the editor", "per run", mode).add(r.cpuEditorSeconds * 1e6);
    }
}

void measureScenes(const std::vector<int>& sceneCounts, int runs, const QString& sampleFile, const ModeHosts& hosts,
                   const std::string& mode, bool vary)
{
    const QString tool = QStringLiteral(QORA_SOURCE_DIR "/tools/make_show.py");
    std::printf("\n%s mode%s\n%-7s %11s %9s %14s %14s %11s %14s %11s %9s %9s\n", mode.c_str(),
                vary ? ", shows with varied values" : "", "scenes", "s per scene", "s in all", "commands/scene",
                "plaxbridge MiB", "editor MiB", "plaxbridge CPU", "editor CPU", "us/value", "us/value");
    for (int scenes : sceneCounts) {
        const QString show = hosts.temporary.filePath(QStringLiteral("show-%1.json").arg(scenes));
        QStringList arguments{tool, "--scenes", QString::number(scenes)};
        if (vary)
            arguments << "--vary";
        if (QProcess::execute("python3", arguments + QStringList{sampleFile, show}) != 0) {
            std::fprintf(stderr, "make_show.py failed\n");
            return;
        }
        BenchStats seconds;
        ConversionRun::Result last;
        for (int run = 0; run < runs; ++run) {
            last = ConversionRun::run(hostFor(mode, hosts), show, hosts.temporary.filePath("show.KX9F"));
            if (!last.ok) {
                std::fprintf(stderr, "%d scenes: %s\n", scenes, qPrintable(last.error));
                return;
            }
            seconds.add(last.seconds);
        }
        // CPU per value written, in each process.
        const double values = double(std::max(1LL, last.valuesWritten));
        std::printf("%-7d %11.3f %9.2f %14.1f %14.1f %11.1f %13.2fs %10.2fs %9.2f %9.2f\n", scenes,
                    seconds.median() / scenes, seconds.median(), double(last.editorCommands) / scenes,
                    last.maxRssPlaxbridgeKiB / 1024.0, last.maxRssEditorKiB / 1024.0, last.cpuPlaxbridgeSeconds,
                    last.cpuEditorSeconds, last.cpuPlaxbridgeSeconds * 1e6 / values,
                    last.cpuEditorSeconds * 1e6 / values);
    }
}

void printTable()
{
    std::printf("\n%-44s", "case");
    for (const std::string& mode : modes)
        std::printf(" %13s %13s", (mode + " med").c_str(), (mode + " mean").c_str());
    std::printf("\n");
    for (const Row& r : rows) {
        std::printf("%-44s", (r.name + ", " + r.unit).c_str());
        for (const std::string& mode : modes) {
            const auto it = r.byMode.find(mode);
            if (it == r.byMode.end() || it->second.empty())
                std::printf(" %13s %13s", "-", "-");
            else
                std::printf(" %13.1f %13.1f", it->second.median(), it->second.mean());
        }
        std::printf("\n");
    }
    std::printf("(times in microseconds)\n");
    if (modes.size() < 2 || modes[0] != "batched")
        return;
    std::printf("\nspeed-up of batched (medians):\n");
    for (const Row& r : rows) {
        const auto base = r.byMode.find("batched");
        if (base == r.byMode.end() || base->second.empty() || base->second.median() <= 0 || r.unit == "count")
            continue;
        std::printf("  %-42s", r.name.c_str());
        for (std::size_t m = 1; m < modes.size(); ++m) {
            const auto other = r.byMode.find(modes[m]);
            if (other != r.byMode.end() && !other->second.empty())
                std::printf("  %s %6.1fx", modes[m].c_str(), other->second.median() / base->second.median());
        }
        std::printf("\n");
    }
}

std::vector<int> numbers(const QString& list)
{
    std::vector<int> out;
    for (const QString& part : list.split(QLatin1Char(','), Qt::SkipEmptyParts))
        out.push_back(part.toInt());
    return out;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    qInstallMessageHandler(quietLogs);

    int runs = 5;
    bool link = true;
    bool convert = true;
    std::vector<int> sceneCounts = {1, 10, 100};
    bool vary = false;
    std::vector<std::string> sceneModes = {"batched"};
    QString baseline;
    modes = {"batched", "strict"};
    QString sampleFile = QStringLiteral(QORA_SOURCE_DIR "/examples/rq10-festival.json");
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        const QString& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == "--runs" && hasValue) {
            runs = std::max(1, args[++i].toInt());
        } else if (a == "--modes" && hasValue) {
            modes.clear();
            for (const QString& m : args[++i].split(',', Qt::SkipEmptyParts))
                modes.push_back(m.toStdString());
        } else if (a == "--sample" && hasValue) {
            sampleFile = args[++i];
        } else if (a == "--scenes" && hasValue) {
            sceneCounts = numbers(args[++i]);
        } else if (a == "--vary") {
            vary = true;
        } else if (a == "--scene-modes" && hasValue) {
            sceneModes.clear();
            for (const QString& m : args[++i].split(',', Qt::SkipEmptyParts))
                sceneModes.push_back(m.toStdString());
        } else if (a == "--baseline" && hasValue) {
            baseline = QFileInfo(args[++i]).absoluteFilePath();
        } else if (a == "--skip-link") {
            link = false;
        } else if (a == "--skip-convert") {
            convert = false;
        } else {
            std::fprintf(stderr, "usage: qora_bench [--runs N] [--modes batched,strict,polling] [--sample FILE]\n"
                                 "                  [--scenes 1,10,100] [--vary] [--scene-modes batched,strict]\n"
                                 "                  [--baseline DIR] [--skip-link] [--skip-convert]\n");
            return 2;
        }
    }
    sampleFile = QFileInfo(sampleFile).absoluteFilePath();

    BenchStats loopback;
    for (int run = 0; run < runs; ++run) {
        if (!LoopbackEcho::measure(2000, 200, loopback)) {
            std::fprintf(stderr, "loopback measurement failed\n");
            return 1;
        }
    }
    for (const std::string& mode : modes)
        sample("raw loopback round trip, 200-byte line", "per round trip", mode) = loopback;

    if (link) {
        for (const std::string& mode : modes)
            measureLink(mode, runs);
    }
    ModeHosts hosts;
    hosts.strict = hosts.temporary.filePath(QStringLiteral("strict"));
    if (convert) {
        if (!HostDirectory::makeCopy(binDir(), hosts.strict, QStringLiteral("strict"))) {
            std::fprintf(stderr, "cannot make the strict host directory\n");
            return 1;
        }
        hosts.baseline = baseline;
        std::vector<std::string> convertModes = modes;
        if (!baseline.isEmpty()) {
            convertModes.push_back("baseline");
            if (std::find(modes.begin(), modes.end(), "polling") != modes.end())
                convertModes.push_back("baseline-polling");
            modes = convertModes;
        }
        for (const std::string& mode : convertModes)
            measureSample(mode, std::max(1, runs / 2), sampleFile, hosts);
    }
    printTable();
    if (convert && !sceneCounts.empty()) {
        for (const std::string& mode : sceneModes)
            measureScenes(sceneCounts, 1, sampleFile, hosts, mode, vary);
    }
    return 0;
}
