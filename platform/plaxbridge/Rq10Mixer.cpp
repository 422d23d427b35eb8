#include "Rq10Mixer.h"

#include "Rq10Families.h"
#include "host/IParameter.h"
#include "host/Parameter.h"
#include "host/ParameterNotFoundException.h"

#include <QStringList>

#include <algorithm>

namespace {

const char kNotFound[] = "Parameter Id not found";

} // namespace

Rq10Mixer::Rq10Mixer(Rq10Setup setup)
    : m_setup(std::move(setup))
{
    m_setup.names.resize(Rq10Families::NameClassCount);
    apply(m_setup.values);
}

Rq10Mixer::~Rq10Mixer() = default;

void Rq10Mixer::Destroy()
{
    delete this;
}

Rq10Scene* Rq10Mixer::findScene(int number)
{
    for (Rq10Scene& scene : m_setup.scenes) {
        if (scene.number == number)
            return &scene;
    }
    return nullptr;
}

std::vector<int>* Rq10Mixer::currentValues(const std::string& name)
{
    auto it = m_current.find(name);
    if (it != m_current.end())
        return &it->second;
    const Rq10Family* family = Rq10Families::find(name);
    if (!family)
        return nullptr;
    m_lastRead.clear();
    return &m_current.emplace(name, std::vector<int>(family->channels, 0)).first->second;
}

void Rq10Mixer::apply(const Rq10Values& values)
{
    for (const auto& [name, channels] : values) {
        std::vector<int>* current = currentValues(name);
        if (!current)
            continue;
        for (const auto& [channel, value] : channels) {
            if (channel >= 0 && channel < static_cast<int>(current->size()))
                (*current)[channel] = value;
        }
    }
}

// --- identity, parameters, values ---

IParameterConverter* Rq10Mixer::GetConverter(const std::string&, IMixer*, IConversionDescription*,
                                             bool)
{
    return nullptr;
}

std::string Rq10Mixer::GetMixerId()
{
    return m_setup.model;
}

IParameter* Rq10Mixer::CreateParameter(const std::string& name)
{
    const Rq10Family* family = Rq10Families::find(name);
    if (!family)
        throw new ParameterNotFoundException(kNotFound, name, m_setup.model);
    return new Parameter(this, family->id, name);
}

void Rq10Mixer::LookupParameterRanges(const std::string& name, int& channelMin, int& channelMax,
                                      int& subMin, int& subMax)
{
    const Rq10Family* family = Rq10Families::find(name);
    if (!family)
        throw new ParameterNotFoundException(kNotFound, name, m_setup.model);
    channelMin = 0;
    channelMax = family->channels - 1;
    subMin = 0;
    subMax = 0;
}

IConverterIterator* Rq10Mixer::CreateIterator(IParameter*, IConversionDescription*)
{
    return nullptr;
}

bool Rq10Mixer::IsOutputParameter(IParameter*)
{
    return false;
}

bool Rq10Mixer::IsStereoParameter(IParameter*)
{
    return false;
}

int Rq10Mixer::GetValue(IParameter* parameter, int channel, int)
{
    if (!parameter)
        return 0;
    // The host reads a parameter's channels one after another: the last
    // name's values are kept (null for a name without values).
    const std::string& name = parameter->GetName();
    if (m_lastRead.empty() || name != m_lastRead) {
        const auto it = m_current.find(name);
        m_lastValues = it == m_current.end() ? nullptr : &it->second;
        m_lastRead = name;
    }
    if (!m_lastValues || channel < 0 || channel >= static_cast<int>(m_lastValues->size()))
        return 0;
    return (*m_lastValues)[channel];
}

int Rq10Mixer::GetMinValue(IParameter*, int, int)
{
    return 0;
}

int Rq10Mixer::GetMaxValue(IParameter*, int, int)
{
    return 0;
}

void Rq10Mixer::SetValue(IParameter*, int, int, int)
{
}

// --- scenes ---

void Rq10Mixer::SetCurrentSceneMemory(int scene)
{
    const Rq10Scene* found = findScene(scene);
    if (!found)
        return;
    m_current.clear();
    m_lastRead.clear();
    apply(m_setup.values);
    apply(found->values);
    m_currentScene = scene;
}

void Rq10Mixer::SetCurrentSceneMemory()
{
    SetCurrentSceneMemory(m_currentScene);
}

void Rq10Mixer::StoreCurrentSceneMemory(int)
{
}

bool Rq10Mixer::LibraryHasValidData(int scene)
{
    return findScene(scene) != nullptr;
}

bool Rq10Mixer::SceneLibraryHasData(int scene)
{
    return findScene(scene) != nullptr;
}

int Rq10Mixer::GetSceneLibraryMin()
{
    return Rq10Setup::MinSceneNumber;
}

int Rq10Mixer::GetSceneLibraryMax()
{
    return Rq10Setup::MaxSceneNumber;
}

void Rq10Mixer::GetSceneList(unsigned int& count, unsigned int* scenes)
{
    // A count above 0 on entry is the capacity of `scenes`.
    std::size_t n = m_setup.scenes.size();
    if (count > 0)
        n = std::min<std::size_t>(n, count);
    if (!scenes)
        n = 0;
    for (std::size_t i = 0; i < n; ++i)
        scenes[i] = static_cast<unsigned int>(m_setup.scenes[i].number);
    count = static_cast<unsigned int>(n);
}

// --- scene information ---

std::string Rq10Mixer::GetTitle(int, int)
{
    return {};
}

std::string Rq10Mixer::GetTitle(int scene)
{
    const Rq10Scene* found = findScene(scene);
    return found ? found->title : std::string();
}

void Rq10Mixer::SetTitle(std::string&, int, int)
{
}

void Rq10Mixer::SetTitle(std::string&, int)
{
}

std::string Rq10Mixer::GetComment(int, int)
{
    return {};
}

std::string Rq10Mixer::GetComment(int scene)
{
    const Rq10Scene* found = findScene(scene);
    return found ? found->comment : std::string();
}

void Rq10Mixer::SetComment(std::string&, int, int)
{
}

void Rq10Mixer::SetComment(std::string&, int)
{
}

bool Rq10Mixer::GetProtect(int scene)
{
    const Rq10Scene* found = findScene(scene);
    return found && found->protect;
}

void Rq10Mixer::SetProtect(bool, int)
{
}

DateTime Rq10Mixer::GetDateTime(int scene)
{
    const Rq10Scene* found = findScene(scene);
    return found ? found->time : DateTime();
}

void Rq10Mixer::SetDateTime(DateTime, int)
{
}

std::string Rq10Mixer::GetLinkFileName(int)
{
    return {};
}

void Rq10Mixer::SetLinkFileName(std::string&, int)
{
}

// --- name lists ---

int Rq10Mixer::GetNameParameterNum()
{
    return static_cast<int>(Rq10Families::NameClassCount);
}

void Rq10Mixer::GetNameParameterList(int list, QStringList& names)
{
    if (list < 0 || list >= static_cast<int>(Rq10Families::NameClassCount))
        return;
    const Rq10NameClass& nameClass = Rq10Families::nameClasses()[list];
    names.append(QString::fromUtf8(nameClass.head));
    const std::map<int, std::string>& texts = m_setup.names[list];
    for (int ch = 0; ch < nameClass.channels; ++ch) {
        const auto it = texts.find(ch);
        names.append(it == texts.end() ? QString() : QString::fromStdString(it->second));
    }
}

void Rq10Mixer::SetNameParameterList(QStringList&, std::string)
{
}

// --- neutral fall-backs: the RQ10 is only ever a conversion source ---

void Rq10Mixer::PreConversionSetup()
{
}

void Rq10Mixer::PostConversionSetup()
{
}

unsigned int Rq10Mixer::GetCollectionDataSize()
{
    return 0;
}

std::vector<int> Rq10Mixer::GetCollectionsToSave()
{
    return {};
}

bool Rq10Mixer::GetCollectionData(int, void*, unsigned int*)
{
    return false;
}

std::vector<int> Rq10Mixer::GetLibrariesToSave()
{
    return {};
}

int Rq10Mixer::GetLibraryMin(int)
{
    return 0;
}

int Rq10Mixer::GetLibraryMax(int)
{
    return 0;
}

bool Rq10Mixer::LibraryHasValidData(int, int)
{
    return false;
}

bool Rq10Mixer::LibraryIsReadOnly(int, int)
{
    return true;
}

bool Rq10Mixer::GetLibraryData(int, void*, unsigned int*)
{
    return false;
}

bool Rq10Mixer::GetLibraryData(int, int, void*, unsigned int*)
{
    return false;
}

bool Rq10Mixer::GetCurrentData(int, int, void*, unsigned int*)
{
    return false;
}

bool Rq10Mixer::SetCurrentData(void*, unsigned int)
{
    return false;
}

unsigned int Rq10Mixer::GetLibraryDataSize(int)
{
    return 0;
}

void Rq10Mixer::AddCurrentData(unsigned short, short, unsigned int, void*)
{
}

void Rq10Mixer::CacheCurrentData(int, void*, unsigned int)
{
}

const std::vector<LibData>& Rq10Mixer::GetCachedCurrentData()
{
    return m_noCachedData;
}

int Rq10Mixer::LibraryIndexToCategoryId(int, IConversionDescription*)
{
    return -1;
}

int Rq10Mixer::LibraryIndexToCategoryId(int)
{
    return -1;
}

IDataDecoder* Rq10Mixer::CreateDecoder()
{
    return nullptr;
}

IDataEncoder* Rq10Mixer::CreateEncoder()
{
    return nullptr;
}

void Rq10Mixer::SetCurrentMixerMemory()
{
}

void Rq10Mixer::StoreCurrentMixerMemory()
{
}

void Rq10Mixer::initParameterConverterFactory(IMixer*)
{
}

IParameterConverterFactory* Rq10Mixer::GetParameterConverterFactory()
{
    return nullptr;
}

void Rq10Mixer::ResetMixerMemory(IConversionDescription*)
{
}

int Rq10Mixer::GetDynamicsCh(int)
{
    return 0;
}

void Rq10Mixer::SetCurrentLibraryMemory(std::string, int, int, int, int* result)
{
    if (result)
        *result = 0;
}

void Rq10Mixer::StoreCurrentLibraryMemory(std::string, int, int, int)
{
}

std::vector<int> Rq10Mixer::GetLibrariesToConvert()
{
    return {};
}

int Rq10Mixer::GetLibraryPreset(int)
{
    return 0;
}

void Rq10Mixer::PreLibraryConversionSetup()
{
}

void Rq10Mixer::PostLibraryConversionSetup()
{
}

void Rq10Mixer::LoadData(QString&)
{
}

void Rq10Mixer::SaveData(QString&, QString&)
{
}
