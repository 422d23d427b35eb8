#include "mixer/QORA.h"

#include "convert/ConverterSlots.h"
#include "host/ConverterException.h"
#include "host/IConversionDescription.h"
#include "host/IFileDescription.h"
#include "host/IParameter.h"
#include "host/IParameterConverterFactory.h"
#include "host/Parameter.h"
#include "host/ParameterNotFoundException.h"
#include "link/MainApplication.h"
#include "mixer/DataDecoder.h"
#include "mixer/DataEncoder.h"
#include "mixer/LibraryCategories.h"
#include "mixer/SceneNumber.h"
#include "params/ChannelNames.h"
#include "params/DefaultValues.h"
#include "params/Journal.h"
#include "params/MmsAccess.h"
#include "params/ParameterCatalog.h"
#include "params/RackAccess.h"
#include "params/ValueAccess.h"
#include "support/OVariant.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDate>
#include <QDateTime>
#include <QMetaObject>
#include <QStringList>
#include <QThread>
#include <QTime>
#include <QtDebug>

#include <cstdlib>
#include <cstring>
#include <exception>
#include <new>

namespace {

const char RecallSafeAddress[] = "/Setup/RackAllocation:0/RecallSafe:0/On:0";
const char InitialLoadDataFile[] = "/KX9/Descriptor/initialLoadData.KX9F";
const char OwnFileType[] = "KX9F";
constexpr unsigned long SameModelPauseMs = 3000;
constexpr int SceneListRows = 500;

QString sceneListAddress(int row)
{
    return QStringLiteral("/SceneList/Bank:0/Info:%0/SceneNumber:0").arg(row);
}
constexpr int StereoParameterId = 172;
constexpr unsigned int RecallSafeFailed = 0x80000000u;
const char TimeStampFormat[] = "yyyyMMddHHmmss";

QString category()
{
    return QString::fromLatin1(SceneNumber::Category);
}

QByteArray local8(const QString& text)
{
    return text.toLocal8Bit();
}

} // namespace

const std::string QORA::MixerIdentifier = "QORA";

// ---------------------------------------------------------------- lifecycle

IMixer* QORA::create()
{
    QORA* mixer = new (std::nothrow) QORA;
    if (!mixer)
        return nullptr;
    if (!mixer->mainApplication) {
        mixer->Destroy();
        return nullptr;
    }
    return mixer;
}

QORA::QORA()
    : mainApplication(nullptr)
    , processThread(nullptr)
    , converterFactory(nullptr)
    , parkingScene(NoParkingScene)
    , firstMemoryReset(true)
    , fxSlotsRead(false)
    , velmarSlotsRead(false)
    , automixerHeld(false)
{
    qDebug("###QORA: VDP ProcessServer object create.");
    try {
        mainApplication = new MainApplication(nullptr);
        processThread = new QThread(nullptr);
    } catch (const std::bad_alloc&) {
    }

    if (!mainApplication || !processThread) {
        qDebug("###QORA: Failed to create VDP ProcessServer object.");
        delete processThread;
        delete mainApplication;
        processThread = nullptr;
        mainApplication = nullptr;
    } else {
        qDebug("###QORA: VDP ProcessServer thread start...");
        mainApplication->moveToThread(processThread);
        processThread->start(QThread::InheritPriority);
    }

    if (mainApplication) {
        mainApplication->setWriteRefusalHandler(&MmsAccess::reportRefusedWrite);
        mainApplication->setEditorGoneHandler(&Journal::editorGone);
        QMetaObject::invokeMethod(mainApplication, "doCommandCreate", Qt::AutoConnection);
        mainApplication->waitForCommandCreated();
        mainApplication->waitForMmsReadied();
        mainApplication->SetWindowVisibility(QStringLiteral("Hidden"));
    }

    resetState();
}

void QORA::resetState()
{
    parkingScene = NoParkingScene;
    firstMemoryReset = true;
    placement.clearFx();
    placement.clearVelmar();
    fxSlotsRead = false;
    velmarSlotsRead = false;
    automixerHeld = false;
}

QORA::QORA(QORA& other)
    : IMixer(other)
    , mainApplication(other.mainApplication)
    , processThread(other.processThread)
    , cachedCurrentData(other.cachedCurrentData)
    , converterFactory(other.converterFactory)
    , parkingScene(other.parkingScene)
    , firstMemoryReset(other.firstMemoryReset)
    , placement(other.placement)
    , fxSlotsRead(other.fxSlotsRead)
    , velmarSlotsRead(other.velmarSlotsRead)
    , automixerHeld(other.automixerHeld)
{
    other.converterFactory = nullptr;
}

QORA& QORA::operator=(QORA& other)
{
    if (this == &other)
        return *this;
    if (converterFactory != other.converterFactory)
        ConverterSlots::destroyFactory(converterFactory);
    mainApplication = other.mainApplication;
    processThread = other.processThread;
    cachedCurrentData = other.cachedCurrentData;
    converterFactory = other.converterFactory;
    other.converterFactory = nullptr;
    parkingScene = other.parkingScene;
    firstMemoryReset = other.firstMemoryReset;
    placement = other.placement;
    fxSlotsRead = other.fxSlotsRead;
    velmarSlotsRead = other.velmarSlotsRead;
    automixerHeld = other.automixerHeld;
    return *this;
}

QORA::~QORA()
{
    ConverterSlots::destroyFactory(converterFactory);
}

void QORA::Destroy()
{
    for (LibData& record : cachedCurrentData) {
        std::free(record.data);
        record.data = nullptr;
    }

    if (mainApplication && processThread) {
        // Batched writes still pending land before the editor goes (an
        // editor that is gone already would only make the flush wait).
        if (mainApplication->commandCreated())
            mainApplication->flushWrites();
        mainApplication->SetWindowVisibility(QStringLiteral("Minimized"));
        QMetaObject::invokeMethod(mainApplication, "doCommandDestroy", Qt::AutoConnection);
        mainApplication->waitForCommandDestroyed();
        processThread->quit();
        processThread->wait();
        // The command layer's thread has finished: deleting it here, on the
        // host's thread, races with nothing.
        delete processThread;
        processThread = nullptr;
        delete mainApplication;
        mainApplication = nullptr;
    }

    ConverterSlots::destroyFactory(converterFactory);
    std::vector<LibData>().swap(cachedCurrentData);

    // The host's interface has no virtual destructor: QORA objects are made
    // only by create() and ended only here.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdelete-non-virtual-dtor"
    delete this;
#pragma GCC diagnostic pop
}

void QORA::prepareWaitForProcessingFinished(WaitProcessing)
{
}

void QORA::waitForProcessingFinished(WaitProcessing)
{
}

void QORA::setIsProcessingFinished(bool, WaitProcessing)
{
}

bool QORA::getIsProcessingFinished(WaitProcessing)
{
    return true;
}

MmsAccess QORA::mms() const
{
    return MmsAccess(*mainApplication);
}

// ---------------------------------------------------------------- parameters

IParameterConverter* QORA::GetConverter(const std::string& targetName, IMixer* sourceMixer,
                                        IConversionDescription* description, bool flag)
{
    return ConverterSlots::getConverter(this, targetName, sourceMixer, description, flag);
}

std::string QORA::GetMixerId()
{
    return MixerIdentifier;
}

IParameter* QORA::CreateParameter(const std::string& name)
{
    const int id = ParameterCatalog::FindParameterId(name);
    if (id < 0)
        throw new ParameterNotFoundException("Parameter Id not found", name, GetMixerId());
    return new Parameter(this, id, name);
}

void QORA::LookupParameterRanges(const std::string& name, int& channelMin, int& channelMax, int& subMin,
                                 int& subMax)
{
    const CatalogEntry* entry = ParameterCatalog::find(name);
    if (!entry)
        throw new std::exception();
    channelMin = entry->channelMin;
    channelMax = entry->channelMax;
    subMin = entry->subMin;
    subMax = entry->subMax;
}

IConverterIterator* QORA::CreateIterator(IParameter* parameter, IConversionDescription* description)
{
    return ConverterSlots::createIterator(converterFactory, parameter, description);
}

bool QORA::IsOutputParameter(IParameter*)
{
    return false;
}

bool QORA::IsStereoParameter(IParameter* parameter)
{
    return parameter && parameter->GetId() == StereoParameterId;
}

// ---------------------------------------------------------------- values

int QORA::GetValue(IParameter* parameter, int channel, int subIndex)
{
    const MmsAccess store = mms();
    RackAccess racks(store, placement, fxSlotsRead, velmarSlotsRead, mainApplication->wireMode());
    return ValueAccess(store, racks).GetValue(parameter, channel, subIndex);
}

int QORA::GetMinValue(IParameter*, int, int)
{
    return 0;
}

int QORA::GetMaxValue(IParameter*, int, int)
{
    return 0;
}

void QORA::SetValue(IParameter* parameter, int channel, int value, int subIndex)
{
    const MmsAccess store = mms();
    const WireMode mode = mainApplication->wireMode();
    RackAccess racks(store, placement, fxSlotsRead, velmarSlotsRead, mode);
    ValueAccess(store, racks, mode == WireMode::Strict ? nullptr : &automixerHeld).SetValue(parameter, channel, value, subIndex);
}

// ---------------------------------------------------------------- scene memories

unsigned int QORA::setRecallSafeSetting(bool on)
{
    return mms().SetMMSValue(QString::fromLatin1(RecallSafeAddress), OVariant(on ? 1 : 0)) ? 0u : RecallSafeFailed;
}

void QORA::SetCurrentSceneMemoryInternal(int scene)
{
    if (setRecallSafeSetting(false) != 0)
        qDebug("setRecallSafeSetting ERROR");
    const QString sceneNo = SceneNumber::text(scene);
    const bool ok = mainApplication->SetSceneRecall(category(), sceneNo);
    if (ok)
        qDebug("###QORA: Recall Scene[%s, %s]", local8(category()).constData(), local8(sceneNo).constData());
    else
        qDebug("###QORA: Recall Scene[%s, %s] ERROR", local8(category()).constData(), local8(sceneNo).constData());
}

void QORA::StoreCurrentSceneMemoryInternal(int scene)
{
    setRecallSafeSetting(false);
    const QString sceneNo = SceneNumber::text(scene);
    const QString title = QStringLiteral("Scene") + sceneNo;
    const QString comment = QStringLiteral("Comment / Scene") + sceneNo;
    const bool ok = mainApplication->SetSceneStore(category(), sceneNo, title, comment);
    if (ok)
        qDebug("###QORA: Store Scene[%s, %s]", local8(category()).constData(), local8(sceneNo).constData());
    else
        qDebug("###QORA: Store Scene[%s, %s] ERROR", local8(category()).constData(), local8(sceneNo).constData());
}

void QORA::SetCurrentSceneMemory(int scene)
{
    if (parkingScene == NoParkingScene && scene != 0) {
        parkingScene = SceneNumber::Parking;
        StoreCurrentSceneMemoryInternal(parkingScene);
    }
    SetCurrentSceneMemoryInternal(scene);
    fxSlotsRead = false;
    velmarSlotsRead = false;
    automixerHeld = false;
    placement.forgetDrops();
}

void QORA::SetCurrentSceneMemory()
{
    if (parkingScene != NoParkingScene)
        SetCurrentSceneMemoryInternal(parkingScene);
    fxSlotsRead = false;
    velmarSlotsRead = false;
    automixerHeld = false;
}

void QORA::StoreCurrentSceneMemory(int scene)
{
    StoreCurrentSceneMemoryInternal(scene);
}

bool QORA::LibraryHasValidData(int scene)
{
    QString title;
    const bool ok = mainApplication->GetSceneInfo(QStringLiteral("Title"), category(), SceneNumber::text(scene), title);
    return ok && !title.isEmpty();
}

bool QORA::SceneLibraryHasData(int scene)
{
    qDebug("SceneLibraryHasData = %d", scene);
    if (scene == parkingScene)
        return false;
    return static_cast<IMixer*>(this)->LibraryHasValidData(scene);
}

void QORA::GetMMSSceneList(std::vector<unsigned int>& list)
{
    list.clear();
    const MmsAccess store = mms();
    // The rows are one list read in the batched mode, one read each in strict.
    QVector<OVariant> values;
    if (mainApplication->wireMode() == WireMode::Batched) {
        QStringList addresses;
        for (int row = 0; row < SceneListRows; ++row)
            addresses.append(sceneListAddress(row));
        store.GetMMSValues(addresses, values);
    } else {
        values.resize(SceneListRows);
        for (int row = 0; row < SceneListRows; ++row) {
            store.GetMMSValue(sceneListAddress(row), values[row]);
            if (!values[row].isValid())
                break;   // one failed read is enough to give up
        }
    }
    for (const OVariant& value : qAsConst(values)) {
        if (!value.isValid())
            throw new ConverterException("GetMMSSceneList() failed.");
        // A row holding no text holds no scene.
        if (value.type() != OVariant::String)
            continue;
        const QString text = QString::fromUtf8(value.toString());
        if (text.isEmpty())
            continue;
        list.push_back(static_cast<unsigned int>(SceneNumber::fromRowText(text)));
    }
}

void QORA::GetSceneList(unsigned int& count, unsigned int* scenes)
{
    std::vector<unsigned int> list;
    GetMMSSceneList(list);
    const unsigned int needed = static_cast<unsigned int>(list.size()) + 1;
    if (!scenes) {
        count = needed;
        return;
    }
    const unsigned int capacity = count != 0 ? count : needed;
    const unsigned int written = needed < capacity ? needed : capacity;
    scenes[0] = 0;
    for (unsigned int i = 1; i < written; ++i)
        scenes[i] = list[i - 1];
    count = written;
}

// ---------------------------------------------------------------- files and memory reset

bool QORA::LoadInitialLoadData()
{
    const QString path = QCoreApplication::applicationDirPath() + QLatin1String(InitialLoadDataFile);
    const bool ok = mainApplication->SetLoad(path);
    if (ok)
        qDebug("###QORA: LoadInitialLoadData() %s file loaded.", local8(path).constData());
    else
        qDebug("###QORA: LoadInitialLoadData() %s file load ERROR", local8(path).constData());
    return ok;
}

void QORA::PreConversionSetup()
{
    LoadInitialLoadData();
}

void QORA::PostConversionSetup()
{
}

void QORA::suggestCatalogueReadOrder()
{
    QVector<MainApplication::ReadSuggestion> parameters;
    parameters.reserve(int(ParameterCatalog::Size));
    const CatalogEntry* entries = ParameterCatalog::entries();
    for (std::size_t i = 0; i < ParameterCatalog::Size; ++i) {
        const std::string name = entries[i].name;
        if (ValueAccess::isRackName(name))
            continue;
        parameters.append(MainApplication::ReadSuggestion{QString::fromStdString(name), entries[i].channelMin,
                                                          entries[i].channelMax, ValueAccess::readAddressMaker(name)});
    }
    mainApplication->suggestReadOrder(parameters);
}

void QORA::LoadData(QString& filePath)
{
    suggestCatalogueReadOrder();
    if (mainApplication->SetLoad(filePath))
        qDebug("###QORA: LoadData(%s)", local8(filePath).constData());
    else
        qDebug("###QORA: LoadData(%s) ERROR", local8(filePath).constData());
}

void QORA::SaveData(QString& folder, QString& fileName)
{
    const QString path = folder + QLatin1Char('/') + fileName;
    if (mainApplication->SetSave(path))
        qDebug("###QORA: SaveData(%s)", local8(path).constData());
    else
        qDebug("###QORA: SaveData(%s) ERROR", local8(path).constData());
}

void QORA::InitCurrentMemories()
{
    if (mainApplication->SetInitCurrent())
        qDebug("###QORA: Initialize Current Memories");
    else
        qDebug("###QORA: Initialize Current Memories ERROR");
    const MmsAccess store = mms();
    DefaultValues defaults(store);
    defaults.SetFxEffectDefaultValue();
    defaults.SetGEQDefaultValue();
}

void QORA::ResetMixerMemory(IConversionDescription* description)
{
    if (firstMemoryReset) {
        // The editor's fresh current memory needs no reset unless a scene
        // was recalled into it.
        if (parkingScene != NoParkingScene)
            InitCurrentMemories();
        firstMemoryReset = false;
    } else {
        InitCurrentMemories();
    }
    setRecallSafeSetting(false);
    fxSlotsRead = false;
    velmarSlotsRead = false;
    automixerHeld = false;
    placement.forgetDrops();

    const IFileDescription* source = description ? description->GetSource() : nullptr;
    // A file of this same model: the editor needs time before the writes.
    if (source && source->GetFileType() == OwnFileType)
        QThread::msleep(SameModelPauseMs);
}

// ---------------------------------------------------------------- collections and libraries

unsigned int QORA::GetCollectionDataSize()
{
    return 0;
}

std::vector<int> QORA::GetCollectionsToSave()
{
    return {};
}

bool QORA::GetCollectionData(int, void*, unsigned int*)
{
    return false;
}

std::vector<int> QORA::GetLibrariesToSave()
{
    return {};
}

int QORA::GetLibraryMin(int)
{
    return 0;
}

int QORA::GetLibraryMax(int library)
{
    return LibraryCategories::libraryMax(library);
}

bool QORA::LibraryHasValidData(int, int)
{
    return false;
}

bool QORA::LibraryIsReadOnly(int, int)
{
    return false;
}

bool QORA::GetLibraryData(int, void*, unsigned int*)
{
    return false;
}

bool QORA::GetLibraryData(int, int, void*, unsigned int*)
{
    return false;
}

bool QORA::GetCurrentData(int, int, void*, unsigned int*)
{
    return false;
}

bool QORA::SetCurrentData(void*, unsigned int)
{
    return false;
}

int QORA::GetSceneLibraryMin()
{
    return 0;
}

int QORA::GetSceneLibraryMax()
{
    return 300;
}

unsigned int QORA::GetLibraryDataSize(int)
{
    return 0;
}

void QORA::AddCurrentData(unsigned short, short, unsigned int, void*)
{
}

void QORA::CacheCurrentData(int kind, void* data, unsigned int size)
{
    void* buffer = std::malloc(size);
    // The host reads `size` bytes through the record: without a copy it must
    // see an empty one.
    if (size > 0 && (!buffer || !data)) {
        qDebug("###QORA: CacheCurrentData[%d, %u] ERROR", kind, size);
        size = 0;
    }
    if (size > 0)
        std::memcpy(buffer, data, size);
    cachedCurrentData.push_back(LibData{kind, -1, size, buffer});
}

const std::vector<LibData>& QORA::GetCachedCurrentData()
{
    return cachedCurrentData;
}

int QORA::LibraryIndexToCategoryId(int libraryIndex, IConversionDescription* description)
{
    return LibraryCategories::categoryId(libraryIndex, description);
}

int QORA::LibraryIndexToCategoryId(int libraryIndex)
{
    return LibraryCategories::categoryId(libraryIndex);
}

IDataDecoder* QORA::CreateDecoder()
{
    return new (std::nothrow) DataDecoder;
}

IDataEncoder* QORA::CreateEncoder()
{
    return new (std::nothrow) DataEncoder(this);
}

// ---------------------------------------------------------------- scene information

std::string QORA::GetTitle(int, int)
{
    return std::string();
}

std::string QORA::GetTitle(int scene)
{
    const QString sceneNo = SceneNumber::text(scene);
    QString text;
    if (!mainApplication->GetSceneInfo(QStringLiteral("Title"), category(), sceneNo, text)) {
        qDebug("###QORA: GetTitle[%s, %s] ERROR", local8(category()).constData(), local8(sceneNo).constData());
        return std::string();
    }
    return text.toStdString();
}

void QORA::SetTitle(std::string&, int, int)
{
}

void QORA::SetTitle(std::string& title, int scene)
{
    qDebug("targetLibraryId test");
    qDebug("%d", scene);
    const QString sceneNo = SceneNumber::text(scene);
    const QString value = QString::fromStdString(title);
    if (!mainApplication->SetSceneInfo(QStringLiteral("Title"), category(), sceneNo, value))
        qDebug("###QORA: SetTitle[%s, %s, %s] ERROR", local8(category()).constData(), local8(sceneNo).constData(),
               local8(value).constData());
}

std::string QORA::GetComment(int, int)
{
    return std::string();
}

std::string QORA::GetComment(int scene)
{
    const QString sceneNo = SceneNumber::text(scene);
    QString text;
    if (!mainApplication->GetSceneInfo(QStringLiteral("Comment"), category(), sceneNo, text)) {
        qDebug("###QORA: GetComment[%s, %s] ERROR", local8(category()).constData(), local8(sceneNo).constData());
        return std::string();
    }
    return text.toStdString();
}

void QORA::SetComment(std::string&, int, int)
{
}

void QORA::SetComment(std::string& comment, int scene)
{
    const QString sceneNo = SceneNumber::text(scene);
    const QString value = QString::fromStdString(comment);
    if (!mainApplication->SetSceneInfo(QStringLiteral("Comment"), category(), sceneNo, value))
        qDebug("###QORA: SetComment[%s, %s, %s] ERROR", local8(category()).constData(),
               local8(sceneNo).constData(), local8(value).constData());
}

bool QORA::GetProtect(int scene)
{
    const QString sceneNo = SceneNumber::text(scene);
    QString text;
    const bool ok = mainApplication->GetSceneInfo(QStringLiteral("Protect"), category(), sceneNo, text);
    if (ok && (text == QLatin1String("on") || text == QLatin1String("off")))
        return text == QLatin1String("on");
    qDebug("###QORA: GetProtect[%s, %s] ERROR", local8(category()).constData(), local8(sceneNo).constData());
    return false;
}

void QORA::SetProtect(bool protect, int scene)
{
    const QString sceneNo = SceneNumber::text(scene);
    const QString value = protect ? QStringLiteral("on") : QStringLiteral("off");
    if (!mainApplication->SetSceneInfo(QStringLiteral("Protect"), category(), sceneNo, value))
        qDebug("###QORA: SetProtect[%s, %s, %s] ERROR", local8(category()).constData(),
               local8(sceneNo).constData(), local8(value).constData());
}

DateTime QORA::GetDateTime(int scene)
{
    const QString sceneNo = SceneNumber::text(scene);
    QString text;
    const bool ok = mainApplication->GetSceneInfo(QStringLiteral("TimeStamp"), category(), sceneNo, text);
    if (!ok || text.size() < 14) {
        qDebug("###QORA: GetDateTime[%s, %s] ERROR", local8(category()).constData(), local8(sceneNo).constData());
        return DateTime();
    }
    // A field that is not a number reads as 0.
    const auto field = [&text](int position, int length) { return static_cast<short>(text.mid(position, length).toInt()); };
    DateTime time;
    time.year = static_cast<short>(field(0, 4) - 2000);
    time.month = static_cast<short>(field(4, 2) - 1);
    time.day = static_cast<short>(field(6, 2) - 1);
    time.hour = field(8, 2);
    time.minute = field(10, 2);
    time.second = field(12, 2);
    return time;
}

void QORA::SetDateTime(DateTime time, int scene)
{
    const QString sceneNo = SceneNumber::text(scene);
    const QDateTime local(QDate(time.year + 2000, time.month + 1, time.day + 1),
                          QTime(time.hour, time.minute, time.second, 0), Qt::LocalTime);
    const QString value = local.toString(QString::fromLatin1(TimeStampFormat));
    // An invalid date has an empty text form: it is not sent.
    if (value.isEmpty() || !mainApplication->SetSceneInfo(QStringLiteral("TimeStamp"), category(), sceneNo, value))
        qDebug("###QORA: SetDateTime[%s, %s, %s] ERROR", local8(category()).constData(),
               local8(sceneNo).constData(), local8(value).constData());
}

std::string QORA::GetLinkFileName(int)
{
    return std::string();
}

void QORA::SetLinkFileName(std::string&, int)
{
}

void QORA::SetCurrentMixerMemory()
{
}

void QORA::StoreCurrentMixerMemory()
{
}

// ---------------------------------------------------------------- conversion

void QORA::initParameterConverterFactory(IMixer* sourceMixer)
{
    // The automixer rack rule and the GEQ type rules share rack 0's type; by
    // default the automixer goes there only when the source chose one.
    const bool automixerWhenChosen = mainApplication && mainApplication->wireMode() != WireMode::Strict;
    ConverterSlots::initFactory(converterFactory, sourceMixer, automixerWhenChosen);
}

IParameterConverterFactory* QORA::GetParameterConverterFactory()
{
    return converterFactory;
}

int QORA::GetDynamicsCh(int)
{
    return 0;
}

void QORA::SetCurrentLibraryMemory(std::string, int, int, int, int*)
{
}

void QORA::StoreCurrentLibraryMemory(std::string, int, int, int)
{
}

std::vector<int> QORA::GetLibrariesToConvert()
{
    return LibraryCategories::librariesToConvert();
}

int QORA::GetLibraryPreset(int)
{
    return 0;
}

void QORA::PreLibraryConversionSetup()
{
}

void QORA::PostLibraryConversionSetup()
{
}

// ---------------------------------------------------------------- names

int QORA::GetNameParameterNum()
{
    return ChannelNames::ClassCount;
}

void QORA::GetNameParameterList(int list, QStringList& names)
{
    const MmsAccess store = mms();
    const WireMode mode = mainApplication->wireMode();
    RackAccess racks(store, placement, fxSlotsRead, velmarSlotsRead, mode);
    ChannelNames(store, placement, mode == WireMode::Strict ? nullptr : &racks)
        .GetNameParameterList(list, names, *this);
}

void QORA::SetNameParameterList(QStringList& names, std::string)
{
    const MmsAccess store = mms();
    ChannelNames(store, placement).SetNameParameterList(names);
}
