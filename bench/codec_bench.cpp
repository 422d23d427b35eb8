// The codec's costs per message, in isolation (Google Benchmark): a batch of
// 2,000 writes and a 120-channel block request written by the direct writer
// and by Qt's document classes, a 120-channel reply read back, and a batch
// read by the editor with RapidJSON and with Qt's parser.
#include "EditorRequest.h"
#include "link/JsonCodec.h"

#include <benchmark/benchmark.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>
#include <QVariant>

namespace {

const QString kServer = QStringLiteral("{00000000-0000-0000-0000-000000000001}");
const QString kDevice = QStringLiteral("{00000000-0000-0000-0000-000000000002}");
const QString kRequest = QStringLiteral("{00000000-0000-0000-0000-000000000003}");

QVariantMap writeBatch(int entries)
{
    QVariantList list;
    for (int i = 0; i < entries; ++i)
        list.append(QVariantMap{{QStringLiteral("prmAddr"),
                                 QStringLiteral("/Mixing/InputChannel:%1/ToMix:%2/Level/MMS").arg(i % 120).arg(i / 120)},
                                {QStringLiteral("prmValue"), -i}});
    return QVariantMap{{QStringLiteral("list"), list}};
}

QVariantMap blockRequest()
{
    QVariantList list;
    for (int i = 0; i < 120; ++i)
        list.append(QVariantMap{{QStringLiteral("prmAddr"), QStringLiteral("/Mixing/InputChannel:%1/Fader/Level/MMS").arg(i)}});
    return QVariantMap{{QStringLiteral("list"), list}};
}

QByteArray byDocument(const QVariantMap& params)
{
    QJsonObject cmdinfo;
    JsonCodec::variantMapToJson(cmdinfo, params);
    const QJsonObject inner{{"from", kServer}, {"to", kDevice}, {"reqid", kRequest}, {"cmd", "setData_prm_val"},
                            {"cmdinfo", cmdinfo}};
    return QJsonDocument(QJsonObject{{"request", inner}}).toJson(QJsonDocument::Compact);
}

void WriteBatchDirect(benchmark::State& state)
{
    const QVariantMap params = writeBatch(2000);
    QByteArray out;
    for (auto _ : state)
        JsonCodec::makeRequestMessage(out, kServer, kDevice, kRequest, QStringLiteral("setData_prm_val"), params);
    state.SetItemsProcessed(state.iterations() * 2000);
}
BENCHMARK(WriteBatchDirect)->Unit(benchmark::kMicrosecond);

void WriteBatchDocument(benchmark::State& state)
{
    const QVariantMap params = writeBatch(2000);
    for (auto _ : state)
        benchmark::DoNotOptimize(byDocument(params));
    state.SetItemsProcessed(state.iterations() * 2000);
}
BENCHMARK(WriteBatchDocument)->Unit(benchmark::kMicrosecond);

void BlockRequestDirect(benchmark::State& state)
{
    const QVariantMap params = blockRequest();
    QByteArray out;
    for (auto _ : state)
        JsonCodec::makeRequestMessage(out, kServer, kDevice, kRequest, QStringLiteral("getData_prm_val"), params);
}
BENCHMARK(BlockRequestDirect)->Unit(benchmark::kMicrosecond);

void BlockRequestDocument(benchmark::State& state)
{
    const QVariantMap params = blockRequest();
    for (auto _ : state)
        benchmark::DoNotOptimize(byDocument(params));
}
BENCHMARK(BlockRequestDocument)->Unit(benchmark::kMicrosecond);

void BlockReplyRead(benchmark::State& state)
{
    QJsonArray values;
    for (int i = 0; i < 120; ++i)
        values.append(QJsonObject{{"prmValue", -i}, {"prmType", 4}});
    const QJsonObject inner{{"from", kDevice}, {"to", kServer}, {"reqid", kRequest}, {"cmd", "getData_prm_val"},
                            {"result", "ok"}, {"progress", "100"}, {"cmdinfo", QJsonObject{{"list", values}}}};
    const QByteArray reply = QJsonDocument(QJsonObject{{"reply", inner}}).toJson(QJsonDocument::Compact);
    for (auto _ : state) {
        // What the link does with a reply: the framing's validity check,
        // then one parse for the kind and the fields.
        benchmark::DoNotOptimize(QJsonDocument::fromJson(reply).isNull());
        const QJsonObject message = JsonCodec::parseMessage(reply);
        QString from, to, reqUID, cmdKey, result;
        QVariantMap info;
        unsigned long progress = 0;
        JsonCodec::parseReplyMessage(from, to, reqUID, cmdKey, info, result, progress, message);
        benchmark::DoNotOptimize(info);
    }
}
BENCHMARK(BlockReplyRead)->Unit(benchmark::kMicrosecond);

void EditorReadsBatchRapidJson(benchmark::State& state)
{
    QByteArray line;
    JsonCodec::makeRequestMessage(line, kServer, kDevice, kRequest, QStringLiteral("setData_prm_val"), writeBatch(2000));
    for (auto _ : state) {
        EditorRequest request;
        benchmark::DoNotOptimize(EditorRequest::parse(line, &request));
    }
    state.SetItemsProcessed(state.iterations() * 2000);
}
BENCHMARK(EditorReadsBatchRapidJson)->Unit(benchmark::kMicrosecond);

void EditorReadsBatchQt(benchmark::State& state)
{
    QByteArray line;
    JsonCodec::makeRequestMessage(line, kServer, kDevice, kRequest, QStringLiteral("setData_prm_val"), writeBatch(2000));
    for (auto _ : state) {
        const QJsonObject request = QJsonDocument::fromJson(line).object().value("request").toObject();
        const QJsonArray list = request.value("cmdinfo").toObject().value("list").toArray();
        for (const QJsonValue& element : list)
            benchmark::DoNotOptimize(element.toObject().value("prmAddr").toString());
    }
    state.SetItemsProcessed(state.iterations() * 2000);
}
BENCHMARK(EditorReadsBatchQt)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
