// plaxbridge shell end to end: the program, the KX9 plug-in it loads and the
// editor program the plug-in starts.
#include "PlaxbridgeProcess.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>

#include <signal.h>

namespace {

std::string show(const PlaxbridgeProcess::Result& r)
{
    return "exit " + std::to_string(r.exitCode) + "\nstdout:\n" + r.out.toStdString()
           + "\nstderr:\n" + r.err.right(3000).toStdString();
}

QString writeScript(const QTemporaryDir& dir, const QString& text)
{
    const QString path = dir.filePath(QStringLiteral("script.txt"));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text.toUtf8());
    return path;
}

} // namespace

TEST(PlaxbridgeShell, PrintsOneLinePerCallInEachResultFormat)
{
    QTemporaryDir dir;
    const QString script = writeScript(dir, QStringLiteral(R"(# results of every kind
GetMixerId
CreateParameter /Mixing/InputChannel/Signal/Relation/MMS

LookupParameterRanges /Mixing/GEQRack2/Type:0/MMSGEQ
   # an indented comment
IsStereoParameter /Mixing/Stereo/Label/Icon/MMS
IsStereoParameter /Mixing/Mix/Label/Icon/MMS
SetValue /Mixing/Mix/Fader/Level/MMS 47 -1234 0
GetValue /Mixing/Mix/Fader/Level/MMS 47 0
SetValue /Mixing/Mix/Label/Icon/MMS 47 22 0
GetValue /Mixing/Mix/Label/Icon/MMS 47 0
GetNameParameterNum
GetLibraryMax 5
GetLibraryMax 4
GetSceneLibraryMax
LibraryIndexToCategoryId 6
LibraryIndexToCategoryId 22 "Convert to 8Band PEQ Library"
GetLibrariesToConvert
GetSceneList
PreConversionSetup
ResetMixerMemory
)"));
    const auto r = PlaxbridgeProcess::run({QStringLiteral("shell"), QStringLiteral("--script"), script});
    ASSERT_TRUE(r.finished) << show(r);
    EXPECT_EQ(r.exitCode, 0) << show(r);
    const QStringList expected = {
        QStringLiteral("= \"QORA\""),
        QStringLiteral("= 44"),
        QStringLiteral("= [0,15,0,0]"),
        QStringLiteral("= true"),     // id 172: the stereo buses' label icon
        QStringLiteral("= false"),
        QStringLiteral("OK"),
        QStringLiteral("= -1234"),    // the last channel of the block sends the batch
        QStringLiteral("OK"),
        QStringLiteral("= 22"),       // stored as the icon text, read back as its number
        QStringLiteral("= 9"),
        QStringLiteral("= 199"),
        QStringLiteral("= 100"),
        QStringLiteral("= 300"),
        QStringLiteral("= 60"),
        QStringLiteral("= 60"),
        QStringLiteral("= [3,4,7,5,6,22,9,31,32,33,34,35,36,37,38,39,40,41,42,43,44,45,46,47,48,"
                       "49,50,51,52,53,54,55,56,58,59,60,8,16,15,25,11,12,13,14,23,24]"),
        QStringLiteral("= [0]"),
        QStringLiteral("OK"),
        QStringLiteral("OK"),
    };
    EXPECT_EQ(r.outLines(), expected) << show(r);
}

TEST(PlaxbridgeShell, ExceptionsAndUnrunnableLinesAreReportedAndTheShellGoesOn)
{
    const auto r = PlaxbridgeProcess::shell({
        QStringLiteral("CreateParameter /mixing/inputchannel/signal/relation/MMS"),
        QStringLiteral("GetValue /Mixing/InputChannel/Fader/Level 0 0"),
        QStringLiteral("LookupParameterRanges /Mixing/Nothing/MMS"),
        QStringLiteral("Frobnicate 1 2"),
        QStringLiteral("GetValue /Mixing/Mix/Fader/Level/MMS 3"),
        QStringLiteral("GetValue /Mixing/Mix/Fader/Level/MMS three 0"),
        QStringLiteral("SetProtect maybe 100"),
        QStringLiteral("SetTitle \"unterminated 100"),
        QStringLiteral("GetMixerId"),
    });
    ASSERT_TRUE(r.finished) << show(r);
    EXPECT_EQ(r.exitCode, 0) << show(r);
    const QStringList lines = r.outLines();
    ASSERT_EQ(lines.size(), 9) << show(r);
    EXPECT_EQ(lines[0], QStringLiteral("! ParameterNotFoundException: Parameter Id not found"));
    EXPECT_EQ(lines[1], QStringLiteral("! ParameterNotFoundException: Parameter Id not found"));
    EXPECT_EQ(lines[2], QStringLiteral("! std::exception: std::exception"));
    EXPECT_EQ(lines[3], QStringLiteral("? unknown operation: Frobnicate"));
    EXPECT_EQ(lines[4], QStringLiteral("? GetValue takes 3 arguments (NAME CH SUB), got 2"));
    EXPECT_EQ(lines[5], QStringLiteral("? GetValue: argument 2 (CH) is not an integer: \"three\""));
    EXPECT_EQ(lines[6], QStringLiteral("? SetProtect: argument 1 (PROTECT) must be true or false: \"maybe\""));
    EXPECT_TRUE(lines[7].startsWith(QStringLiteral("? unterminated quote"))) << lines[7].toStdString();
    EXPECT_EQ(lines[8], QStringLiteral("= \"QORA\""));
}

TEST(PlaxbridgeShell, QuotedTextsAndSceneInformationRoundTrip)
{
    const auto r = PlaxbridgeProcess::shell({
        QStringLiteral("StoreCurrentSceneMemory 150"),
        QStringLiteral("GetSceneList"),
        QStringLiteral("GetTitle 150"),   // the store names the scene itself
        QStringLiteral(R"(SetTitle "Line \"check\" \\ 2" 150)"),
        QStringLiteral("GetTitle 150"),
        QStringLiteral("SetComment \"\" 150"),
        QStringLiteral("GetComment 150"),
        QStringLiteral("SetProtect true 150"),
        QStringLiteral("GetProtect 150"),
        QStringLiteral("SetDateTime 24 5 13 21 0 30 150"),
        QStringLiteral("GetDateTime 150"),
        QStringLiteral("LibraryHasValidData 150"),
        QStringLiteral("SceneLibraryHasData 151"),
        // All 24 DCAs: writes to a channel block reach the editor together,
        // when the block's last channel is written.
        QStringLiteral("SetNameParameterList /Mixing/DCA/Label:0/Name:0/MMS Drums \"\" \"Lead Vox\"")
            + QStringLiteral(" \"\"").repeated(20) + QStringLiteral(" Last"),
        QStringLiteral("GetNameParameterList 4"),
    });
    ASSERT_TRUE(r.finished) << show(r);
    const QStringList lines = r.outLines();
    ASSERT_EQ(lines.size(), 15) << show(r);
    EXPECT_EQ(lines[0], QStringLiteral("OK"));
    EXPECT_EQ(lines[1], QStringLiteral("= [0,150]"));
    EXPECT_EQ(lines[2], QStringLiteral("= \"Scene1.50\""));
    EXPECT_EQ(lines[3], QStringLiteral("OK"));
    EXPECT_EQ(lines[4], QStringLiteral(R"(= "Line \"check\" \\ 2")"));
    EXPECT_EQ(lines[6], QStringLiteral("= \"\""));
    EXPECT_EQ(lines[8], QStringLiteral("= true"));
    EXPECT_EQ(lines[10], QStringLiteral("= [24,5,13,21,0,30]"));
    EXPECT_EQ(lines[11], QStringLiteral("= true"));
    EXPECT_EQ(lines[12], QStringLiteral("= false"));
    QString dcas = QStringLiteral(R"(= ["/Mixing/DCA/Label:0/Name:0/MMS","Drums","","Lead Vox")");
    for (int i = 3; i < 23; ++i)
        dcas += QStringLiteral(",\"\"");
    EXPECT_EQ(lines[14], dcas + QStringLiteral(",\"Last\"]"));
}

TEST(PlaxbridgeShell, SavedFilesLoadIntoANewSession)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const auto save = PlaxbridgeProcess::shell({
        QStringLiteral("SetValue /Mixing/DuganAutomixer/Channel/Weight/MMS 5 -321 0"),
        QStringLiteral("StoreCurrentSceneMemory 700"),
        QStringLiteral("SetTitle \"Kept scene\" 700"),
        QStringLiteral("SaveData \"%1\" \"saved file.KX9F\"").arg(dir.path()),
    });
    ASSERT_TRUE(save.finished) << show(save);
    EXPECT_EQ(save.outLines(), (QStringList{QStringLiteral("OK"), QStringLiteral("OK"), QStringLiteral("OK"),
                                           QStringLiteral("OK")}))
        << show(save);
    ASSERT_TRUE(QFileInfo::exists(dir.filePath(QStringLiteral("saved file.KX9F"))));

    const auto load = PlaxbridgeProcess::shell({
        QStringLiteral("GetValue /Mixing/DuganAutomixer/Channel/Weight/MMS 5 0"),
        QStringLiteral("LoadData \"%1\"").arg(dir.filePath(QStringLiteral("saved file.KX9F"))),
        QStringLiteral("GetValue /Mixing/DuganAutomixer/Channel/Weight/MMS 5 0"),
        QStringLiteral("GetSceneList"),
        QStringLiteral("GetTitle 700"),
    });
    ASSERT_TRUE(load.finished) << show(load);
    EXPECT_EQ(load.outLines(),
              (QStringList{QStringLiteral("= 0"), QStringLiteral("OK"), QStringLiteral("= -321"),
                           QStringLiteral("= [0,700]"), QStringLiteral("= \"Kept scene\"")}))
        << show(load);
}

TEST(PlaxbridgeShell, StandardOutputHoldsOnlyResultsEvenWhenVerbose)
{
    const QByteArray input = "GetMixerId\nGetValue /Mixing/InputChannel/Fader/Level/MMS 0 0\n";
    const auto quiet = PlaxbridgeProcess::run({QStringLiteral("shell")}, input);
    const auto verbose = PlaxbridgeProcess::run({QStringLiteral("-v"), QStringLiteral("shell")}, input);
    ASSERT_TRUE(quiet.finished && verbose.finished);
    const QStringList expected = {QStringLiteral("= \"QORA\""), QStringLiteral("= 0")};
    EXPECT_EQ(quiet.outLines(), expected) << show(quiet);
    EXPECT_EQ(verbose.outLines(), expected) << show(verbose);
    // The plug-in's log and the editor commands appear only with -v, on stderr.
    EXPECT_FALSE(quiet.err.contains(QStringLiteral("###QORA:"))) << show(quiet);
    EXPECT_TRUE(verbose.err.contains(QStringLiteral("###QORA: ")));
    EXPECT_TRUE(verbose.err.contains(QStringLiteral("[editor command] getData_prm_val")));
}

TEST(PlaxbridgeShell, MissingScriptOrBadArgumentsFailBeforeStartingThePlugIn)
{
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("none.txt"));
    const auto r = PlaxbridgeProcess::run({QStringLiteral("shell"), QStringLiteral("--script"), missing});
    ASSERT_TRUE(r.finished);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("cannot read the script %1").arg(missing))) << show(r);
    EXPECT_TRUE(r.out.isEmpty());

    const auto extra = PlaxbridgeProcess::run({QStringLiteral("shell"), QStringLiteral("extra")});
    EXPECT_EQ(extra.exitCode, 2);
    EXPECT_TRUE(extra.err.contains(QStringLiteral("unexpected argument extra"))) << show(extra);
    const auto none = PlaxbridgeProcess::run({});
    EXPECT_EQ(none.exitCode, 2);
    const auto unknown = PlaxbridgeProcess::run({QStringLiteral("export")});
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_TRUE(unknown.err.contains(QStringLiteral("unknown command export")));
}

TEST(PlaxbridgeShell, InterruptEndsTheSessionAndReleasesThePlugIn)
{
    QProcess process;
    PlaxbridgeProcess::start(process, {QStringLiteral("-v"), QStringLiteral("shell")});
    ASSERT_EQ(process.state(), QProcess::Running);
    process.write("GetMixerId\n");
    QElapsedTimer waited;
    waited.start();
    while (!process.canReadLine() && waited.elapsed() < 60000)
        process.waitForReadyRead(100);
    ASSERT_EQ(process.readLine(), QByteArray("= \"QORA\"\n"));

    ::kill(static_cast<pid_t>(process.processId()), SIGINT);
    QElapsedTimer stopping;
    stopping.start();
    const auto r = PlaxbridgeProcess::finish(process, 30000);
    ASSERT_TRUE(r.finished) << "the shell ignored SIGINT";
    EXPECT_LT(stopping.elapsed(), 30000);
    EXPECT_FALSE(r.crashed);
    EXPECT_EQ(r.exitCode, 130) << show(r);
    // Destroy minimises the editor window before shutting the link down:
    // one visibility command at start (hide), one at the end.
    EXPECT_EQ(r.err.count(QStringLiteral("[editor command] set_window_visibility")), 2) << show(r);
}
