#include "CommandProcessor.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <vector>

namespace {

const QString kFader = "/Mixing/InputChannel:5/Fader/Level/MMS";
const QString kName = "/Mixing/InputChannel:5/Label:0/Name:0/MMS";

QJsonObject info(const QJsonObject& fields)
{
    return QJsonObject{{"info", fields}};
}
QJsonObject at(const QString& address)
{
    return info({{"prmAddr", address}});
}
QJsonObject entry(const QString& address, const QJsonValue& value)
{
    return {{"prmAddr", address}, {"prmValue", value}};
}
QJsonObject put(const QString& address, const QJsonValue& value)
{
    return info(entry(address, value));
}
QJsonObject list(const QJsonArray& entries)
{
    return {{"list", entries}};
}
QJsonObject scene(const QString& number, QJsonObject more = {})
{
    more.insert("prmSceneCategory", "UserA");
    more.insert("prmSceneNumber", number);
    return info(more);
}
QJsonObject store(const QString& number, const QString& title = "T")
{
    return scene(number, {{"prmSceneTitle", title}, {"prmSceneComment", "C"}});
}
QJsonObject sceneInfo(const QString& number, const QString& type, const QString& value = QString())
{
    return value.isNull() ? scene(number, {{"prmSceneInfoType", type}})
                          : scene(number, {{"prmSceneInfoType", type}, {"prmValue", value}});
}
QString row(int r)
{
    return QString("/SceneList/Bank:0/Info:%1/SceneNumber:0").arg(r);
}

// One request and what its final reply must hold: the result and, where
// given, the "info" object's prmValue and prmType.
struct Step {
    const char* cmd;
    QJsonObject cmdinfo;
    const char* result;
    QJsonValue value = QJsonValue::Undefined;
    int type = -1;
};

class CommandProcessorTest : public ::testing::Test {
protected:
    CommandProcessorTest() : p(dir.path()) {}

    // Runs the requests in order on one processor.
    void run(const std::vector<Step>& steps)
    {
        for (std::size_t i = 0; i < steps.size(); ++i) {
            const Step& s = steps[i];
            const QVector<ReplyStep> replies = p.handle(s.cmd, s.cmdinfo);
            ASSERT_FALSE(replies.isEmpty()) << "step " << i;
            const ReplyStep& r = replies.last();
            const QJsonObject got = r.cmdinfo["info"].toObject();
            EXPECT_EQ(r.result, s.result) << "step " << i << ": " << s.cmd;
            EXPECT_EQ(r.result == "ng", !r.cmdinfo["error"].toString().isEmpty()) << "step " << i;
            EXPECT_TRUE(s.value.isUndefined() || got["prmValue"] == s.value) << "step " << i << ": " << s.cmd;
            EXPECT_TRUE(s.type < 0 || got["prmType"].toInt() == s.type) << "step " << i << ": " << s.cmd;
        }
    }

    QTemporaryDir dir;
    CommandProcessor p;
};

} // namespace

TEST_F(CommandProcessorTest, EachCommandAndItsRefusals)
{
    run({
        // Single values keep their types; numbers travel as numbers.
        {"set_prm_val", put(kFader, -600), "ok"},
        {"set_prm_val", put(kName, "Kick In"), "ok"},
        {"get_prm_val", at(kFader), "ok", -600, 4},
        {"get_prm_val", at(kName), "ok", "Kick In", 64},
        {"set_prm_val", put(kFader, "12"), "ng"},
        {"set_prm_val", put(kName, 3), "ng"},
        {"set_prm_val", put("/Mixing/InputChannel:5/Fader/Levle/MMS", 1), "ng"},
        {"set_prm_val", info({}), "ng"},
        {"get_prm_val", at("/No/Such:0/Address"), "ng"},
        {"get_prm_val", at(kFader), "ok", -600},
        // Block writes: numeric strings allowed, applied in list order, all or nothing.
        {"setData_prm_val", list({entry("/Mixing/DCA:0/Fader/Level/MMS", "-100"),
                                  entry("/Mixing/DCA:2/Label:0/Name:0/MMS", "Drums"),
                                  entry("/Mixing/DCA:2/Label:0/Name:0", "Drums 2")}), "ok"},
        {"get_prm_val", at("/Mixing/DCA:0/Fader/Level"), "ok", -100},
        {"get_prm_val", at("/Mixing/DCA:2/Label:0/Name:0"), "ok", "Drums 2"},
        {"setData_prm_val", list({entry("/Mixing/DCA:0/Fader/Level/MMS", 5),
                                  entry("/Mixing/DCA:24/Fader/Level/MMS", 5)}), "ng"},
        {"setData_prm_val", list({entry("/Mixing/DCA:0/Fader/Level/MMS", 5),
                                  entry("/Mixing/DCA:1/Fader/Level/MMS", "five")}), "ng"},
        {"setData_prm_val", list({QJsonObject{{"prmValue", 5}}}), "ng"},
        {"get_prm_val", at("/Mixing/DCA:0/Fader/Level"), "ok", -100},
        {"setData_prm_val", QJsonObject(), "ng"},
        // Store and recall carry the whole memory; 0.00 is the initial data.
        {"set_prm_val", put(kFader, 100), "ok"},
        {"set_scene_store", store("1.23"), "ok"},
        {"set_prm_val", put(kFader, 7), "ok"},
        {"set_init_current", {}, "ok"},
        {"get_prm_val", at(kName), "ok", ""},
        {"set_prm_val", put("/Mixing/Stereo:0/Mono/MMS", 1), "ok"},
        {"set_scene_recall", scene("1.23"), "ok"},
        {"get_prm_val", at(kFader), "ok", 100},
        {"get_prm_val", at(kName), "ok", "Kick In"},
        {"get_prm_val", at("/Mixing/Stereo:0/Mono/MMS"), "ok", 0},
        {"set_scene_recall", scene("1.24"), "ng"},
        {"set_scene_recall", info({{"prmSceneCategory", "UserB"}, {"prmSceneNumber", "1.23"}}), "ng"},
        {"set_scene_recall", scene("1.2"), "ng"},
        {"set_scene_store", scene("2.00"), "ng"},   // title and comment missing
        {"set_scene_store", store("2.00", QString(1024, 'a')), "ng"},
        {"set_scene_store", store("0.00"), "ng"},
        {"set_scene_recall", scene("0.00"), "ok"},
        {"get_prm_val", at(kFader), "ok", 0},
        // Scene information per type; storing again keeps the protect flag.
        {"get_scene_info", sceneInfo("4.00", "Title"), "ng"},
        {"set_scene_store", store("4.00"), "ok"},
        {"get_scene_info", sceneInfo("4.00", "Protect"), "ok", "off"},
        {"set_scene_info", sceneInfo("4.00", "Protect", "on"), "ok"},
        {"set_scene_info", sceneInfo("4.00", "Protect", "yes"), "ng"},
        {"set_scene_info", sceneInfo("4.00", "Title", QString::fromUtf8("Zweiter Teil – Ende")), "ok"},
        {"get_scene_info", sceneInfo("4.00", "Title"), "ok", QString::fromUtf8("Zweiter Teil – Ende")},
        {"set_scene_info", sceneInfo("4.00", "Comment", QString(1024, 'a')), "ng"},
        {"set_scene_info", sceneInfo("4.00", "TimeStamp", "20240102030405"), "ok"},
        {"get_scene_info", sceneInfo("4.00", "TimeStamp"), "ok", "20240102030405"},
        {"set_scene_info", sceneInfo("4.00", "TimeStamp", "2024010203040"), "ng"},
        {"set_scene_info", sceneInfo("4.00", "Colour", "red"), "ng"},
        {"set_scene_info", sceneInfo("5.00", "Title", "x"), "ng"},
        {"get_scene_info", sceneInfo("0.00", "Title"), "ok", "Initial Data"},
        {"set_scene_store", store("4.00", "New"), "ok"},
        {"get_scene_info", sceneInfo("4.00", "Protect"), "ok", "on"},
        {"get_scene_info", sceneInfo("4.00", "Title"), "ok", "New"},
        // The scene list's rows 0..499, in scene order, are read-only.
        {"set_scene_store", store("12.50"), "ok"},
        {"get_prm_val", at(row(0)), "ok", "1.23"},
        {"get_prm_val", at(row(1)), "ok", "4.00"},
        {"get_prm_val", at(row(2)), "ok", "12.50"},
        {"get_prm_val", at(row(499)), "ok", ""},
        {"get_prm_val", at(row(500)), "ng"},
        {"set_prm_val", put(row(0), "7.00"), "ng"},
        // Files; window visibility; unknown commands.
        {"set_save", info({{"path", dir.filePath("no/such/dir/x.KX9F")}}), "ng"},
        {"set_load", info({{"path", ""}}), "ng"},
        {"set_window_visibility", info({{"prmWindowVisibility", "Hidden"}}), "ok"},
        {"set_window_visibility", info({{"prmWindowVisibility", "Invisible"}}), "ng"},
        {"set_everything", {}, "ng"},
    });
    EXPECT_EQ(p.handle("get_window_visibility", {}).last().cmdinfo["info"].toObject()["prmWindowVisibility"],
              "Hidden");
}

// Broken files of every kind change nothing; the good one replaces the
// memory and the scenes.
TEST_F(CommandProcessorTest, FilesRoundTripAndBadOnesChangeNothing)
{
    run({{"set_prm_val", put(kFader, -32768), "ok"},
         {"set_scene_store", store("2.50", "Verse"), "ok"},
         {"set_save", info({{"path", "show.KX9F"}}), "ok"}});   // relative to the work directory
    QFile saved(dir.filePath("show.KX9F"));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const QByteArray bytes = saved.readAll();
    const QJsonObject doc = QJsonDocument::fromJson(bytes).object();
    const QList<QPair<QString, QJsonValue>> changes = {
        {"format", "RQ10"}, {"version", 2},
        {"current", QJsonObject{{"/Mixing/InputChannel:5/Fader/Level", "loud"}}},
        {"current", QJsonObject{{"/Mixing/InputChannel:500/Fader/Level", 1}}},
        {"scenes", QJsonArray{QJsonObject{{"number", "1.5"}}}}};
    QList<QByteArray> contents = {bytes.left(bytes.size() / 2), QByteArray(), "\x89PNG\r\n\x1a\n not a console"};
    for (const auto& change : changes) {
        QJsonObject broken = doc;
        broken[change.first] = change.second;
        contents << QJsonDocument(broken).toJson();
    }
    run({{"set_prm_val", put(kFader, 42), "ok"}, {"set_scene_store", store("6.00"), "ok"},
         {"set_load", info({{"path", dir.filePath("missing.KX9F")}}), "ng"},
         {"set_load", info({{"path", dir.path()}}), "ng"}});
    for (int i = 0; i < contents.size(); ++i) {
        QFile f(dir.filePath(QString("bad%1.KX9F").arg(i)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(contents[i]);
        f.close();
        run({{"set_load", info({{"path", f.fileName()}}), "ng"}});
    }
    run({{"get_prm_val", at(kFader), "ok", 42}, {"get_scene_info", sceneInfo("6.00", "Title"), "ok", "T"},
         {"set_load", info({{"path", saved.fileName()}}), "ok"},
         {"get_prm_val", at(kFader), "ok", -32768}, {"get_scene_info", sceneInfo("2.50", "Title"), "ok", "Verse"},
         {"get_scene_info", sceneInfo("6.00", "Title"), "ng"}});
}
