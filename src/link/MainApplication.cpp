#include "link/MainApplication.h"

#include "host/MixerException.h"
#include "link/JsonCodec.h"
#include "link/ListValue.h"
#include "link/ProcessManager.h"
#include "link/ProcessServer.h"
#include "support/OVariant.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QMetaObject>
#include <QMutex>
#include <QMutexLocker>
#include <QReadLocker>
#include <QSet>
#include <QSettings>
#include <QThread>
#include <QUuid>
#include <QWriteLocker>
#include <QtDebug>

#include <algorithm>

namespace {

struct BlockPrefix {
    const char* prefix;
    int highest;
};

// Searched in this order; a prefix matches anywhere in the address.
const BlockPrefix kReadBlocks[] = {
    {"/Mixing/InputChannel:", 119},
    {"/Mixing/Mix:", 47},
    {"/Mixing/Matrix:", 11},
    {"/Mixing/Stereo:", 3},
    {"/Mixing/DCA:", 23},
    {"/Mixing/GEQRack2:", 31},
    {"/FX/FX:", 15},
};

const BlockPrefix kWriteBlocks[] = {
    {"/Mixing/InputChannel:", 119},
    {"/Mixing/Mix:", 47},
    {"/Mixing/Matrix:", 11},
    {"/Mixing/Stereo:", 3},
    {"/Mixing/DCA:", 23},
};

template <std::size_t N>
const BlockPrefix* findBlock(const BlockPrefix (&table)[N], const QString& address, int& position)
{
    for (const BlockPrefix& block : table) {
        position = address.indexOf(QLatin1String(block.prefix));
        if (position >= 0)
            return &block;
    }
    position = -1;
    return nullptr;
}

const char* const kLaunchTitle = "Plaxbridge (QORA Version)";
const char* const kFailurePrefix = "MainApplication::doCommandCreate() : ";
const char* const kIniMissing = "KX9.ini file not found.";
const char* const kIniWrong = "Wrong KX9.ini file.";
const char* const kEditorMissing = "QORA Editor executable file not found.";

QMutex& reporterMutex()
{
    static QMutex mutex;
    return mutex;
}

MainApplication::LaunchFailureReporter& reporterSlot()
{
    static MainApplication::LaunchFailureReporter reporter;
    return reporter;
}

void defaultLaunchFailureReport(const QString& title, const QString& text)
{
    // Widgets belong to the GUI thread; the worker only posts the box there.
    if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance())) {
        QMetaObject::invokeMethod(
            app,
            [title, text]() { QMessageBox::critical(nullptr, title, text, QMessageBox::Ok, QMessageBox::NoButton); },
            Qt::QueuedConnection);
    } else {
        qCritical("%s: %s", qUtf8Printable(title), qUtf8Printable(text));
    }
}

QVariantMap infoMap(const QVariantMap& info)
{
    return QVariantMap{{QStringLiteral("info"), info}};
}

} // namespace

MainApplication::MainApplication(QObject* parent)
    : MainApplication(LinkTimings::fromEnvironment(), parent)
{
}

MainApplication::MainApplication(const LinkTimings& timings, QObject* parent)
    : QObject(parent)
    , serverName(QStringLiteral("{00000000-0000-0000-0000-000000000000}"))
    , processServer(nullptr)
    , processManager(nullptr)
    , lock(QReadWriteLock::NonRecursive)
    , m_commandCreated(false)
    , m_commandDestroyed(true)
    , m_mmsReadied(false)
    , m_timings(timings)
{
    serverName = QUuid::createUuid().toString();
    processServer = new ProcessServer(serverName, this);
    processManager = new ProcessManager(this);
    static_cast<IProcessServer*>(processServer)->addObserver(processManager);

    connect(processManager, &ProcessManager::processCreated, this, &MainApplication::onProcessCreated);
    connect(processManager, &ProcessManager::processDestroyed, this, &MainApplication::onProcessDestroyed);
    connect(processManager, &ProcessManager::processReplyReceived, this, &MainApplication::onProcessReplyReceived);
    connect(processManager, &ProcessManager::processNotifyReceived, this, &MainApplication::onProcessNotifyReceived);
}

MainApplication::~MainApplication()
{
    disconnect(processManager, nullptr, this, nullptr);
    static_cast<IProcessServer*>(processServer)->removeObserver(processManager);
    delete processManager;
    processManager = nullptr;
    delete processServer;
    processServer = nullptr;
    dropBlockCache();
    pendingWrites.clear();
}

const LinkTimings& MainApplication::timings() const
{
    return m_timings;
}

// ---------------------------------------------------------------------------
// Flags and waiting

bool MainApplication::commandCreated() const
{
    QReadLocker locker(&lock);
    return m_commandCreated;
}

bool MainApplication::commandDestroyed() const
{
    QReadLocker locker(&lock);
    return m_commandDestroyed;
}

bool MainApplication::mmsReadied() const
{
    QReadLocker locker(&lock);
    return m_mmsReadied;
}

bool MainApplication::editorGone() const
{
    QReadLocker locker(&lock);
    return m_editorGone;
}

void MainApplication::setEditorGoneHandler(EditorGoneHandler handler)
{
    goneHandler = std::move(handler);
}

bool MainApplication::waitForCommandCreated()
{
    return waitForFlag(m_commandCreated, m_timings.createPolls, m_timings.createSleepMs);
}

bool MainApplication::waitForMmsReadied()
{
    return waitForFlag(m_mmsReadied, m_timings.readyPolls, m_timings.readySleepMs);
}

bool MainApplication::waitForCommandDestroyed()
{
    return waitForFlag(m_commandDestroyed, m_timings.destroyPolls, m_timings.destroySleepMs);
}

bool MainApplication::waitForFlag(const bool& flag, int polls, int sleepMs)
{
    if (m_timings.pollingWait) {
        for (int i = 0; i < polls; ++i) {
            {
                QReadLocker locker(&lock);
                if (flag || m_editorGone)
                    return flag;
            }
            QThread::msleep(static_cast<unsigned long>(std::max(sleepMs, 0)));
        }
    } else {
        const QDeadlineTimer deadline(qint64(std::max(polls, 0)) * std::max(sleepMs, 0), Qt::PreciseTimer);
        QReadLocker locker(&lock);
        // wait() drops the lock while asleep and takes it back for reading.
        while (!flag && !m_editorGone && !deadline.hasExpired())
            stateChanged.wait(&lock, deadline);
    }
    QReadLocker locker(&lock);
    return flag;
}

void MainApplication::waitForReply(const QString& label, int limit, ReplyRecord& out)
{
    Q_UNUSED(label)
    if (limit < 1)
        return;
    if (m_timings.pollingWait) {
        for (int i = 0; i < limit; ++i) {
            {
                QReadLocker locker(&lock);
                if (lastReply.isFinal()) {
                    out = lastReply;
                    return;
                }
                // No answer can come any more.
                if (m_editorGone)
                    return;
            }
            QThread::msleep(1);
        }
        return;
    }
    const QDeadlineTimer deadline(limit, Qt::PreciseTimer);
    QReadLocker locker(&lock);
    for (;;) {
        if (lastReply.isFinal()) {
            out = lastReply;
            return;
        }
        if (m_editorGone || deadline.hasExpired())
            return;
        stateChanged.wait(&lock, deadline);
    }
}

void MainApplication::clearResult()
{
    QWriteLocker locker(&lock);
    lastReply.cmdResult.clear();
}

bool MainApplication::invokeAndWait(const char* slot, int limit, ReplyRecord& reply, QGenericArgument a0,
                                    QGenericArgument a1, QGenericArgument a2, QGenericArgument a3)
{
    if (!QMetaObject::invokeMethod(this, slot, Qt::AutoConnection, a0, a1, a2, a3))
        qWarning("MainApplication: cannot invoke %s", slot);
    reply.clear();
    waitForReply(QString::fromLatin1(slot), limit, reply);
    forgetIfSilent(reply);
    return reply.cmdResult == QLatin1String("ok");
}

void MainApplication::forgetIfSilent(const ReplyRecord& reply)
{
    // An editor that did not answer may be gone or may have lost state: what
    // it said before is no longer evidence of what it holds.
    if (reply.cmdResult.isEmpty())
        readCache.clear();
}

// ---------------------------------------------------------------------------
// Command operations (host thread)

namespace {

// How GetPrmVal serves one address: singly, or as channel `channel` of the
// block `key` (the address without its channel number) with channels
// 0..highest.
struct ReadPlan {
    bool single = true;
    int channel = 0;
    int highest = 0;
    QString key;
};

// The block an address belongs to, whether or not it is read as part of it.
ReadPlan blockOf(const QString& address)
{
    ReadPlan plan;
    int prefixPos = -1;
    const BlockPrefix* block = findBlock(kReadBlocks, address, prefixPos);
    if (!block)
        return plan;
    plan.single = false;

    const int colon = address.indexOf(QLatin1Char(':'));
    const int slash = address.indexOf(QLatin1Char('/'), colon + 1);
    const QString channelText = address.mid(colon + 1, slash < 0 ? -1 : slash - colon - 1);
    bool isNumber = false;
    plan.channel = channelText.toInt(&isNumber, 10);
    if (!isNumber)
        plan.channel = 0;
    plan.highest = block->highest;
    plan.key = address;
    plan.key.remove(prefixPos + int(qstrlen(block->prefix)), channelText.size());
    return plan;
}

ReadPlan planRead(const QString& address)
{
    if ((address.contains(QLatin1String("Dynamics")) && address.contains(QLatin1String("Type")))
        || (address.contains(QLatin1String("/FX/FX")) && address.contains(QLatin1String("PluginName"))))
        return ReadPlan();
    return blockOf(address);
}

// planRead for hosts that read a parameter's channels one after the other:
// those addresses differ from the last one planned only in the channel
// digits, and so do their plans. The plan depends on the address alone.
ReadPlan planReadInRun(const QString& address)
{
    thread_local struct {
        QString address;
        ReadPlan plan;
        int digitsAt = -1;   // -1: the last plan is no block plan to vary
        int digitsLength = 0;
    } last;

    if (last.digitsAt >= 0) {
        const int tail = last.address.size() - last.digitsAt - last.digitsLength;
        const int digits = address.size() - last.digitsAt - tail;
        const QChar* chars = address.constData();
        const QChar* lastChars = last.address.constData();
        if (digits >= 1 && digits <= 9 && std::equal(chars, chars + last.digitsAt, lastChars)
            && std::equal(chars + last.digitsAt + digits, chars + address.size(), lastChars + last.digitsAt + last.digitsLength)) {
            int channel = 0;
            bool isNumber = true;
            for (const QChar* c = chars + last.digitsAt; c != chars + last.digitsAt + digits && isNumber; ++c) {
                isNumber = c->unicode() >= '0' && c->unicode() <= '9';
                channel = channel * 10 + (c->unicode() - '0');
            }
            if (isNumber) {
                ReadPlan plan = last.plan;
                plan.channel = channel;
                return plan;
            }
        }
    }

    ReadPlan plan = planRead(address);
    last.address = address;
    last.plan = plan;
    last.digitsAt = -1;
    if (plan.single)
        return plan;
    // Only where the channel is plain digits right after the block prefix,
    // which is where blockOf took it out of the key.
    const int from = address.indexOf(QLatin1Char(':')) + 1;
    int to = from;
    while (to < address.size() && address.at(to).isDigit() && address.at(to).unicode() < 0x80)
        ++to;
    int prefixPos = -1;
    const BlockPrefix* block = findBlock(kReadBlocks, address, prefixPos);
    if (to > from && block && prefixPos + int(qstrlen(block->prefix)) == from
        && (to == address.size() || address.at(to) == QLatin1Char('/'))) {
        last.digitsAt = from;
        last.digitsLength = to - from;
    }
    return plan;
}

// The address of one channel of a block: the index after the key's first ":".
QString blockAddress(const QString& key, int channel)
{
    QString address = key;
    address.insert(key.indexOf(QLatin1Char(':')) + 1, QString::number(channel));
    return address;
}

OVariant replyValue(const QVariantMap& element)
{
    return JsonCodec::convertQVariantToOVariant(element.value(QStringLiteral("prmValue")),
                                                element.value(QStringLiteral("prmType")).toInt());
}

// The values of a "getData_prm_val" reply, in list order, appended.
void appendListValues(const QVariantMap& info, QVector<OVariant>& values)
{
    const QVariant list = info.value(QStringLiteral("list"));
    if (list.userType() == qMetaTypeId<ListValues>()) {
        const QVector<ListValue>& entries = static_cast<const ListValues*>(list.constData())->entries;
        values.reserve(values.size() + entries.size());
        for (const ListValue& entry : entries)
            values.append(JsonCodec::convertQVariantToOVariant(entry.value, entry.type.toInt()));
        return;
    }
    const QVariantList elements = list.toList();
    values.reserve(values.size() + elements.size());
    for (const QVariant& element : elements)
        values.append(replyValue(element.toMap()));
}

// A "getData_prm_val" list of `addresses`.
QVariantList readEntries(const QStringList& addresses)
{
    QVariantList list;
    list.reserve(addresses.size());
    for (const QString& address : addresses)
        list.append(QVariantMap{{QStringLiteral("prmAddr"), address}});
    return list;
}

QVariantMap writeEntry(const QString& address, const OVariant& value)
{
    return QVariantMap{{QStringLiteral("prmAddr"), address},
                       {QStringLiteral("prmValue"), JsonCodec::convertOVariantToQVariant(value)}};
}

} // namespace

WireMode MainApplication::wireMode() const
{
    return m_wireMode.load();
}

void MainApplication::setWriteRefusalHandler(WriteRefusalHandler handler)
{
    refusalHandler = std::move(handler);
}

void MainApplication::GetPrmVal(const QString& address, OVariant& value)
{
    if (wireMode() == WireMode::Strict)
        strictGetPrmVal(address, value);
    else
        batchedGetPrmVal(address, value);
}

bool MainApplication::readSingle(const QString& address, OVariant& value)
{
    ReplyRecord reply;
    if (!invokeAndWait("doCommandGetPrmVal", m_timings.shortLimit, reply, Q_ARG(QString, address)))
        return false;
    value = replyValue(reply.info.value(QStringLiteral("info")).toMap());
    qDebug("single getParam");
    return true;
}

bool MainApplication::readBlock(const QString& key, int highest, QVector<OVariant>& values)
{
    QStringList addresses;
    addresses.reserve(highest + 1);
    for (int i = 0; i <= highest; ++i)
        addresses.append(blockAddress(key, i));
    if (wireMode() == WireMode::Strict)
        dropBlockCache();
    return readList(addresses, values);
}

bool MainApplication::readList(const QStringList& addresses, QVector<OVariant>& values)
{
    ReplyRecord reply;
    const bool ok = wireMode() == WireMode::Strict
        ? invokeAndWait("doCommandGetPrmData", m_timings.shortLimit, reply, Q_ARG(QVariantList, readEntries(addresses)))
        : invokeAndWait("doCommandGetPrmList", m_timings.shortLimit, reply,
                        Q_ARG(QByteArray, JsonCodec::readListInfo(addresses)));
    if (!ok)
        return false;
    appendListValues(reply.info, values);
    return true;
}

void MainApplication::GetPrmVals(const QStringList& addresses, QVector<OVariant>& values)
{
    values.clear();
    if (wireMode() == WireMode::Batched)
        flushWrites();
    clearResult();
    QVector<OVariant> answered;
    const bool ok = readList(addresses, answered) && answered.size() == addresses.size();
    values.resize(addresses.size());
    if (!ok)
        return;
    values = answered;
    if (wireMode() == WireMode::Batched) {
        for (int i = 0; i < addresses.size(); ++i)
            readCache.storeSingle(addresses.at(i), values.at(i));
    }
}

void MainApplication::strictGetPrmVal(const QString& address, OVariant& value)
{
    clearResult();
    const ReadPlan plan = planRead(address);
    if (plan.single) {
        if (!readSingle(address, value))
            value.clear();
        return;
    }
    if (plan.key == blockCacheKey && plan.channel >= 0 && plan.channel < blockCache.size()) {
        value = *blockCache.at(plan.channel);
        return;
    }

    QVector<OVariant> values;
    const bool ok = readBlock(plan.key, plan.highest, values);
    value.clear();
    if (!ok)
        return;
    for (int j = 0; j < values.size(); ++j) {
        blockCache.append(new OVariant(values.at(j)));
        if (j == plan.channel)
            value = values.at(j);
    }
    blockCacheKey = plan.key;
}

void MainApplication::suggestReadOrder(const QVector<ReadSuggestion>& parameters)
{
    if (wireMode() != WireMode::Batched || !readOrder.isEmpty())
        return;
    QVector<ReadOrder::Unit> units;
    QSet<QString> keys;
    const auto add = [&](const QString& key, int highest) {
        if (!keys.contains(key)) {
            keys.insert(key);
            units.append(ReadOrder::Unit{key, highest});
        }
    };
    for (const ReadSuggestion& parameter : parameters) {
        const ReadPlan plan = planRead(parameter.makeAddress(parameter.name, parameter.channelMin));
        if (!plan.single) {
            add(plan.key, plan.highest);
            continue;
        }
        for (int channel = parameter.channelMin; channel <= parameter.channelMax; ++channel)
            add(parameter.makeAddress(parameter.name, channel), -1);
    }
    readOrder.suggest(units);
}

bool MainApplication::readAhead(const QString& key)
{
    QStringList addresses;
    QVector<ReadOrder::Unit> units;
    for (const ReadOrder::Unit& unit : readOrder.following(key, MaxBatchEntries)) {
        OVariant cached;
        if (!units.isEmpty()
            && (unit.highest < 0 ? readCache.findSingle(unit.key, cached) : readCache.findBlock(unit.key, 0, cached)))
            continue;
        units.append(unit);
        if (unit.highest < 0)
            addresses.append(unit.key);
        for (int i = 0; i <= unit.highest; ++i)
            addresses.append(blockAddress(unit.key, i));
    }
    if (units.size() < 2)
        return false;

    QVector<OVariant> values;
    if (!readList(addresses, values) || values.size() != addresses.size())
        return false;
    const OVariant* next = values.constData();
    for (const ReadOrder::Unit& unit : units) {
        if (unit.highest < 0) {
            readCache.storeSingle(unit.key, *next++);
            continue;
        }
        readCache.storeBlock(unit.key, QVector<OVariant>(next, next + unit.highest + 1));
        next += unit.highest + 1;
    }
    return true;
}

void MainApplication::batchedGetPrmVal(const QString& address, OVariant& value)
{
    const ReadPlan plan = planReadInRun(address);
    const QString& key = plan.single ? address : plan.key;
    readOrder.note(key, plan.single ? -1 : plan.highest);
    if (plan.single ? readCache.findSingle(address, value) : readCache.findBlock(plan.key, plan.channel, value))
        return;

    // The editor must see every earlier write before it answers.
    flushWrites();
    clearResult();
    value.clear();
    if (readAhead(key)
        && (plan.single ? readCache.findSingle(address, value) : readCache.findBlock(plan.key, plan.channel, value)))
        return;
    clearResult();
    if (plan.single) {
        if (readSingle(address, value))
            readCache.storeSingle(address, value);
        return;
    }
    QVector<OVariant> values;
    if (!readBlock(plan.key, plan.highest, values))
        return;
    if (plan.channel >= 0 && plan.channel < values.size())
        value = values.at(plan.channel);
    readCache.storeBlock(plan.key, values);
}

bool MainApplication::SetPrmVal(const QString& address, const OVariant& value)
{
    if (value.type() != OVariant::Integer && value.type() != OVariant::String)
        return false;
    if (wireMode() == WireMode::Strict)
        return strictSetPrmVal(address, value);

    const QVariant wire = JsonCodec::convertOVariantToQVariant(value);
    if (mirror.needsWrite(address, wire))
        queueWrite(address, wire);
    return true;
}

bool MainApplication::SetPrmVal(const QString& name, int channel, MemoryMirror::AddressMaker makeAddress,
                                const OVariant& value)
{
    if (value.type() != OVariant::Integer && value.type() != OVariant::String)
        return false;
    if (wireMode() == WireMode::Strict)
        return strictSetPrmVal(makeAddress(name, channel), value);

    const QVariant wire = JsonCodec::convertOVariantToQVariant(value);
    QString address;
    if (mirror.needsWrite(name, channel, makeAddress, address, wire))
        queueWrite(address, wire);
    return true;
}

void MainApplication::queueWrite(const QString& address, const QVariant& wire)
{
    pendingWrites.append(QVariantMap{{QStringLiteral("prmAddr"), address}, {QStringLiteral("prmValue"), wire}});
    readCache.invalidate(address, blockOf(address).key);
    if (pendingWrites.size() >= MaxBatchEntries)
        flushWrites();
}

bool MainApplication::strictSetPrmVal(const QString& address, const OVariant& value)
{
    clearResult();

    int prefixPos = -1;
    const BlockPrefix* block = findBlock(kWriteBlocks, address, prefixPos);
    if (block) {
        const int start = prefixPos + int(qstrlen(block->prefix));
        const int slash = address.indexOf(QLatin1Char('/'), start);
        const uint channel = address.mid(start, slash < 0 ? -1 : slash - start).toUInt(nullptr, 10);
        if (channel <= uint(block->highest)) {
            pendingWrites.append(writeEntry(address, value));
            if (channel != uint(block->highest))
                return true;
            const QVariantList batch = pendingWrites;
            pendingWrites.clear();
            ReplyRecord reply;
            return invokeAndWait("doCommandSetPrmData", m_timings.shortLimit, reply, Q_ARG(QVariantList, batch));
        }
    }

    ReplyRecord reply;
    return invokeAndWait("doCommandSetPrmVal", m_timings.shortLimit, reply, Q_ARG(QString, address),
                         Q_ARG(QVariant, JsonCodec::convertOVariantToQVariant(value)));
}

bool MainApplication::flushWrites()
{
    if (wireMode() == WireMode::Strict || pendingWrites.isEmpty())
        return true;
    QVariantList batch;
    batch.swap(pendingWrites);
    return sendBatch(batch);
}

bool MainApplication::sendBatch(const QVariantList& batch)
{
    ReplyRecord reply;
    clearResult();
    if (invokeAndWait("doCommandSetPrmData", m_timings.shortLimit, reply, Q_ARG(QVariantList, batch)))
        return true;
    // No answer at all: resending would only multiply the waits.
    if (reply.cmdResult != QLatin1String("ng")) {
        reportRefused(batch, QStringLiteral("no answer from the editor"));
        return false;
    }
    // The editor refuses a list as a whole. Halves keep the order of the
    // writes, down to single writes, so what lands is what single writes
    // would have left.
    if (batch.size() == 1)
        return sendSingle(batch.first().toMap());
    const int half = batch.size() / 2;
    const bool first = resend(batch.mid(0, half));
    const bool second = resend(batch.mid(half));
    return first && second;
}

bool MainApplication::resend(const QVariantList& part)
{
    return part.size() == 1 ? sendSingle(part.first().toMap()) : sendBatch(part);
}

bool MainApplication::sendSingle(const QVariantMap& entry)
{
    ReplyRecord reply;
    clearResult();
    if (invokeAndWait("doCommandSetPrmVal", m_timings.shortLimit, reply,
                      Q_ARG(QString, entry.value(QStringLiteral("prmAddr")).toString()),
                      Q_ARG(QVariant, entry.value(QStringLiteral("prmValue")))))
        return true;
    // Only the final word of the editor is trusted; its reason, when it gives
    // one, is for the user's eyes.
    reportRefused(QVariantList{entry}, reply.cmdResult.isEmpty()
                                           ? QStringLiteral("no answer from the editor")
                                           : reply.info.value(QStringLiteral("error")).toString());
    return false;
}

void MainApplication::reportRefused(const QVariantList& batch, const QString& reason)
{
    for (const QVariant& element : batch) {
        const QVariantMap entry = element.toMap();
        mirror.refused(entry.value(QStringLiteral("prmAddr")).toString());
        if (refusalHandler)
            refusalHandler(entry.value(QStringLiteral("prmAddr")).toString(),
                           entry.value(QStringLiteral("prmValue")), reason);
    }
}

void MainApplication::beforeCommand()
{
    flushWrites();
}

void MainApplication::beforeMemoryChange()
{
    flushWrites();
    readCache.clear();
    readOrder.newPass();
}

bool MainApplication::GetSceneInfo(const QString& type, const QString& category, const QString& sceneNo,
                                   QString& text)
{
    beforeCommand();
    clearResult();
    ReplyRecord reply;
    if (invokeAndWait("doCommandGetSceneInfo", m_timings.shortLimit, reply, Q_ARG(QString, type),
                      Q_ARG(QString, category), Q_ARG(QString, sceneNo))) {
        text = reply.info.value(QStringLiteral("info")).toMap().value(QStringLiteral("prmValue")).toString();
        return true;
    }
    text.clear();
    return false;
}

bool MainApplication::SetSceneInfo(const QString& type, const QString& category, const QString& sceneNo,
                                   const QString& value)
{
    beforeCommand();
    clearResult();
    ReplyRecord reply;
    return invokeAndWait("doCommandSetSceneInfo", m_timings.shortLimit, reply, Q_ARG(QString, type),
                         Q_ARG(QString, category), Q_ARG(QString, sceneNo), Q_ARG(QString, value));
}

bool MainApplication::SetSceneRecall(const QString& category, const QString& sceneNo)
{
    beforeMemoryChange();
    clearResult();
    ReplyRecord reply;
    mirror.forget();
    return invokeAndWait("doCommandSetSceneRecall", m_timings.longLimit, reply, Q_ARG(QString, category),
                         Q_ARG(QString, sceneNo));
}

bool MainApplication::SetSceneStore(const QString& category, const QString& sceneNo, const QString& title,
                                    const QString& comment)
{
    beforeMemoryChange();
    clearResult();
    ReplyRecord reply;
    return invokeAndWait("doCommandSetSceneStore", m_timings.longLimit, reply, Q_ARG(QString, category),
                         Q_ARG(QString, sceneNo), Q_ARG(QString, title), Q_ARG(QString, comment));
}

bool MainApplication::SetLoad(const QString& filePath)
{
    beforeMemoryChange();
    clearResult();
    ReplyRecord reply;
    mirror.forget();
    return invokeAndWait("doCommandSetLoad", m_timings.longLimit, reply, Q_ARG(QString, filePath));
}

bool MainApplication::SetSave(const QString& filePath)
{
    beforeCommand();
    clearResult();
    ReplyRecord reply;
    return invokeAndWait("doCommandSetSave", m_timings.longLimit, reply, Q_ARG(QString, filePath));
}

bool MainApplication::SetInitCurrent()
{
    beforeMemoryChange();
    clearResult();
    ReplyRecord reply;
    mirror.forget();
    if (!invokeAndWait("doCommandSetInitCurrent", m_timings.longLimit, reply))
        return false;
    if (wireMode() == WireMode::Batched) {
        mirror.reset();
        learnDefaults();
    }
    return true;
}

void MainApplication::learnDefaults()
{
    const QStringList addresses = mirror.takeUnlearned();
    for (int first = 0; first < addresses.size(); first += MaxBatchEntries) {
        const QStringList part = addresses.mid(first, MaxBatchEntries);
        clearResult();
        QVector<OVariant> values;
        if (!readList(part, values))
            continue;
        QVector<QVariant> known;
        known.reserve(values.size());
        for (const OVariant& value : values)
            known.append(value.isValid() ? JsonCodec::convertOVariantToQVariant(value) : QVariant());
        mirror.learn(part, known);
    }
}

void MainApplication::SetWindowVisibility(const QString& visibility)
{
    beforeCommand();
    clearResult();
    ReplyRecord reply;
    invokeAndWait("doCommandSetWindowVisibility", m_timings.longLimit, reply, Q_ARG(QString, visibility));
}

void MainApplication::dropBlockCache()
{
    qDeleteAll(blockCache);
    blockCache.clear();
    blockCacheKey.clear();
}

// ---------------------------------------------------------------------------
// Launch

void MainApplication::setLaunchFailureReporter(LaunchFailureReporter reporter)
{
    QMutexLocker locker(&reporterMutex());
    reporterSlot() = std::move(reporter);
}

void MainApplication::reportLaunchFailure(const QString& text)
{
    LaunchFailureReporter reporter;
    {
        QMutexLocker locker(&reporterMutex());
        reporter = reporterSlot();
    }
    const QString title = QString::fromLatin1(kLaunchTitle);
    if (reporter)
        reporter(title, text);
    else
        defaultLaunchFailureReport(title, text);
}

void MainApplication::doCommandCreate()
{
    try {
        deviceUID = QUuid::createUuid().toString();
        const QString appDir = QCoreApplication::applicationDirPath();
        const QString iniPath = QDir(appDir).absoluteFilePath(QStringLiteral("KX9.ini"));

        const auto fail = [](const char* text) {
            reportLaunchFailure(QString::fromLatin1(text));
            throw new MixerException(std::string(kFailurePrefix) + text, "QORA", -1);
        };

        if (!QFileInfo::exists(iniPath))
            fail(kIniMissing);

        QString editorPath;
        QString modeText;
        {
            QSettings settings(iniPath, QSettings::IniFormat);
            settings.beginGroup(QStringLiteral("MainApplication"));
            editorPath = settings.value(QStringLiteral("VirtualDeviceFilePath")).toString();
            modeText = settings.value(QStringLiteral("WireMode")).toString();
            settings.endGroup();
        }
        WireMode mode = WireMode::Batched;
        if (!parseWireMode(modeText, mode))
            qWarning("KX9.ini: unknown WireMode \"%s\" (batched or strict); using batched", qUtf8Printable(modeText));
        m_wireMode = mode;
        processServer->setWholeMessageWrites(mode == WireMode::Batched);
        processServer->setCompactListReplies(mode == WireMode::Batched);
        if (editorPath.isEmpty())
            fail(kIniWrong);

        // Relative paths resolve against the current directory of this moment.
        editorPath = QFileInfo(editorPath).absoluteFilePath();
        if (!QFileInfo::exists(editorPath))
            fail(kEditorMissing);

        const QString savedDir = QDir::currentPath();
        static_cast<IProcessServer*>(processServer)->createProcess(deviceUID, editorPath, appDir, QVariantMap());
        QDir::setCurrent(savedDir);
    } catch (MixerException* e) {
        // The waiting host only sees commandCreated stay false.
        qWarning("%s", e->what());
        delete e;
    }
}

void MainApplication::doCommandDestroy()
{
    releasing = true;
    static_cast<IProcessServer*>(processServer)->destroyProcess(deviceUID);
    deviceUID.clear();
}

// ---------------------------------------------------------------------------
// Command slots (worker thread): each sends one request.

void MainApplication::request(const QString& cmdKey, const QVariantMap& cmdinfo)
{
    const QString reqUID = QUuid::createUuid().toString();
    static_cast<IProcessServer*>(processServer)->sendRequest(deviceUID, reqUID, cmdKey, cmdinfo);
}

void MainApplication::doCommandGetPrmVal(const QString& addr)
{
    request(QStringLiteral("get_prm_val"), infoMap({{QStringLiteral("prmAddr"), addr}}));
}

void MainApplication::doCommandSetPrmData(const QVariantList& dataList)
{
    request(QStringLiteral("setData_prm_val"), QVariantMap{{QStringLiteral("list"), dataList}});
}

void MainApplication::doCommandSetPrmVal(const QString& addr, const QVariant& value)
{
    request(QStringLiteral("set_prm_val"),
            infoMap({{QStringLiteral("prmAddr"), addr}, {QStringLiteral("prmValue"), value}}));
}

void MainApplication::doCommandGetPrmData(const QVariantList& dataList)
{
    request(QStringLiteral("getData_prm_val"), QVariantMap{{QStringLiteral("list"), dataList}});
}

void MainApplication::doCommandGetPrmList(const QByteArray& cmdinfo)
{
    processServer->sendRequestText(deviceUID, QUuid::createUuid().toString(), QStringLiteral("getData_prm_val"),
                                   cmdinfo);
}

void MainApplication::doCommandGetSceneInfo(const QString& type, const QString& category, const QString& sceneNo)
{
    request(QStringLiteral("get_scene_info"), infoMap({{QStringLiteral("prmSceneInfoType"), type},
                                                       {QStringLiteral("prmSceneCategory"), category},
                                                       {QStringLiteral("prmSceneNumber"), sceneNo}}));
}

void MainApplication::doCommandSetSceneInfo(const QString& type, const QString& category, const QString& sceneNo,
                                            const QString& value)
{
    request(QStringLiteral("set_scene_info"), infoMap({{QStringLiteral("prmSceneInfoType"), type},
                                                       {QStringLiteral("prmSceneCategory"), category},
                                                       {QStringLiteral("prmSceneNumber"), sceneNo},
                                                       {QStringLiteral("prmValue"), value}}));
}

void MainApplication::doCommandSetSceneRecall(const QString& category, const QString& sceneNo)
{
    request(QStringLiteral("set_scene_recall"), infoMap({{QStringLiteral("prmSceneCategory"), category},
                                                         {QStringLiteral("prmSceneNumber"), sceneNo}}));
}

void MainApplication::doCommandSetSceneStore(const QString& category, const QString& sceneNo, const QString& title,
                                             const QString& comment)
{
    request(QStringLiteral("set_scene_store"), infoMap({{QStringLiteral("prmSceneCategory"), category},
                                                        {QStringLiteral("prmSceneNumber"), sceneNo},
                                                        {QStringLiteral("prmSceneTitle"), title},
                                                        {QStringLiteral("prmSceneComment"), comment}}));
}

void MainApplication::doCommandSetLoad(const QString& filePath)
{
    request(QStringLiteral("set_load"), infoMap({{QStringLiteral("path"), filePath}}));
}

void MainApplication::doCommandSetSave(const QString& filePath)
{
    request(QStringLiteral("set_save"), infoMap({{QStringLiteral("path"), filePath}}));
}

void MainApplication::doCommandSetInitCurrent()
{
    request(QStringLiteral("set_init_current"), QVariantMap());
}

void MainApplication::doCommandSetWindowVisibility(const QString& visibility)
{
    request(QStringLiteral("set_window_visibility"), infoMap({{QStringLiteral("prmWindowVisibility"), visibility}}));
}

// ---------------------------------------------------------------------------
// Process events (worker thread)

void MainApplication::onProcessCreated(const QString& /*deviceUID*/)
{
    QWriteLocker locker(&lock);
    m_commandCreated = true;
    m_commandDestroyed = false;
    m_editorGone = false;
    stateChanged.wakeAll();
}

void MainApplication::onProcessDestroyed(const QString& /*deviceUID*/)
{
    // Reported before the waits end, so that the report comes before every
    // failure it explains.
    if (!releasing && goneHandler)
        goneHandler();
    QWriteLocker locker(&lock);
    m_commandCreated = false;
    m_commandDestroyed = true;
    m_mmsReadied = false;
    m_editorGone = true;
    stateChanged.wakeAll();
}

void MainApplication::onProcessReplyReceived(const QString& deviceUID, const QString& reqUID, const QString& cmdKey,
                                             const QVariantMap& info, const QString& cmdResult, ulong progress)
{
    QWriteLocker locker(&lock);
    lastReply.deviceUID = deviceUID;
    lastReply.reqUID = reqUID;
    lastReply.cmdKey = cmdKey;
    lastReply.info = info;
    lastReply.cmdResult = cmdResult;
    lastReply.progress = static_cast<std::uint32_t>(progress);
    if (lastReply.isFinal())
        stateChanged.wakeAll();
}

void MainApplication::onProcessNotifyReceived(const QString& /*deviceUID*/, const QString& cmdKey,
                                              const QVariantList& /*infos*/)
{
    if (cmdKey != QLatin1String("MMS Readied"))
        return;
    QWriteLocker locker(&lock);
    m_mmsReadied = true;
    stateChanged.wakeAll();
}
