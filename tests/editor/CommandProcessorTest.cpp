#include "CommandProcessor.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

namespace {

QJsonObject info(const QJsonObject& fields)
{
    return QJsonObject{{"info", fields}};
}

class CommandProcessorTest : public ::testing::Test {
protected:
    CommandProcessorTest() : p(dir.path()) {}

    ReplyStep final(const QString& cmd, const QJsonObject& cmdinfo = QJsonObject())
    {
        const QVector<ReplyStep> steps = p.handle(cmd, cmdinfo);
        EXPECT_FALSE(steps.isEmpty());
        return steps.isEmpty() ? ReplyStep() : steps.last();
    }
    bool okay(const QString& cmd, const QJsonObject& cmdinfo = QJsonObject())
    {
        return final(cmd, cmdinfo).result == "ok";
    }
    bool set(const QString& addr, const QJsonValue& v)
    {
        return okay("set_prm_val", info({{"prmAddr", addr}, {"prmValue", v}}));
    }
    QJsonValue get(const QString& addr)
    {
        const ReplyStep r = final("get_prm_val", info({{"prmAddr", addr}}));
        EXPECT_EQ(r.result, "ok") << addr.toStdString();
        return r.cmdinfo["info"].toObject()["prmValue"];
    }
    QJsonObject scene(const QString& number, const QJsonObject& more = QJsonObject())
    {
        QJsonObject o{{"prmSceneCategory", "UserA"}, {"prmSceneNumber", number}};
        for (auto it = more.begin(); it != more.end(); ++it)
            o.insert(it.key(), it.value());
        return info(o);
    }
    bool store(const QString& number, const QString& title = "T", const QString& comment = "C")
    {
        return okay("set_scene_store", scene(number, {{"prmSceneTitle", title}, {"prmSceneComment", comment}}));
    }
    ReplyStep sceneInfo(const QString& number, const QString& type)
    {
        return final("get_scene_info", scene(number, {{"prmSceneInfoType", type}}));
    }
    QString row(int r) { return get(QString("/SceneList/Bank:0/Info:%1/SceneNumber:0").arg(r)).toString(); }

    QTemporaryDir dir;
    CommandProcessor p;
};

const char kFader[] = "/Mixing/InputChannel:5/Fader/Level/MMS";
const char kName[] = "/Mixing/InputChannel:5/Label:0/Name:0/MMS";

} // namespace

TEST_F(CommandProcessorTest, SingleValuesRoundTripWithTheirTypes)
{
    ASSERT_TRUE(set(kFader, -600));
    ASSERT_TRUE(set(kName, "Kick In"));
    const ReplyStep r = final("get_prm_val", info({{"prmAddr", kFader}}));
    EXPECT_EQ(r.cmdinfo["info"].toObject()["prmValue"].toDouble(), -600);
    EXPECT_EQ(r.cmdinfo["info"].toObject()["prmType"].toInt(), 4);
    const ReplyStep t = final("get_prm_val", info({{"prmAddr", kName}}));
    EXPECT_EQ(t.cmdinfo["info"].toObject()["prmValue"].toString(), "Kick In");
    EXPECT_EQ(t.cmdinfo["info"].toObject()["prmType"].toInt(), 64);

    EXPECT_FALSE(set(kFader, "12"));     // numbers travel as numbers in "info"
    EXPECT_FALSE(set(kName, 3));
    EXPECT_FALSE(set("/Mixing/InputChannel:5/Fader/Levle/MMS", 1));
    EXPECT_EQ(final("get_prm_val", info({{"prmAddr", "/No/Such:0/Address"}})).result, "ng");
    EXPECT_EQ(final("get_prm_val", info({})).result, "ng");
    EXPECT_EQ(get(kFader).toDouble(), -600);
}

TEST_F(CommandProcessorTest, BlockReadsAnswerInRequestOrderOrNotAtAll)
{
    ASSERT_TRUE(set("/Mixing/Mix:2/Fader/Level/MMS", 20));
    ASSERT_TRUE(set("/Mixing/Mix:0/Fader/Level/MMS", 1));
    QJsonArray list;
    for (int ch : {2, 1, 0})
        list.append(QJsonObject{{"prmAddr", QString("/Mixing/Mix:%1/Fader/Level/MMS").arg(ch)}});
    list.append(QJsonObject{{"prmAddr", "/Mixing/Mix:0/Label:0/Name:0/MMS"}});
    ReplyStep r = final("getData_prm_val", {{"list", list}});
    ASSERT_EQ(r.result, "ok");
    ASSERT_EQ(r.list.size(), 4);
    EXPECT_EQ(r.list[0].value.toDouble(), 20);
    EXPECT_EQ(r.list[1].value.toDouble(), 0);
    EXPECT_EQ(r.list[2].value.toDouble(), 1);
    EXPECT_EQ(r.list[3].type, 64);

    list.append(QJsonObject{{"prmAddr", "/Mixing/Mix:48/Fader/Level/MMS"}});
    r = final("getData_prm_val", {{"list", list}});
    EXPECT_EQ(r.result, "ng");
    EXPECT_TRUE(r.list.isEmpty());
}

TEST_F(CommandProcessorTest, BlockWritesAreAllOrNothing)
{
    QJsonArray list;
    list.append(QJsonObject{{"prmAddr", "/Mixing/DCA:0/Fader/Level/MMS"}, {"prmValue", "-100"}});
    list.append(QJsonObject{{"prmAddr", "/Mixing/DCA:1/Fader/Level/MMS"}, {"prmValue", -200}});
    list.append(QJsonObject{{"prmAddr", "/Mixing/DCA:2/Label:0/Name:0/MMS"}, {"prmValue", "Drums"}});
    // Applied in list order: the later of two writes to one value wins.
    list.append(QJsonObject{{"prmAddr", "/Mixing/DCA:2/Label:0/Name:0"}, {"prmValue", "Drums 2"}});
    ASSERT_TRUE(okay("setData_prm_val", {{"list", list}}));
    EXPECT_EQ(get("/Mixing/DCA:0/Fader/Level").toDouble(), -100);
    EXPECT_EQ(get("/Mixing/DCA:1/Fader/Level").toDouble(), -200);
    EXPECT_EQ(get("/Mixing/DCA:2/Label:0/Name:0").toString(), "Drums 2");

    QJsonArray bad;
    bad.append(QJsonObject{{"prmAddr", "/Mixing/DCA:0/Fader/Level/MMS"}, {"prmValue", 5}});
    bad.append(QJsonObject{{"prmAddr", "/Mixing/DCA:24/Fader/Level/MMS"}, {"prmValue", 5}});
    EXPECT_FALSE(okay("setData_prm_val", {{"list", bad}}));
    bad[1] = QJsonObject{{"prmAddr", "/Mixing/DCA:1/Fader/Level/MMS"}, {"prmValue", "five"}};
    EXPECT_FALSE(okay("setData_prm_val", {{"list", bad}}));
    EXPECT_EQ(get("/Mixing/DCA:0/Fader/Level").toDouble(), -100);
    EXPECT_EQ(get("/Mixing/DCA:1/Fader/Level").toDouble(), -200);
}

TEST_F(CommandProcessorTest, StoreAndRecallCarryTheWholeMemory)
{
    ASSERT_TRUE(set(kFader, 100));
    ASSERT_TRUE(set(kName, "Vox"));
    const QString before = QDateTime::currentDateTime().addSecs(-1).toString("yyyyMMddHHmmss");
    ASSERT_TRUE(store("1.23", "Scene1.23", "Comment / Scene1.23"));
    const QString after = QDateTime::currentDateTime().addSecs(1).toString("yyyyMMddHHmmss");

    ASSERT_TRUE(set(kFader, 7));
    ASSERT_TRUE(okay("set_init_current"));
    EXPECT_EQ(get(kName).toString(), "");
    ASSERT_TRUE(set("/Mixing/Stereo:0/Mono/MMS", 1));

    ASSERT_TRUE(okay("set_scene_recall", scene("1.23")));
    EXPECT_EQ(get(kFader).toDouble(), 100);
    EXPECT_EQ(get(kName).toString(), "Vox");
    EXPECT_EQ(get("/Mixing/Stereo:0/Mono/MMS").toDouble(), 0);

    EXPECT_EQ(sceneInfo("1.23", "Comment").cmdinfo["info"].toObject()["prmValue"].toString(), "Comment / Scene1.23");
    const QString stamp = sceneInfo("1.23", "TimeStamp").cmdinfo["info"].toObject()["prmValue"].toString();
    EXPECT_GE(stamp, before);
    EXPECT_LE(stamp, after);

    EXPECT_FALSE(okay("set_scene_recall", scene("1.24")));
    EXPECT_FALSE(okay("set_scene_recall", info({{"prmSceneCategory", "UserB"}, {"prmSceneNumber", "1.23"}})));
    EXPECT_FALSE(okay("set_scene_store", scene("2.00")));  // title and comment missing
    EXPECT_FALSE(store("0.00"));
    // Scene 0.00 is the initial data: recalling it resets the memory.
    ASSERT_TRUE(okay("set_scene_recall", scene("0.00")));
    EXPECT_EQ(get(kFader).toDouble(), 0);
}

TEST_F(CommandProcessorTest, SceneInformationIsReadAndWrittenPerType)
{
    EXPECT_EQ(sceneInfo("4.00", "Title").result, "ng");
    ASSERT_TRUE(store("4.00"));
    auto setInfo = [&](const QString& type, const QString& value) {
        return okay("set_scene_info", scene("4.00", {{"prmSceneInfoType", type}, {"prmValue", value}}));
    };
    EXPECT_EQ(sceneInfo("4.00", "Protect").cmdinfo["info"].toObject()["prmValue"].toString(), "off");
    EXPECT_TRUE(setInfo("Protect", "on"));
    EXPECT_EQ(sceneInfo("4.00", "Protect").cmdinfo["info"].toObject()["prmValue"].toString(), "on");
    EXPECT_FALSE(setInfo("Protect", "yes"));
    EXPECT_TRUE(setInfo("Title", QString::fromUtf8("Zweiter Teil – Ende")));
    EXPECT_EQ(sceneInfo("4.00", "Title").cmdinfo["info"].toObject()["prmValue"].toString(),
              QString::fromUtf8("Zweiter Teil – Ende"));
    EXPECT_TRUE(setInfo("TimeStamp", "20240102030405"));
    EXPECT_EQ(sceneInfo("4.00", "TimeStamp").cmdinfo["info"].toObject()["prmValue"].toString(), "20240102030405");
    EXPECT_FALSE(setInfo("TimeStamp", "2024010203040"));
    EXPECT_FALSE(setInfo("Colour", "red"));
    EXPECT_EQ(sceneInfo("4.00", "Colour").result, "ng");
    EXPECT_FALSE(okay("set_scene_info", scene("5.00", {{"prmSceneInfoType", "Title"}, {"prmValue", "x"}})));
    // Storing again keeps the protect flag and replaces the title.
    ASSERT_TRUE(store("4.00", "New"));
    EXPECT_EQ(sceneInfo("4.00", "Protect").cmdinfo["info"].toObject()["prmValue"].toString(), "on");
    EXPECT_EQ(sceneInfo("4.00", "Title").cmdinfo["info"].toObject()["prmValue"].toString(), "New");
}

// Order of the rows is covered through the link; here the edges of the list.
TEST_F(CommandProcessorTest, SceneListRowsEndAtRow499AndAreReadOnly)
{
    EXPECT_EQ(row(0), "");
    ASSERT_TRUE(store("999.99"));
    ASSERT_TRUE(store("12.50"));
    EXPECT_EQ(row(0), "12.50");
    EXPECT_EQ(row(1), "999.99");
    EXPECT_EQ(row(499), "");
    EXPECT_EQ(final("get_prm_val", info({{"prmAddr", "/SceneList/Bank:0/Info:500/SceneNumber:0"}})).result, "ng");
    EXPECT_FALSE(set("/SceneList/Bank:0/Info:0/SceneNumber:0", "7.00"));
}

TEST_F(CommandProcessorTest, LongCommandsReportProgressBeforeTheirResult)
{
    const QString path = dir.filePath("p.KX9F");
    const QList<QPair<QString, QJsonObject>> longOnes = {
        {"set_save", info({{"path", path}})},
        {"set_load", info({{"path", path}})},
        {"set_scene_store", scene("1.00", {{"prmSceneTitle", "t"}, {"prmSceneComment", "c"}})},
        {"set_scene_recall", scene("1.00")},
        {"set_init_current", QJsonObject()},
        {"set_scene_recall", scene("8.00")},
    };
    for (const auto& c : longOnes) {
        const QVector<ReplyStep> steps = p.handle(c.first, c.second);
        ASSERT_EQ(steps.size(), 2) << c.first.toStdString();
        EXPECT_EQ(steps[0].result, "progress");
        EXPECT_NE(steps[0].progress, "100");
        EXPECT_EQ(steps[1].progress, "100");
    }
    EXPECT_EQ(p.handle("set_scene_recall", scene("8.00")).last().result, "ng");
    EXPECT_EQ(p.handle("get_prm_val", info({{"prmAddr", kFader}})).size(), 1);
}

TEST_F(CommandProcessorTest, FilesRoundTripMemoryAndScenes)
{
    ASSERT_TRUE(set(kName, "Bass DI"));
    ASSERT_TRUE(store("2.50", "Verse", "loud"));
    ASSERT_TRUE(okay("set_scene_info", scene("2.50", {{"prmSceneInfoType", "Protect"}, {"prmValue", "on"}})));
    ASSERT_TRUE(set(kFader, -32768));
    ASSERT_TRUE(okay("set_save", info({{"path", "show.KX9F"}})));  // relative to the work directory
    ASSERT_TRUE(QFile::exists(dir.filePath("show.KX9F")));

    CommandProcessor other(dir.path());
    ASSERT_EQ(other.handle("set_load", info({{"path", dir.filePath("show.KX9F")}})).last().result, "ok");
    ConsoleValue v;
    ASSERT_TRUE(other.memory().read(kFader, &v));
    EXPECT_EQ(v.integerValue(), -32768);
    ASSERT_NE(other.scenes().find(250), nullptr);
    EXPECT_EQ(other.scenes().find(250)->title, "Verse");
    EXPECT_TRUE(other.scenes().find(250)->protect);
    EXPECT_EQ(other.handle("set_scene_recall", scene("2.50")).last().result, "ok");
    ASSERT_TRUE(other.memory().read(kFader, &v));
    EXPECT_EQ(v.integerValue(), 0);
}

TEST_F(CommandProcessorTest, BadFilesAreRefusedAndChangeNothing)
{
    ASSERT_TRUE(okay("set_save", info({{"path", "good.KX9F"}})));
    QFile good(dir.filePath("good.KX9F"));
    ASSERT_TRUE(good.open(QIODevice::ReadOnly));
    const QByteArray bytes = good.readAll();
    good.close();

    auto writeFile = [&](const QString& name, const QByteArray& content) {
        QFile f(dir.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
        return f.fileName();
    };
    QJsonObject doc = QJsonDocument::fromJson(bytes).object();
    QJsonObject foreign = doc;
    foreign["format"] = "RQ10";
    QJsonObject newer = doc;
    newer["version"] = 2;
    QJsonObject badValue = doc;
    badValue["current"] = QJsonObject{{"/Mixing/InputChannel:5/Fader/Level", "loud"}};
    QJsonObject badAddress = doc;
    badAddress["current"] = QJsonObject{{"/Mixing/InputChannel:500/Fader/Level", 1}};
    QJsonObject badScene = doc;
    badScene["scenes"] = QJsonArray{QJsonObject{{"number", "1.5"}}};

    const QStringList files = {
        writeFile("truncated.KX9F", bytes.left(bytes.size() / 2)),
        writeFile("empty.KX9F", QByteArray()),
        writeFile("garbage.KX9F", "\x89PNG\r\n\x1a\n not a console"),
        writeFile("foreign.KX9F", QJsonDocument(foreign).toJson()),
        writeFile("newer.KX9F", QJsonDocument(newer).toJson()),
        writeFile("badvalue.KX9F", QJsonDocument(badValue).toJson()),
        writeFile("badaddress.KX9F", QJsonDocument(badAddress).toJson()),
        writeFile("badscene.KX9F", QJsonDocument(badScene).toJson()),
        dir.filePath("missing.KX9F"),
        dir.path(),
    };
    ASSERT_TRUE(set(kFader, 42));
    ASSERT_TRUE(store("6.00"));
    for (const QString& f : files) {
        const ReplyStep r = final("set_load", info({{"path", f}}));
        EXPECT_EQ(r.result, "ng") << f.toStdString();
        EXPECT_FALSE(r.cmdinfo["error"].toString().isEmpty());
    }
    EXPECT_EQ(get(kFader).toDouble(), 42);
    EXPECT_NE(p.scenes().find(600), nullptr);
    EXPECT_FALSE(okay("set_save", info({{"path", dir.filePath("no/such/dir/x.KX9F")}})));
    EXPECT_FALSE(okay("set_load", info({{"path", ""}})));
}

TEST_F(CommandProcessorTest, WindowVisibilityAndUnknownCommands)
{
    EXPECT_TRUE(okay("set_window_visibility", info({{"prmWindowVisibility", "Hidden"}})));
    EXPECT_FALSE(okay("set_window_visibility", info({{"prmWindowVisibility", "Invisible"}})));
    EXPECT_EQ(final("get_window_visibility").cmdinfo["info"].toObject()["prmWindowVisibility"].toString(), "Hidden");
    EXPECT_EQ(final("set_everything").result, "ng");
}

TEST_F(CommandProcessorTest, ForcedTypesChangeOnlyMatchingReads)
{
    p.addForcedType("Fader/Level", 3);
    p.addForcedType("Label:0/Name", 128);
    ASSERT_TRUE(set(kFader, 9));
    const QJsonObject forced = final("get_prm_val", info({{"prmAddr", kFader}})).cmdinfo["info"].toObject();
    EXPECT_EQ(forced["prmType"].toInt(), 3);
    EXPECT_EQ(forced["prmValue"].toDouble(), 9);
    const QJsonObject asReal = final("get_prm_val", info({{"prmAddr", kName}})).cmdinfo["info"].toObject();
    EXPECT_EQ(asReal["prmType"].toInt(), 128);
    EXPECT_TRUE(asReal["prmValue"].isDouble());
    EXPECT_EQ(final("get_prm_val", info({{"prmAddr", "/Mixing/InputChannel:5/Fader/On"}})).cmdinfo["info"].toObject()["prmType"].toInt(), 4);
}
