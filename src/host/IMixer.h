#pragma once

#include "DateTime.h"
#include "LibData.h"

#include <QString>
#include <QStringList>
#include <string>
#include <vector>

class IParameter;
class IParameterConverter;
class IParameterConverterFactory;
class IConversionDescription;
class IConverterIterator;
class IDataEncoder;
class IDataDecoder;

// The host's interface to one console model, in the host's slot order.
// Destroy is slot 0: there is deliberately no virtual destructor before it.
class IMixer
{
public:
    virtual void Destroy() = 0;                                                        // 0
    virtual IParameterConverter* GetConverter(const std::string& targetName, IMixer* sourceMixer,
                                              IConversionDescription* description, bool flag) = 0; // 1
    virtual std::string GetMixerId() = 0;                                              // 2
    virtual IParameter* CreateParameter(const std::string& name) = 0;                  // 3
    virtual void LookupParameterRanges(const std::string& name, int& channelMin, int& channelMax,
                                       int& subMin, int& subMax) = 0;                  // 4
    virtual IConverterIterator* CreateIterator(IParameter* parameter,
                                               IConversionDescription* description) = 0; // 5
    virtual bool IsOutputParameter(IParameter* parameter) = 0;                         // 6
    virtual bool IsStereoParameter(IParameter* parameter) = 0;                         // 7
    virtual int GetValue(IParameter* parameter, int channel, int subIndex) = 0;        // 8
    virtual int GetMinValue(IParameter* parameter, int channel, int subIndex) = 0;     // 9
    virtual int GetMaxValue(IParameter* parameter, int channel, int subIndex) = 0;     // 10
    virtual void SetValue(IParameter* parameter, int channel, int value, int subIndex) = 0; // 11
    virtual void SetCurrentSceneMemory(int scene) = 0;                                 // 12
    virtual void SetCurrentSceneMemory() = 0;                                          // 13
    virtual void StoreCurrentSceneMemory(int scene) = 0;                               // 14
    virtual void PreConversionSetup() = 0;                                             // 15
    virtual void PostConversionSetup() = 0;                                            // 16
    virtual unsigned int GetCollectionDataSize() = 0;                                  // 17
    virtual std::vector<int> GetCollectionsToSave() = 0;                               // 18
    virtual bool GetCollectionData(int collection, void* buffer, unsigned int* size) = 0; // 19
    virtual std::vector<int> GetLibrariesToSave() = 0;                                 // 20
    virtual int GetLibraryMin(int library) = 0;                                        // 21
    virtual int GetLibraryMax(int library) = 0;                                        // 22
    virtual bool LibraryHasValidData(int scene) = 0;                                   // 23
    virtual bool LibraryHasValidData(int library, int index) = 0;                      // 24
    virtual bool LibraryIsReadOnly(int library, int index) = 0;                        // 25
    virtual bool GetLibraryData(int library, void* buffer, unsigned int* size) = 0;    // 26
    virtual bool GetLibraryData(int library, int index, void* buffer, unsigned int* size) = 0; // 27
    virtual bool GetCurrentData(int kind, int index, void* buffer, unsigned int* size) = 0; // 28
    virtual bool SetCurrentData(void* data, unsigned int size) = 0;                    // 29
    virtual int GetSceneLibraryMin() = 0;                                              // 30
    virtual int GetSceneLibraryMax() = 0;                                              // 31
    virtual bool SceneLibraryHasData(int scene) = 0;                                   // 32
    virtual unsigned int GetLibraryDataSize(int library) = 0;                          // 33
    virtual void AddCurrentData(unsigned short kind, short index, unsigned int size, void* data) = 0; // 34
    virtual void CacheCurrentData(int kind, void* data, unsigned int size) = 0;        // 35
    virtual const std::vector<LibData>& GetCachedCurrentData() = 0;                    // 36
    virtual int LibraryIndexToCategoryId(int libraryIndex, IConversionDescription* description) = 0; // 37
    virtual int LibraryIndexToCategoryId(int libraryIndex) = 0;                        // 38
    virtual IDataDecoder* CreateDecoder() = 0;                                         // 39
    virtual IDataEncoder* CreateEncoder() = 0;                                         // 40
    virtual std::string GetTitle(int library, int index) = 0;                          // 41
    virtual std::string GetTitle(int scene) = 0;                                       // 42
    virtual void SetTitle(std::string& title, int library, int index) = 0;             // 43
    virtual void SetTitle(std::string& title, int scene) = 0;                          // 44
    virtual std::string GetComment(int library, int index) = 0;                        // 45
    virtual std::string GetComment(int scene) = 0;                                     // 46
    virtual void SetComment(std::string& comment, int library, int index) = 0;         // 47
    virtual void SetComment(std::string& comment, int scene) = 0;                      // 48
    virtual bool GetProtect(int scene) = 0;                                            // 49
    virtual void SetProtect(bool protect, int scene) = 0;                              // 50
    virtual DateTime GetDateTime(int scene) = 0;                                       // 51
    virtual void SetDateTime(DateTime time, int scene) = 0;                            // 52
    virtual std::string GetLinkFileName(int scene) = 0;                                // 53
    virtual void SetLinkFileName(std::string& name, int scene) = 0;                    // 54
    virtual void SetCurrentMixerMemory() = 0;                                          // 55
    virtual void StoreCurrentMixerMemory() = 0;                                        // 56
    virtual void initParameterConverterFactory(IMixer* sourceMixer) = 0;               // 57
    virtual IParameterConverterFactory* GetParameterConverterFactory() = 0;            // 58
    virtual void ResetMixerMemory(IConversionDescription* description) = 0;            // 59
    virtual int GetDynamicsCh(int channel) = 0;                                        // 60
    virtual void SetCurrentLibraryMemory(std::string name, int library, int index, int kind, int* result) = 0; // 61
    virtual void StoreCurrentLibraryMemory(std::string name, int library, int index, int kind) = 0; // 62
    virtual std::vector<int> GetLibrariesToConvert() = 0;                              // 63
    virtual int GetLibraryPreset(int library) = 0;                                     // 64
    virtual void PreLibraryConversionSetup() = 0;                                      // 65
    virtual void PostLibraryConversionSetup() = 0;                                     // 66
    virtual void LoadData(QString& filePath) = 0;                                      // 67
    virtual void SaveData(QString& folder, QString& fileName) = 0;                     // 68
    virtual int GetNameParameterNum() = 0;                                             // 69
    virtual void GetNameParameterList(int list, QStringList& names) = 0;               // 70
    virtual void SetNameParameterList(QStringList& names, std::string listName) = 0;   // 71
    // `scenes` must hold `count` entries when count > 0 on entry (our guard);
    // see QORA::GetSceneList.
    virtual void GetSceneList(unsigned int& count, unsigned int* scenes) = 0;          // 72

protected:
    ~IMixer() = default;
};
