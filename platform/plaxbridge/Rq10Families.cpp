#include "Rq10Families.h"

#include <cstring>

namespace {

// No (prefix, ending) pair of one row matches a name of another row, so the
// order of the rows carries no meaning.
const Rq10Family kFamilies[Rq10Families::FamilyCount] = {
    {"/SceneInfo/Playback:0/", "/MMS", 1, 1},
    {"/Mixing/InputChannel/", "/MMS", 144, 2},
    {"/Mixing/Mix/", "/MMS", 72, 3},
    {"/Mixing/Matrix/", "/MMS", 24, 4},
    {"/Mixing/Stereo/", "/MMS", 4, 5},
    {"/Mixing/DCA/", "/MMS", 32, 6},
    {"/Setup/InputChannel/", "/MMS", 144, 7},
    {"/Setup/Mix/", "/MMS", 72, 8},
    {"/Setup/Matrix/", "/MMS", 24, 9},
    {"/Setup/Stereo/", "/MMS", 4, 10},
    {"/Mixing/MixingMode/", "/MMS", 1, 11},
    {"/Mixing/Surround/", "/MMS", 1, 12},
    {"/Mixing/DuganAutomixer/", "/MMS", 64, 13},
    {"/Mixing/GEQRack2/", "/MMSGEQ", 32, 14},
    {"/Mixing/GEQRack2/", "/MMSDugan", 1, 15},
    // The second velmar rack: 64 plug-in positions, and the same rack seen
    // as the console's 16 effect units.
    {"/VelmarRack/VelmarRack2/PlugIn:0/", "/MMS", 64, 16},
    {"/VelmarRack/VelmarRack2/PlugIn:0/", "/MMSFx", 16, 17},
    {"/Mixing/Mute/", "/MMS", 16, 18},
};

const Rq10NameClass kNameClasses[Rq10Families::NameClassCount] = {
    {"/Mixing/InputChannel/Label:0/Name:0/MMS", 144},
    {"/Mixing/Matrix/Label:0/Name:0/MMS", 24},
    {"/Mixing/Mix/Label:0/Name:0/MMS", 72},
    {"/Mixing/Stereo/Label:0/Name:0/MMS", 4},
    {"/Mixing/DCA/Label:0/Name:0/MMS", 32},
    {"/Mixing/Mute/Label:0/Name:0/MMS", 16},
    {"/VelmarRack/VelmarRack2/PlugIn:0/LR:0/LibraryName:0/MMSFx", 16},
    {"/VelmarRack/VelmarRack2/PlugIn:0/LR:0/LibraryName:0/MMS", 64},
    {"/VelmarRack/VelmarRack2/PlugIn:0/LR:1/LibraryName:0/MMS", 64},
};

// Text-valued parts of a name: such names are not numeric parameters.
const char* const kTextElements[] = {"/Label:0/Name:0/", "/LibraryName", "/SongFilePath/"};

bool startsWith(const std::string& s, const char* prefix)
{
    const std::size_t n = std::strlen(prefix);
    return s.size() >= n && s.compare(0, n, prefix) == 0;
}

bool endsWith(const std::string& s, const char* ending)
{
    const std::size_t n = std::strlen(ending);
    return s.size() >= n && s.compare(s.size() - n, n, ending) == 0;
}

} // namespace

const Rq10Family* Rq10Families::families()
{
    return kFamilies;
}

const Rq10NameClass* Rq10Families::nameClasses()
{
    return kNameClasses;
}

const Rq10Family* Rq10Families::find(const std::string& name)
{
    for (const char* text : kTextElements) {
        if (name.find(text) != std::string::npos)
            return nullptr;
    }
    for (const Rq10Family& family : kFamilies) {
        const std::size_t prefix = std::strlen(family.prefix);
        const std::size_t ending = std::strlen(family.ending);
        if (name.size() < prefix + ending || !startsWith(name, family.prefix)
            || !endsWith(name, family.ending))
            continue;
        // The elements between prefix and ending must be real ones:
        // "/Mixing/Mix//MMS" or "/Mixing/Mix/Fader//MMS" is no name.
        const std::string middle = name.substr(prefix, name.size() - prefix - ending);
        if (middle.empty() || middle.front() == '/' || middle.back() == '/'
            || middle.find("//") != std::string::npos)
            continue;
        return &family;
    }
    return nullptr;
}

int Rq10Families::findNameClass(const std::string& head)
{
    for (std::size_t i = 0; i < NameClassCount; ++i) {
        if (head == kNameClasses[i].head)
            return static_cast<int>(i);
    }
    return -1;
}
