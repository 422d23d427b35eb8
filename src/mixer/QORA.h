#pragma once

#include "host/IMixer.h"
#include "params/RackPlacement.h"

#include <cstdint>
#include <string>
#include <vector>

#define QORA_EXPORT __attribute__((visibility("default")))

class IParameterConverterFactory;
class MainApplication;
class MmsAccess;
class QThread;

// The KX9 console model as the host sees it. The console's own editor
// program holds every value: creating the mixer starts the editor and a
// worker thread for the link to it, and every slot below becomes editor
// commands issued from the host's thread, which block until the editor's
// reply or a time-out. Editor failures are logged and answered with the
// fall-back named per slot; only the exception pointers named below reach
// the host.
class QORA_EXPORT QORA : public IMixer
{
public:
    static const std::string MixerIdentifier; // "QORA"

    // Starts the editor and waits for it (bounded waits; an editor that never
    // connects still yields a mixer whose commands then fail). Null when the
    // command layer or its thread cannot be created.
    static IMixer* create();

    // Both take the source by non-const reference: the converter factory is
    // handed over, the source keeps none. Everything else is shared as plain
    // values (command layer, thread, cached buffers).
    QORA(QORA& other);
    QORA& operator=(QORA& other);

    // The mixer keeps no waiting state: every command returns only after the
    // editor's reply or its time-out.
    enum class WaitProcessing { Load, Save, SceneRecall, SceneStore, MemoryReset };
    void prepareWaitForProcessingFinished(WaitProcessing kind);
    void waitForProcessingFinished(WaitProcessing kind);
    void setIsProcessingFinished(bool finished, WaitProcessing kind);
    bool getIsProcessingFinished(WaitProcessing kind);

    // ---- lifecycle and parameters ----
    // [host thread] stops editor link and thread, then releases the object
    void Destroy() override;
    // [host thread] no factory -> null; a converter's own exceptions pass
    IParameterConverter* GetConverter(const std::string& targetName, IMixer* sourceMixer,
                                      IConversionDescription* description, bool flag) override;
    // [any thread] always "QORA"
    std::string GetMixerId() override;
    // [host thread] unknown name -> throws ParameterNotFoundException*
    IParameter* CreateParameter(const std::string& name) override;
    // [host thread] unknown name -> throws std::exception*, outputs untouched
    void LookupParameterRanges(const std::string& name, int& channelMin, int& channelMax, int& subMin,
                               int& subMax) override;
    // [host thread] no factory -> null
    IConverterIterator* CreateIterator(IParameter* parameter, IConversionDescription* description) override;
    // [any thread] always false
    bool IsOutputParameter(IParameter* parameter) override;
    // [any thread] null -> false; true only for parameter id 172
    bool IsStereoParameter(IParameter* parameter) override;

    // ---- values ----
    // [host thread] editor failure -> 0
    int GetValue(IParameter* parameter, int channel, int subIndex) override;
    // [any thread] always 0
    int GetMinValue(IParameter* parameter, int channel, int subIndex) override;
    // [any thread] always 0
    int GetMaxValue(IParameter* parameter, int channel, int subIndex) override;
    // [host thread] editor failure -> logged only
    void SetValue(IParameter* parameter, int channel, int value, int subIndex) override;

    // ---- scene memories ----
    // [host thread] editor failure -> logged only
    void SetCurrentSceneMemory(int scene) override;
    // [host thread] editor failure -> logged only
    void SetCurrentSceneMemory() override;
    // [host thread] editor failure -> logged only
    void StoreCurrentSceneMemory(int scene) override;
    // [host thread] editor failure -> logged only
    void PreConversionSetup() override;
    // [any thread] does nothing
    void PostConversionSetup() override;

    // ---- collections and libraries (not offered by this console) ----
    // [any thread] always 0
    unsigned int GetCollectionDataSize() override;
    // [any thread] always empty
    std::vector<int> GetCollectionsToSave() override;
    // [any thread] always false, writes nothing
    bool GetCollectionData(int collection, void* buffer, unsigned int* size) override;
    // [any thread] always empty
    std::vector<int> GetLibrariesToSave() override;
    // [any thread] always 0
    int GetLibraryMin(int library) override;
    // [any thread] 199 for libraries 5, 6, 7, 8, 22; else 100
    int GetLibraryMax(int library) override;
    // [host thread] editor failure -> false
    bool LibraryHasValidData(int scene) override;
    // [any thread] always false
    bool LibraryHasValidData(int library, int index) override;
    // [any thread] always false
    bool LibraryIsReadOnly(int library, int index) override;
    // [any thread] always false, writes nothing
    bool GetLibraryData(int library, void* buffer, unsigned int* size) override;
    // [any thread] always false, writes nothing
    bool GetLibraryData(int library, int index, void* buffer, unsigned int* size) override;
    // [any thread] always false, writes nothing
    bool GetCurrentData(int kind, int index, void* buffer, unsigned int* size) override;
    // [any thread] always false
    bool SetCurrentData(void* data, unsigned int size) override;
    // [any thread] always 0
    int GetSceneLibraryMin() override;
    // [any thread] always 300
    int GetSceneLibraryMax() override;
    // [host thread] parking scene or editor failure -> false
    bool SceneLibraryHasData(int scene) override;
    // [any thread] always 0
    unsigned int GetLibraryDataSize(int library) override;
    // [any thread] does nothing
    void AddCurrentData(unsigned short kind, short index, unsigned int size, void* data) override;
    // [host thread] appends a malloc'd copy; freed by Destroy
    void CacheCurrentData(int kind, void* data, unsigned int size) override;
    // [host thread] the records cached so far
    const std::vector<LibData>& GetCachedCurrentData() override;
    // [host thread] no category -> -1 (libraries 6/22 follow the PEQ options)
    int LibraryIndexToCategoryId(int libraryIndex, IConversionDescription* description) override;
    // [any thread] no category -> -1
    int LibraryIndexToCategoryId(int libraryIndex) override;
    // [any thread] out of memory -> null; released through its slot 2
    IDataDecoder* CreateDecoder() override;
    // [any thread] out of memory -> null; released through its slot 5
    IDataEncoder* CreateEncoder() override;

    // ---- scene information ----
    // [any thread] always empty
    std::string GetTitle(int library, int index) override;
    // [host thread] editor failure -> empty text
    std::string GetTitle(int scene) override;
    // [any thread] does nothing
    void SetTitle(std::string& title, int library, int index) override;
    // [host thread] editor failure -> logged only
    void SetTitle(std::string& title, int scene) override;
    // [any thread] always empty
    std::string GetComment(int library, int index) override;
    // [host thread] editor failure -> empty text
    std::string GetComment(int scene) override;
    // [any thread] does nothing
    void SetComment(std::string& comment, int library, int index) override;
    // [host thread] editor failure -> logged only
    void SetComment(std::string& comment, int scene) override;
    // [host thread] editor failure or text other than on/off -> false
    bool GetProtect(int scene) override;
    // [host thread] editor failure -> logged only
    void SetProtect(bool protect, int scene) override;
    // [host thread] editor failure or short text -> all zeros
    DateTime GetDateTime(int scene) override;
    // [host thread] editor failure or invalid date -> logged only
    void SetDateTime(DateTime time, int scene) override;
    // [any thread] no link file names are kept -> empty text
    std::string GetLinkFileName(int scene) override;
    // [any thread] does nothing
    void SetLinkFileName(std::string& name, int scene) override;
    // [any thread] does nothing
    void SetCurrentMixerMemory() override;
    // [any thread] does nothing
    void StoreCurrentMixerMemory() override;

    // ---- conversion ----
    // [host thread] null or a source other than "RQ10" -> factory unchanged
    void initParameterConverterFactory(IMixer* sourceMixer) override;
    // [any thread] none -> null
    IParameterConverterFactory* GetParameterConverterFactory() override;
    // [host thread] editor failure -> logged only; 3 s pause for a "KX9F" source
    void ResetMixerMemory(IConversionDescription* description) override;
    // [any thread] always 0
    int GetDynamicsCh(int channel) override;
    // [any thread] does nothing
    void SetCurrentLibraryMemory(std::string name, int library, int index, int kind, int* result) override;
    // [any thread] does nothing
    void StoreCurrentLibraryMemory(std::string name, int library, int index, int kind) override;
    // [any thread] the 46 library indexes, a new vector each call
    std::vector<int> GetLibrariesToConvert() override;
    // [any thread] always 0
    int GetLibraryPreset(int library) override;
    // [any thread] does nothing
    void PreLibraryConversionSetup() override;
    // [any thread] does nothing
    void PostLibraryConversionSetup() override;

    // ---- files and names ----
    // [host thread] editor failure -> logged only
    void LoadData(QString& filePath) override;
    // [host thread] editor failure -> logged only; path is folder + "/" + name
    void SaveData(QString& folder, QString& fileName) override;
    // [any thread] always 9
    int GetNameParameterNum() override;
    // [host thread] unreadable names -> empty texts; a non-text name throws MixerException*
    void GetNameParameterList(int list, QStringList& names) override;
    // [host thread] unknown head -> nothing written; refused writes logged only
    void SetNameParameterList(QStringList& names, std::string listName) override;
    // [host thread] a failed row read throws ConverterException*. When count
    // is non-zero on entry it is the capacity of `scenes` and nothing is
    // written beyond it; on return count is the number of entries written
    // (scene 0 first, then the console's list). A null `scenes` only
    // reports the number needed.
    void GetSceneList(unsigned int& count, unsigned int* scenes) override;

protected:
    QORA();
    // Releases the factory and the record storage only; Destroy stops the
    // editor link and frees the cached buffers.
    ~QORA();

private:
    static constexpr std::int32_t NoParkingScene = -1;

    MmsAccess mms() const;
    void resetState();

    bool LoadInitialLoadData();
    void InitCurrentMemories();
    unsigned int setRecallSafeSetting(bool on);
    void SetCurrentSceneMemoryInternal(int scene);
    void StoreCurrentSceneMemoryInternal(int scene);
    void GetMMSSceneList(std::vector<unsigned int>& list);
    // A host that loads a file reads it: until its first pass is known,
    // the link reads ahead in the catalogue's order.
    void suggestCatalogueReadOrder();

    MainApplication* mainApplication;
    QThread* processThread;
    std::vector<LibData> cachedCurrentData;
    IParameterConverterFactory* converterFactory;
    std::int32_t parkingScene;
    bool firstMemoryReset;
    RackPlacement placement;
    bool fxSlotsRead;
    bool velmarSlotsRead;
    // GEQ rack 0 holds the automixer written since the last recall or reset.
    bool automixerHeld;
};
