// plaxbridge shell end to end: the program, the KX9 plug-in it loads and the
// editor program the plug-in starts.
#include "PlaxbridgeProcess.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <signal.h>

TEST(PlaxbridgeShell, AScriptPrintsOneLinePerCallInEachResultFormat)
{
    QTemporaryDir dir;
    const QString script = writeFile(dir.filePath("script.txt"), QString(R"(# results of every kind
GetMixerId
CreateParameter /Mixing/InputChannel/Signal/Relation/MMS

LookupParameterRanges /Mixing/GEQRack2/Type:0/MMSGEQ
   # an indented comment
IsStereoParameter /Mixing/Stereo/Label/Icon/MMS
SetValue /Mixing/Mix/Fader/Level/MMS 47 -1234 0
GetValue /Mixing/Mix/Fader/Level/MMS 47 0
SetValue /Mixing/Mix/Label/Icon/MMS 47 22 0
GetValue /Mixing/Mix/Label/Icon/MMS 47 0
GetSceneList
PreConversionSetup
ResetMixerMemory RQ10
GetNameParameterNum
GetLibraryMax 22
GetSceneLibraryMax
LibraryIndexToCategoryId 6
LibraryIndexToCategoryId 6 "Convert to 8Band PEQ Library"
SaveData %1 saved.KX9F
)").arg(QDir::current().relativeFilePath(dir.path())).toUtf8());   // relative to the shell's folder
    const auto r = PlaxbridgeProcess::run({"shell", "--script", script});
    EXPECT_EQ(r.exitCode, 0) << r.show();
    EXPECT_EQ(r.outLines(), (QStringList{
                                "= \"QORA\"", "= 44", "= [0,15,0,0]",
                                "= true",    // id 172: the stereo buses' label icon
                                "OK",
                                "= -1234",   // the last channel of the block sends the batch
                                "OK",
                                "= 22",      // stored as the icon text, read back as its number
                                "= [0]", "OK", "OK", "= 9", "= 199", "= 300", "= 60", "= -1", "OK"}))
        << r.show();
    EXPECT_TRUE(QFile::exists(dir.filePath("saved.KX9F")));
}

TEST(PlaxbridgeShell, ExceptionsAndUnrunnableLinesAreReportedAndTheShellGoesOn)
{
    expectShell({
        {"CreateParameter /mixing/inputchannel/signal/relation/MMS", "! ParameterNotFoundException: Parameter Id not found"},
        {"GetValue /Mixing/InputChannel/Fader/Level 0 0", "! ParameterNotFoundException: Parameter Id not found"},
        {"LookupParameterRanges /Mixing/Nothing/MMS", "! std::exception: std::exception"},
        {"Frobnicate 1 2", "? unknown operation: Frobnicate"},
        {"GetValue /Mixing/Mix/Fader/Level/MMS 3", "? GetValue takes 3 arguments (NAME CH SUB), got 2"},
        {"GetMixerId extra", "? GetMixerId takes 0 arguments, got 1"},
        {"SetCurrentSceneMemory 1 2", "? SetCurrentSceneMemory takes 0 to 1 arguments ([SCENE]), got 2"},
        {"SetNameParameterList", "? SetNameParameterList takes at least 1 argument (HEAD [TEXT...]), got 0"},
        {"GetValue /Mixing/Mix/Fader/Level/MMS three 0", "? GetValue: argument 2 (CH) is not an integer: \"three\""},
        {"GetValue /Mixing/Mix/Fader/Level/MMS 1 2147483648",
         "? GetValue: argument 3 (SUB) is not an integer: \"2147483648\""},
        {"SetProtect maybe 100", "? SetProtect: argument 1 (PROTECT) must be true or false: \"maybe\""},
        {"SetDateTime 24 0 0 0 0 40000 100", "? SetDateTime: argument 6 (s) is outside the 16-bit range"},
        {"GetMixerId", "= \"QORA\""},
    });
}

TEST(PlaxbridgeShell, QuotedTextsAndSceneInformationRoundTrip)
{
    // All 24 DCAs: writes to a channel block reach the editor together, when
    // the block's last channel is written.
    const QString dcas = "/Mixing/DCA/Label:0/Name:0/MMS Drums \"\" \"Lead Vox\"" + QString(" \"\"").repeated(20) + " Last";
    const QString read = R"(= ["/Mixing/DCA/Label:0/Name:0/MMS","Drums","","Lead Vox")" + QString(",\"\"").repeated(20)
                         + ",\"Last\"]";
    expectShell({
        {"StoreCurrentSceneMemory 150", "OK"},
        {"GetSceneList", "= [0,150]"},
        {"GetTitle 150", "= \"Scene1.50\""},   // the store names the scene itself
        {R"(SetTitle "Line \"check\" \\ 2" 150)", "OK"},
        {"GetTitle 150", R"(= "Line \"check\" \\ 2")"},
        {QString::fromUtf8("SetComment \"tab\tand B\u00fchne\" 150"), "OK"},   // texts are JSON strings
        {"GetComment 150", QString::fromUtf8("= \"tab\\tand B\u00fchne\"")},
        {"SetProtect true 150", "OK"},
        {"GetProtect 150", "= true"},
        {"SetDateTime 24 5 13 21 0 30 150", "OK"},
        {"GetDateTime 150", "= [24,5,13,21,0,30]"},
        {"LibraryHasValidData 150", "= true"},
        {"SceneLibraryHasData 151", "= false"},
        {"SetNameParameterList " + dcas, "OK"},
        {"GetNameParameterList 4", read},
    });
}

TEST(PlaxbridgeShell, MissingScriptOrBadArgumentsFailBeforeStartingThePlugIn)
{
    QTemporaryDir dir;
    const QString missing = dir.filePath("none.txt");
    const struct {
        QStringList arguments;
        int exitCode;
        QString message;
    } rows[] = {
        {{"shell", "--script", missing}, 1, "cannot read the script " + missing},
        {{"shell", "extra"}, 2, "unexpected argument extra"},
        {{}, 2, "no command given"},
        {{"export"}, 2, "unknown command export"},
    };
    for (const auto& row : rows) {
        const auto r = PlaxbridgeProcess::run(row.arguments);
        EXPECT_EQ(r.exitCode, row.exitCode) << r.show();
        EXPECT_TRUE(r.err.contains(row.message)) << r.show();
        EXPECT_TRUE(r.out.isEmpty());
    }
}

TEST(PlaxbridgeShell, InterruptEndsTheSessionAndReleasesThePlugIn)
{
    QProcess process;
    PlaxbridgeProcess::start(process, {"-v", "shell"});
    ASSERT_EQ(process.state(), QProcess::Running);
    process.write("GetMixerId\n");
    QElapsedTimer waited;
    waited.start();
    while (!process.canReadLine() && waited.elapsed() < 60000)
        process.waitForReadyRead(100);
    // Standard output holds only results, even with -v.
    ASSERT_EQ(process.readLine(), QByteArray("= \"QORA\"\n"));

    ::kill(static_cast<pid_t>(process.processId()), SIGINT);
    const auto r = PlaxbridgeProcess::finish(process, 30000);
    EXPECT_EQ(r.exitCode, 130) << r.show();
    EXPECT_TRUE(r.out.isEmpty()) << r.show();
    EXPECT_TRUE(r.err.contains("###QORA: ")) << r.show();
    // Destroy minimises the editor window before shutting the link down:
    // one visibility command at start (hide), one at the end.
    EXPECT_EQ(r.err.count("[editor command] set_window_visibility"), 2) << r.show();
}
