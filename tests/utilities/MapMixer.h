#pragma once

#include "host/IMixer.h"

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

class IParameterConverterFactory;

// An in-test mixer: values live in a map keyed by (name, channel, sub-index),
// ranges come from a hook, every write is logged, and the parameters it hands
// out are counted so tests can see that a tree released them all.
class MapMixer : public IMixer
{
public:
    struct Ranges {
        int channelMin;
        int channelMax;
        int subMin;
        int subMax;
    };
    struct Write {
        std::string name;
        int channel;
        int subIndex;
        int value;
    };

    explicit MapMixer(std::string id, Ranges defaults = {0, 127, 0, 0}) : m_id(std::move(id)), m_defaults(defaults) {}
    virtual ~MapMixer() = default;   // IMixer's is not virtual; Destroy deletes derived mixers too

    // Test set-up and inspection.
    void set(const std::string& name, int channel, int value, int subIndex = 0)
    {
        m_values[Key(name, channel, subIndex)] = value;
    }
    int get(const std::string& name, int channel, int subIndex = 0) const
    {
        const auto found = m_values.find(Key(name, channel, subIndex));
        return found == m_values.end() ? 0 : found->second;
    }
    bool has(const std::string& name, int channel, int subIndex = 0) const
    {
        return m_values.count(Key(name, channel, subIndex)) != 0;
    }
    void setRanges(const std::string& name, Ranges ranges) { m_ranges[name] = ranges; }
    // Overrides the per-name ranges and defaults; returning false means unknown.
    std::function<bool(const std::string&, Ranges&)> rangeHook;
    // CreateParameter throws a ParameterNotFoundException pointer for these.
    std::set<std::string> refused;
    std::vector<Write> writes;
    int reads = 0;
    int liveParameters = 0;
    int createdParameters = 0;
    IParameterConverterFactory* factory = nullptr;

    // IMixer
    void Destroy() override { delete this; }
    IParameterConverter* GetConverter(const std::string&, IMixer*, IConversionDescription*, bool) override
    {
        return nullptr;
    }
    std::string GetMixerId() override { return m_id; }
    IParameter* CreateParameter(const std::string& name) override;
    void LookupParameterRanges(const std::string& name, int& channelMin, int& channelMax, int& subMin,
                               int& subMax) override;
    IConverterIterator* CreateIterator(IParameter*, IConversionDescription*) override { return nullptr; }
    bool IsOutputParameter(IParameter*) override { return false; }
    bool IsStereoParameter(IParameter*) override { return false; }
    int GetValue(IParameter* parameter, int channel, int subIndex) override;
    int GetMinValue(IParameter*, int, int) override { return 0; }
    int GetMaxValue(IParameter*, int, int) override { return 0; }
    void SetValue(IParameter* parameter, int channel, int value, int subIndex) override;
    void SetCurrentSceneMemory(int) override {}
    void SetCurrentSceneMemory() override {}
    void StoreCurrentSceneMemory(int) override {}
    void PreConversionSetup() override {}
    void PostConversionSetup() override {}
    unsigned int GetCollectionDataSize() override { return 0; }
    std::vector<int> GetCollectionsToSave() override { return {}; }
    bool GetCollectionData(int, void*, unsigned int*) override { return false; }
    std::vector<int> GetLibrariesToSave() override { return {}; }
    int GetLibraryMin(int) override { return 0; }
    int GetLibraryMax(int) override { return 0; }
    bool LibraryHasValidData(int) override { return false; }
    bool LibraryHasValidData(int, int) override { return false; }
    bool LibraryIsReadOnly(int, int) override { return false; }
    bool GetLibraryData(int, void*, unsigned int*) override { return false; }
    bool GetLibraryData(int, int, void*, unsigned int*) override { return false; }
    bool GetCurrentData(int, int, void*, unsigned int*) override { return false; }
    bool SetCurrentData(void*, unsigned int) override { return false; }
    int GetSceneLibraryMin() override { return 0; }
    int GetSceneLibraryMax() override { return 0; }
    bool SceneLibraryHasData(int) override { return false; }
    unsigned int GetLibraryDataSize(int) override { return 0; }
    void AddCurrentData(unsigned short, short, unsigned int, void*) override {}
    void CacheCurrentData(int, void*, unsigned int) override {}
    const std::vector<LibData>& GetCachedCurrentData() override { return m_cached; }
    int LibraryIndexToCategoryId(int, IConversionDescription*) override { return 0; }
    int LibraryIndexToCategoryId(int) override { return 0; }
    IDataDecoder* CreateDecoder() override { return nullptr; }
    IDataEncoder* CreateEncoder() override { return nullptr; }
    std::string GetTitle(int, int) override { return {}; }
    std::string GetTitle(int) override { return {}; }
    void SetTitle(std::string&, int, int) override {}
    void SetTitle(std::string&, int) override {}
    std::string GetComment(int, int) override { return {}; }
    std::string GetComment(int) override { return {}; }
    void SetComment(std::string&, int, int) override {}
    void SetComment(std::string&, int) override {}
    bool GetProtect(int) override { return false; }
    void SetProtect(bool, int) override {}
    DateTime GetDateTime(int) override { return {}; }
    void SetDateTime(DateTime, int) override {}
    std::string GetLinkFileName(int) override { return {}; }
    void SetLinkFileName(std::string&, int) override {}
    void SetCurrentMixerMemory() override {}
    void StoreCurrentMixerMemory() override {}
    void initParameterConverterFactory(IMixer*) override {}
    IParameterConverterFactory* GetParameterConverterFactory() override { return factory; }
    void ResetMixerMemory(IConversionDescription*) override {}
    int GetDynamicsCh(int) override { return 0; }
    void SetCurrentLibraryMemory(std::string, int, int, int, int*) override {}
    void StoreCurrentLibraryMemory(std::string, int, int, int) override {}
    std::vector<int> GetLibrariesToConvert() override { return {}; }
    int GetLibraryPreset(int) override { return 0; }
    void PreLibraryConversionSetup() override {}
    void PostLibraryConversionSetup() override {}
    void LoadData(QString&) override {}
    void SaveData(QString&, QString&) override {}
    int GetNameParameterNum() override { return 0; }
    void GetNameParameterList(int, QStringList&) override {}
    void SetNameParameterList(QStringList&, std::string) override {}
    void GetSceneList(unsigned int& count, unsigned int*) override { count = 0; }

private:
    using Key = std::tuple<std::string, int, int>;
    std::string m_id;
    Ranges m_defaults;
    std::map<std::string, Ranges> m_ranges;
    std::map<Key, int> m_values;
    std::vector<LibData> m_cached;
};

// The heap pointer of type E that `f` throws, as the host's exceptions are
// thrown; null when it throws nothing.
template <class E, class F>
std::unique_ptr<E> thrown(F f)
{
    try {
        f();
    } catch (E* e) {
        return std::unique_ptr<E>(e);
    }
    return nullptr;
}
