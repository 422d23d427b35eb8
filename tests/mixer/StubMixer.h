#pragma once

#include "host/IMixer.h"

#include <string>
#include <vector>

// An IMixer answering every slot with a neutral value; the few slots the
// collaborators call back into are recorded or served from fields.
class StubMixer : public IMixer
{
public:
    int categoryCalls = 0;
    int lastCategoryIndex = -100;
    int rangeCalls = 0;
    int channelMax = 0;
    std::string id = "STUB";

    void Destroy() override {}
    IParameterConverter* GetConverter(const std::string&, IMixer*, IConversionDescription*, bool) override { return nullptr; }
    std::string GetMixerId() override { return id; }
    IParameter* CreateParameter(const std::string&) override { return nullptr; }
    void LookupParameterRanges(const std::string&, int& cmin, int& cmax, int& smin, int& smax) override
    {
        ++rangeCalls;
        cmin = 0;
        cmax = channelMax;
        smin = 0;
        smax = 0;
    }
    IConverterIterator* CreateIterator(IParameter*, IConversionDescription*) override { return nullptr; }
    bool IsOutputParameter(IParameter*) override { return false; }
    bool IsStereoParameter(IParameter*) override { return false; }
    int GetValue(IParameter*, int, int) override { return 0; }
    int GetMinValue(IParameter*, int, int) override { return 0; }
    int GetMaxValue(IParameter*, int, int) override { return 0; }
    void SetValue(IParameter*, int, int, int) override {}
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
    int LibraryIndexToCategoryId(int, IConversionDescription*) override { return -1; }
    int LibraryIndexToCategoryId(int index) override
    {
        ++categoryCalls;
        lastCategoryIndex = index;
        return 7;
    }
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
    IParameterConverterFactory* GetParameterConverterFactory() override { return nullptr; }
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
    void GetSceneList(unsigned int&, unsigned int*) override {}

private:
    std::vector<LibData> m_cached;
};
