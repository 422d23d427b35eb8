#pragma once

#include "Rq10Setup.h"
#include "host/IMixer.h"

#include <string>
#include <unordered_map>
#include <vector>

// Our stand-in for a TORVAN RQ10 console, the source of a conversion: an
// IMixer over an RQ10 setup. It holds one current memory; recalling a scene
// fills it with the setup's common values and then the scene's own values,
// and every value that neither gives reads as 0. Parameters are the names of
// the RQ10's families (Rq10Families); any other name throws a
// ParameterNotFoundException pointer from CreateParameter and
// LookupParameterRanges. The host only ever reads it: writes (values, scene
// stores, scene information, name lists) change nothing, and the slots of
// library data, conversion and file handling answer with neutral fall-backs.
// Made with new; released with Destroy.
class Rq10Mixer : public IMixer
{
public:
    explicit Rq10Mixer(Rq10Setup setup);

    Rq10Mixer(const Rq10Mixer&) = delete;
    Rq10Mixer& operator=(const Rq10Mixer&) = delete;

    // Host scene number of the scene last recalled; 0 before any recall.
    int currentScene() const { return m_currentScene; }

    void Destroy() override;
    IParameterConverter* GetConverter(const std::string& targetName, IMixer* sourceMixer,
                                      IConversionDescription* description, bool flag) override;
    std::string GetMixerId() override;
    IParameter* CreateParameter(const std::string& name) override;
    void LookupParameterRanges(const std::string& name, int& channelMin, int& channelMax,
                               int& subMin, int& subMax) override;
    IConverterIterator* CreateIterator(IParameter* parameter,
                                       IConversionDescription* description) override;
    bool IsOutputParameter(IParameter* parameter) override;
    bool IsStereoParameter(IParameter* parameter) override;
    int GetValue(IParameter* parameter, int channel, int subIndex) override;
    int GetMinValue(IParameter* parameter, int channel, int subIndex) override;
    int GetMaxValue(IParameter* parameter, int channel, int subIndex) override;
    void SetValue(IParameter* parameter, int channel, int value, int subIndex) override;
    void SetCurrentSceneMemory(int scene) override;
    void SetCurrentSceneMemory() override;
    void StoreCurrentSceneMemory(int scene) override;
    void PreConversionSetup() override;
    void PostConversionSetup() override;
    unsigned int GetCollectionDataSize() override;
    std::vector<int> GetCollectionsToSave() override;
    bool GetCollectionData(int collection, void* buffer, unsigned int* size) override;
    std::vector<int> GetLibrariesToSave() override;
    int GetLibraryMin(int library) override;
    int GetLibraryMax(int library) override;
    bool LibraryHasValidData(int scene) override;
    bool LibraryHasValidData(int library, int index) override;
    bool LibraryIsReadOnly(int library, int index) override;
    bool GetLibraryData(int library, void* buffer, unsigned int* size) override;
    bool GetLibraryData(int library, int index, void* buffer, unsigned int* size) override;
    bool GetCurrentData(int kind, int index, void* buffer, unsigned int* size) override;
    bool SetCurrentData(void* data, unsigned int size) override;
    int GetSceneLibraryMin() override;
    int GetSceneLibraryMax() override;
    bool SceneLibraryHasData(int scene) override;
    unsigned int GetLibraryDataSize(int library) override;
    void AddCurrentData(unsigned short kind, short index, unsigned int size, void* data) override;
    void CacheCurrentData(int kind, void* data, unsigned int size) override;
    const std::vector<LibData>& GetCachedCurrentData() override;
    int LibraryIndexToCategoryId(int libraryIndex, IConversionDescription* description) override;
    int LibraryIndexToCategoryId(int libraryIndex) override;
    IDataDecoder* CreateDecoder() override;
    IDataEncoder* CreateEncoder() override;
    std::string GetTitle(int library, int index) override;
    std::string GetTitle(int scene) override;
    void SetTitle(std::string& title, int library, int index) override;
    void SetTitle(std::string& title, int scene) override;
    std::string GetComment(int library, int index) override;
    std::string GetComment(int scene) override;
    void SetComment(std::string& comment, int library, int index) override;
    void SetComment(std::string& comment, int scene) override;
    bool GetProtect(int scene) override;
    void SetProtect(bool protect, int scene) override;
    DateTime GetDateTime(int scene) override;
    void SetDateTime(DateTime time, int scene) override;
    std::string GetLinkFileName(int scene) override;
    void SetLinkFileName(std::string& name, int scene) override;
    void SetCurrentMixerMemory() override;
    void StoreCurrentMixerMemory() override;
    void initParameterConverterFactory(IMixer* sourceMixer) override;
    IParameterConverterFactory* GetParameterConverterFactory() override;
    void ResetMixerMemory(IConversionDescription* description) override;
    int GetDynamicsCh(int channel) override;
    void SetCurrentLibraryMemory(std::string name, int library, int index, int kind,
                                 int* result) override;
    void StoreCurrentLibraryMemory(std::string name, int library, int index, int kind) override;
    std::vector<int> GetLibrariesToConvert() override;
    int GetLibraryPreset(int library) override;
    void PreLibraryConversionSetup() override;
    void PostLibraryConversionSetup() override;
    void LoadData(QString& filePath) override;
    void SaveData(QString& folder, QString& fileName) override;
    int GetNameParameterNum() override;
    void GetNameParameterList(int list, QStringList& names) override;
    void SetNameParameterList(QStringList& names, std::string listName) override;
    void GetSceneList(unsigned int& count, unsigned int* scenes) override;

protected:
    // Destroy deletes; tests derive to observe or fail single slots.
    virtual ~Rq10Mixer();

private:
    Rq10Scene* findScene(int number);
    // The current memory's channel values of a parameter; null for a name
    // outside the RQ10's families.
    std::vector<int>* currentValues(const std::string& name);
    void apply(const Rq10Values& values);

    Rq10Setup m_setup;
    int m_currentScene = 0;
    std::unordered_map<std::string, std::vector<int>> m_current;
    std::string m_lastRead;   // empty: nothing kept
    const std::vector<int>* m_lastValues = nullptr;
    std::vector<LibData> m_noCachedData;
};
