// The editor stand-in driven by the plug-in's own command layer: every
// command of the link, end to end, as the mixer object issues them.
#include "link/LinkTimings.h"
#include "link/MainApplication.h"
#include "support/OVariant.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSettings>
#include <QTemporaryDir>
#include <QThread>

#include <cstring>

namespace {

QString iniPath()
{
    return QCoreApplication::applicationDirPath() + "/KX9.ini";
}

QString text(const OVariant& v)
{
    return v.type() == OVariant::String ? QString::fromUtf8(v.toString()) : QString("<not text>");
}

class EditorLinkTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        QSettings ini(iniPath(), QSettings::IniFormat);
        ini.setValue("MainApplication/VirtualDeviceFilePath", qEnvironmentVariable("QORA_BIN_DIR") + "/qora-editor");
        ini.setValue("MainApplication/WireMode", "strict");   // the wire forms below are strict ones
        ini.sync();
        logPath = dir.filePath("requests.log");
        qputenv("QORA_EDITOR_OPTIONS", ("--log=" + logPath).toLocal8Bit());

        LinkTimings timings;
        timings.readyPolls = 500;
        timings.readySleepMs = 20;
        app = new MainApplication(timings);
        thread = new QThread;
        app->moveToThread(thread);
        thread->start();
        ASSERT_TRUE(QMetaObject::invokeMethod(app, "doCommandCreate"));
        ASSERT_TRUE(app->waitForCommandCreated());
        ASSERT_TRUE(app->waitForMmsReadied());
    }

    void TearDown() override
    {
        if (app) {
            QMetaObject::invokeMethod(app, "doCommandDestroy");
            EXPECT_TRUE(app->waitForCommandDestroyed());
            thread->quit();
            thread->wait();
            delete thread;
            delete app;
        }
        QFile::remove(iniPath());
        qunsetenv("QORA_EDITOR_OPTIONS");
    }

    OVariant get(const QString& address)
    {
        OVariant v;
        app->GetPrmVal(address, v);
        return v;
    }

    QList<QJsonObject> requests(const QString& cmd)
    {
        QList<QJsonObject> out;
        QFile f(logPath);
        if (!f.open(QIODevice::ReadOnly))
            return out;
        for (const QByteArray& line : f.readAll().split('\n')) {
            const QJsonObject r = QJsonDocument::fromJson(line).object()["request"].toObject();
            if (r["cmd"].toString() == cmd)
                out.append(r);
        }
        return out;
    }

    QTemporaryDir dir;
    QString logPath;
    MainApplication* app = nullptr;
    QThread* thread = nullptr;
};

} // namespace

TEST_F(EditorLinkTest, ValuesTravelSinglyAndInBlocks)
{
    app->SetWindowVisibility("Hidden");

    // Dynamics types and effect types are read singly and hold texts; input
    // channel writes would be batched, effect rack writes go out at once.
    EXPECT_EQ(text(get("/Mixing/InputChannel:3/Dynamics:0/Bank:0/Type/MMS")), "GATE");
    const QString fxType = "/FX/FX:3/Param:0/PluginName:0";
    EXPECT_EQ(text(get(fxType)), "");
    EXPECT_TRUE(app->SetPrmVal(fxType, OVariant("REV-X HALL", OVariant::MaxStringSize)));
    EXPECT_EQ(text(get(fxType + "/MMS")), "REV-X HALL");
    EXPECT_FALSE(app->SetPrmVal(fxType, OVariant(3)));

    // Mix faders are written as one batch when the last channel arrives.
    for (int ch = 0; ch < 48; ++ch)
        EXPECT_TRUE(app->SetPrmVal(QString("/Mixing/Mix:%1/Fader/Level/MMS").arg(ch), OVariant(-100 * ch)));
    ASSERT_EQ(requests("setData_prm_val").size(), 1);
    const OVariant v = get("/Mixing/Mix:47/Fader/Level/MMS");
    ASSERT_EQ(v.type(), OVariant::Integer);
    EXPECT_EQ(v.toInt(), -4700);
    EXPECT_EQ(get("/Mixing/Mix:12/Fader/Level/MMS").toInt(), -1200);
    ASSERT_EQ(requests("getData_prm_val").size(), 1);
    EXPECT_EQ(requests("getData_prm_val")[0]["cmdinfo"].toObject()["list"].toArray().size(), 48);

    // Plain addresses as the default-value writes form them.
    EXPECT_TRUE(app->SetPrmVal("/Mixing/GEQRack2:31/AB:1/On:0", OVariant(0)));
    EXPECT_FALSE(app->SetPrmVal("/Mixing/GEQRack2:32/AB:1/On:0", OVariant(0)));
    EXPECT_FALSE(get("/Mixing/InputChannel:3/Fader/Levle/MMS").isValid());
}

TEST_F(EditorLinkTest, ScenesFilesAndResets)
{
    const QString fader = "/Setup/RackAllocation:0/RecallSafe:0/On:0";
    ASSERT_TRUE(app->SetPrmVal(fader, OVariant(1)));
    ASSERT_TRUE(app->SetSceneStore("UserA", "1.23", "Scene1.23", "Comment / Scene1.23"));
    ASSERT_TRUE(app->SetSceneStore("UserA", "0.05", "Scene0.05", "Comment / Scene0.05"));

    QString title;
    EXPECT_TRUE(app->GetSceneInfo("Title", "UserA", "1.23", title));
    EXPECT_EQ(title, "Scene1.23");
    EXPECT_FALSE(app->GetSceneInfo("Title", "UserA", "2.00", title));
    EXPECT_TRUE(title.isEmpty());
    EXPECT_TRUE(app->SetSceneInfo("Protect", "UserA", "1.23", "on"));
    QString protect;
    EXPECT_TRUE(app->GetSceneInfo("Protect", "UserA", "1.23", protect));
    EXPECT_EQ(protect, "on");

    EXPECT_EQ(text(get("/SceneList/Bank:0/Info:0/SceneNumber:0")), "0.05");
    EXPECT_EQ(text(get("/SceneList/Bank:0/Info:1/SceneNumber:0")), "1.23");
    EXPECT_EQ(text(get("/SceneList/Bank:0/Info:2/SceneNumber:0")), "");

    const QString file = dir.filePath("show.KX9F");
    ASSERT_TRUE(app->SetSave(file));
    ASSERT_TRUE(app->SetInitCurrent());
    EXPECT_EQ(get(fader).toInt(), 0);
    ASSERT_TRUE(app->SetSceneRecall("UserA", "1.23"));
    EXPECT_EQ(get(fader).toInt(), 1);
    EXPECT_FALSE(app->SetSceneRecall("UserA", "9.99"));

    ASSERT_TRUE(app->SetLoad(qEnvironmentVariable("QORA_BIN_DIR") + "/KX9/Descriptor/initialLoadData.KX9F"));
    EXPECT_EQ(get(fader).toInt(), 0);
    EXPECT_EQ(text(get("/SceneList/Bank:0/Info:0/SceneNumber:0")), "");
    EXPECT_FALSE(app->SetLoad(dir.filePath("missing.KX9F")));
    ASSERT_TRUE(app->SetLoad(file));
    EXPECT_EQ(get(fader).toInt(), 1);
    EXPECT_EQ(text(get("/SceneList/Bank:0/Info:1/SceneNumber:0")), "1.23");
}
