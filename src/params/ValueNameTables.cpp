#include "params/ValueNameTables.h"

#include <array>
#include <cstring>
#include <iterator>
#include <utility>

const char* const ValueNameTables::Terminator = "null_terminated_string";

namespace {

#define QORA_END(value) { value, "null_terminated_string" }

// Each table's slots after its terminator stay zero. The terminator's value
// is the answer for a text the table does not hold.
const ValueNameEntry kTables[ValueNameTables::TableCount][ValueNameTables::SlotsPerTable] = {
    // 0: icons
    {
        {0, "Kick"}, {1, "Snare"}, {2, "Hi-Hat"}, {3, "Tom"}, {4, "F.Tom"}, {5, "DrumKit"},
        {6, "Cymbal"}, {7, "Perc."}, {8, "A.Bass"}, {9, "Strings"}, {10, "E.Bass"},
        {11, "A.Guitar"}, {12, "E.Guitar"}, {13, "BassAmp"}, {14, "GuitarAmp"}, {15, "Trumpet"},
        {16, "Trombone"}, {17, "Saxophone"}, {18, "Piano"}, {19, "Organ"}, {20, "Keyboard"},
        {21, "Male"}, {22, "Female"}, {23, "Choir"}, {24, "Dynamic"}, {25, "Condenser"},
        {26, "InstMic"}, {27, "Wireless"}, {28, "Headset"}, {29, "Podium"}, {30, "Wedge"},
        {31, "Speaker"}, {32, "FoH"}, {33, "Sub"}, {34, "In-Ears"}, {35, "Monitor"}, {36, "Fx"},
        {37, "Media1"}, {38, "Media3"}, {39, "Media2"}, {40, "Video"}, {41, "Mixer"}, {42, "PC"},
        {43, "Processor"}, {44, "Audience"}, {45, "Star1"}, {46, "Star2"}, {47, "Blank"},
        {48, "L.Arrow"}, {49, "R.Arrow"}, {50, "Exclamation"}, {51, "Smile"}, {52, "Money"},
        {53, "DI"}, {54, "Flute"}, {55, "Mallet"},
        QORA_END(56),
    },
    // 1: colours
    {
        {0, "Blue"}, {1, "Orange"}, {2, "Yellow"}, {3, "Purple"}, {4, "SkyBlue"}, {5, "Pink"},
        {6, "Red"}, {7, "Green"}, {8, "LtGreen"}, {9, "OFF"}, {10, "White"},
        QORA_END(11),
    },
    // 2: key-in filter types
    {{0, "NONE"}, {1, "HPF"}, {2, "LPF"}, {3, "BPF"}, QORA_END(5)},
    // 3: dynamics types
    {
        {0, "GATE"}, {1, "DUCKING"}, {2, "RQ Comp"}, {3, "EXPANDER"}, {4, "DE-ESSER"},
        {5, "Classic Comp"}, {6, "FET LIMITER"}, {7, "DiodeBridgeComp"},
        QORA_END(10),
    },
    // 4: PEQ types
    {{0, "PRECISE"}, {1, "AGGRESSIVE"}, {2, "SMOOTH"}, {3, "LEGACY"}, QORA_END(10)},
    // 5: key-in sources of input channels
    {{0, "SELF POST EQ"}, {1, "OTHER PRE EQ"}, QORA_END(6)},
    // 6: key-in sources of buses
    {{0, "SELF POST EQ"}, QORA_END(5)},
    // 7: pan modes
    {{0, "ST/M"}, {1, "LCR"}, QORA_END(5)},
    // 8: bus types; "VARI" twice, so a text lookup gives 0
    {{0, "VARI"}, {1, "FIXED"}, {2, "VARI"}, QORA_END(5)},
    // 9: stereo input types
    {{0, "STEREO"}, {1, "L/L"}, {2, "R/R"}, {3, "MONO"}, QORA_END(5)},
    // 10: pan types
    {{0, "PAN"}, {1, "BALANCE"}, QORA_END(5)},
    // 11: knee types
    {
        {0, "HARD"}, {1, "SOFT-1"}, {2, "SOFT-2"}, {3, "SOFT-3"}, {4, "SOFT-4"}, {5, "SOFT-5"},
        QORA_END(10),
    },
    // 12: de-esser types
    {{0, "BELL"}, {1, "HIGH SHELF"}, QORA_END(3)},
    // 13: FX effect types. The FX rack sizes and the conversion rules key on
    // these values: 0..3 classic reverbs, 24/25 second hall and room,
    // 26..28 HD reverbs; 29 is "no effect".
    {
        {0, "HALL"}, {1, "ROOM"}, {2, "STAGE"}, {3, "PLATE"}, {4, "EARLY REF."},
        {5, "GATE REVERB"}, {6, "REVERSE GATE"}, {7, "MONO DELAY"}, {8, "STEREO DELAY"},
        {9, "DELAY LCR"}, {10, "ECHO"}, {11, "CHORUS"}, {12, "FLANGE"}, {13, "SYMPHONIC"},
        {14, "DYNAMIC PHASER"}, {15, "PHASER"}, {16, "DUAL PITCH"}, {17, "TREMOLO"},
        {18, "AUTO PAN"}, {19, "ROTARY SPEAKER"}, {20, "RING MODULATOR"},
        {21, "DYNAMIC FILTER"}, {22, "DISTORTION"}, {23, "AMP SIMULATOR"}, {24, "HALL II"},
        {25, "ROOM II"}, {26, "HD HALL"}, {27, "HD ROOM"}, {28, "HD PLATE"},
        {29, ""},
        QORA_END(30),
    },
    // 14: velmar-rack plug-in types; the slot count each fills is noted.
    // 59 is "no plug-in".
    {
        {0, "Multiband Dynamics 6"},  // 6
        {1, "Parametric EQ 8"},       // 4
        {2, "Vintage EQ Pair"},       // 4
        {3, "Noise Gate"},            // 1
        {4, "Ducker"},                // 1
        {5, "Opto Compressor"},       // 2
        {6, "Dynamic EQ 4"},          // 4
        {7, "Tube Compressor"},       // 3
        {8, "Bus Compressor"},        // 3
        {9, "De-Esser"},              // 2
        {10, "Transient Shaper"},     // 2
        {11, "Peak Limiter"},         // 2
        {12, "Channel Strip"},        // 3
        {13, "Vari-Mu Compressor"},   // 3
        {14, "Harmonic Exciter"},     // 2
        {15, "Sub Harmonic"},         // 2
        {16, "Console Drive"},        // 3
        {17, "Tape Saturator"},       // 3
        {18, "Passive EQ"},           // 3
        {19, "Program EQ"},           // 3
        {20, "Mastering EQ"},         // 4
        {21, "Linear Phase EQ"},      // 4
        {22, "Dialogue Denoiser"},    // 8
        {23, "Vocal Rider Suite"},    // 8
        {24, "Stereo Imager"},        // 2
        {25, "Mono Maker"},           // 2
        {26, "Phase Aligner"},        // 2
        {27, "Envelope Filter"},      // 2
        {28, "Resonant Filter"},      // 2
        {29, "Feedback Suppressor"},  // 2
        {30, "FET Compressor"},       // 3
        {31, "VCA Compressor"},       // 3
        {32, "Multiband Comp 4"},     // 4
        {59, ""},
        QORA_END(60),
    },
    // 15: GEQ rack types; the empty text is "no GEQ unit"
    {
        {0, ""}, {1, "31BandGEQ"}, {2, "Varo15GEQ"}, {3, "8BandPEQ"}, {4, "Automixer32"},
        {5, "Automixer64"},
        QORA_END(6),
    },
    // 16: GEQ rack PEQ types
    {{0, "PRECISE"}, {1, "AGGRESSIVE"}, {2, "SMOOTH"}, {3, "LEGACY"}, QORA_END(4)},
    // 17: GEQ limits
    {{0, "+15dB_-15dB"}, {1, "+12dB_-12dB"}, {2, "+6dB_-6dB"}, {3, "0dB_-24dB"}, QORA_END(4)},
};

#undef QORA_END

constexpr ValueNameBinding kBindings[] = {
// BEGIN GENERATED by tools/gen_value_names.py -- do not edit
    {"/Mixing/InputChannel/Label/Icon/MMS", 0},
    {"/Mixing/Mix/Label/Icon/MMS", 0},
    {"/Mixing/Matrix/Label/Icon/MMS", 0},
    {"/Mixing/Stereo/Label/Icon/MMS", 0},
    {"/Mixing/DCA/Label/Icon/MMS", 0},
    {"/Mixing/InputChannel/Label/Color/MMS", 1},
    {"/Mixing/Mix/Label/Color/MMS", 1},
    {"/Mixing/Matrix/Label/Color/MMS", 1},
    {"/Mixing/Stereo/Label/Color/MMS", 1},
    {"/Mixing/DCA/Label/Color/MMS", 1},
    {"/Mixing/InputChannel/Dynamics:0/KeyIn:0/FilterType/MMS", 2},
    {"/Mixing/InputChannel/Dynamics:0/KeyIn:1/FilterType/MMS", 2},
    {"/Mixing/InputChannel/Dynamics:1/KeyIn:0/FilterType/MMS", 2},
    {"/Mixing/InputChannel/Dynamics:1/KeyIn:1/FilterType/MMS", 2},
    {"/Mixing/Mix/Dynamics:0/KeyIn:0/FilterType/MMS", 2},
    {"/Mixing/Mix/Dynamics:0/KeyIn:1/FilterType/MMS", 2},
    {"/Mixing/Matrix/Dynamics:0/KeyIn:0/FilterType/MMS", 2},
    {"/Mixing/Matrix/Dynamics:0/KeyIn:1/FilterType/MMS", 2},
    {"/Mixing/Stereo/Dynamics:0/KeyIn:0/FilterType/MMS", 2},
    {"/Mixing/Stereo/Dynamics:0/KeyIn:1/FilterType/MMS", 2},
    {"/Mixing/Mix/Dynamics:0/KeyIn:0/FilterType/OnOff/MMS", 2},
    {"/Mixing/Mix/Dynamics:0/KeyIn:1/FilterType/OnOff/MMS", 2},
    {"/Mixing/Matrix/Dynamics:0/KeyIn:0/FilterType/OnOff/MMS", 2},
    {"/Mixing/Matrix/Dynamics:0/KeyIn:1/FilterType/OnOff/MMS", 2},
    {"/Mixing/Stereo/Dynamics:0/KeyIn:0/FilterType/OnOff/MMS", 2},
    {"/Mixing/Stereo/Dynamics:0/KeyIn:1/FilterType/OnOff/MMS", 2},
    {"/Mixing/InputChannel/Dynamics:0/Bank:0/Type/MMS", 3},
    {"/Mixing/InputChannel/Dynamics:0/Bank:1/Type/MMS", 3},
    {"/Mixing/InputChannel/Dynamics:1/Bank:0/Type/MMS", 3},
    {"/Mixing/InputChannel/Dynamics:1/Bank:1/Type/MMS", 3},
    {"/Mixing/Matrix/Dynamics:0/Bank:0/Type/MMS", 3},
    {"/Mixing/Matrix/Dynamics:0/Bank:1/Type/MMS", 3},
    {"/Mixing/Mix/Dynamics:0/Bank:0/Type/MMS", 3},
    {"/Mixing/Mix/Dynamics:0/Bank:1/Type/MMS", 3},
    {"/Mixing/Stereo/Dynamics:0/Bank:0/Type/MMS", 3},
    {"/Mixing/Stereo/Dynamics:0/Bank:1/Type/MMS", 3},
    {"/Mixing/InputChannel/PEQ:0/Bank:0/Type/MMS", 4},
    {"/Mixing/InputChannel/PEQ:0/Bank:1/Type/MMS", 4},
    {"/Mixing/Matrix/PEQ:0/Bank:0/Type/MMS", 4},
    {"/Mixing/Matrix/PEQ:0/Bank:1/Type/MMS", 4},
    {"/Mixing/Mix/PEQ:0/Bank:0/Type/MMS", 4},
    {"/Mixing/Mix/PEQ:0/Bank:1/Type/MMS", 4},
    {"/Mixing/Stereo/PEQ:0/Bank:0/Type/MMS", 4},
    {"/Mixing/Stereo/PEQ:0/Bank:1/Type/MMS", 4},
    {"/Mixing/InputChannel/Dynamics:0/KeyIn:0/SourceSelect/MMS", 5},
    {"/Mixing/InputChannel/Dynamics:0/KeyIn:1/SourceSelect/MMS", 5},
    {"/Mixing/InputChannel/Dynamics:1/KeyIn:0/SourceSelect/MMS", 5},
    {"/Mixing/InputChannel/Dynamics:1/KeyIn:1/SourceSelect/MMS", 5},
    {"/Mixing/Matrix/Dynamics:0/KeyIn:0/SourceSelect/MMS", 6},
    {"/Mixing/Matrix/Dynamics:0/KeyIn:1/SourceSelect/MMS", 6},
    {"/Mixing/Mix/Dynamics:0/KeyIn:0/SourceSelect/MMS", 6},
    {"/Mixing/Mix/Dynamics:0/KeyIn:1/SourceSelect/MMS", 6},
    {"/Mixing/Stereo/Dynamics:0/KeyIn:0/SourceSelect/MMS", 6},
    {"/Mixing/Stereo/Dynamics:0/KeyIn:1/SourceSelect/MMS", 6},
    {"/Mixing/InputChannel/ToStereo/PanMode/MMS", 7},
    {"/Mixing/Mix/ToStereo/PanMode/MMS", 7},
    {"/Mixing/Mix/BusType/MMS", 8},
    {"/Mixing/InputChannel/Signal/StereoInputType/MMS", 9},
    {"/Mixing/InputChannel/ToStereo:0/PanType/MMS", 10},
    {"/Mixing/Mix/ToStereo/PanType/MMS", 10},
    {"/Mixing/InputChannel/Dynamics:0/Bank:0/RQ_Comp/Knee/MMS", 11},
    {"/Mixing/InputChannel/Dynamics:0/Bank:0/Classic_Comp/Knee/MMS", 11},
    {"/Mixing/InputChannel/Dynamics:0/Bank:0/Expander/Knee/MMS", 11},
    {"/Mixing/InputChannel/Dynamics:0/Bank:1/RQ_Comp/Knee/MMS", 11},
    {"/Mixing/InputChannel/Dynamics:0/Bank:1/Classic_Comp/Knee/MMS", 11},
    {"/Mixing/InputChannel/Dynamics:0/Bank:1/Expander/Knee/MMS", 11},
    {"/Mixing/InputChannel/Dynamics:1/Bank:0/RQ_Comp/Knee/MMS", 11},
    {"/Mixing/InputChannel/Dynamics:1/Bank:0/Classic_Comp/Knee/MMS", 11},
    {"/Mixing/InputChannel/Dynamics:1/Bank:0/Expander/Knee/MMS", 11},
    {"/Mixing/InputChannel/Dynamics:1/Bank:1/RQ_Comp/Knee/MMS", 11},
    {"/Mixing/InputChannel/Dynamics:1/Bank:1/Classic_Comp/Knee/MMS", 11},
    {"/Mixing/InputChannel/Dynamics:1/Bank:1/Expander/Knee/MMS", 11},
    {"/Mixing/Mix/Dynamics:0/Bank:0/RQ_Comp/Knee/MMS", 11},
    {"/Mixing/Mix/Dynamics:0/Bank:0/Classic_Comp/Knee/MMS", 11},
    {"/Mixing/Mix/Dynamics:0/Bank:0/Expander/Knee/MMS", 11},
    {"/Mixing/Mix/Dynamics:0/Bank:1/RQ_Comp/Knee/MMS", 11},
    {"/Mixing/Mix/Dynamics:0/Bank:1/Classic_Comp/Knee/MMS", 11},
    {"/Mixing/Mix/Dynamics:0/Bank:1/Expander/Knee/MMS", 11},
    {"/Mixing/Matrix/Dynamics:0/Bank:0/RQ_Comp/Knee/MMS", 11},
    {"/Mixing/Matrix/Dynamics:0/Bank:0/Classic_Comp/Knee/MMS", 11},
    {"/Mixing/Matrix/Dynamics:0/Bank:0/Expander/Knee/MMS", 11},
    {"/Mixing/Matrix/Dynamics:0/Bank:1/RQ_Comp/Knee/MMS", 11},
    {"/Mixing/Matrix/Dynamics:0/Bank:1/Classic_Comp/Knee/MMS", 11},
    {"/Mixing/Matrix/Dynamics:0/Bank:1/Expander/Knee/MMS", 11},
    {"/Mixing/Stereo/Dynamics:0/Bank:0/RQ_Comp/Knee/MMS", 11},
    {"/Mixing/Stereo/Dynamics:0/Bank:0/Classic_Comp/Knee/MMS", 11},
    {"/Mixing/Stereo/Dynamics:0/Bank:0/Expander/Knee/MMS", 11},
    {"/Mixing/Stereo/Dynamics:0/Bank:1/RQ_Comp/Knee/MMS", 11},
    {"/Mixing/Stereo/Dynamics:0/Bank:1/Classic_Comp/Knee/MMS", 11},
    {"/Mixing/Stereo/Dynamics:0/Bank:1/Expander/Knee/MMS", 11},
    {"/Mixing/InputChannel/Dynamics:0/Bank:0/DeEsser/Type/MMS", 12},
    {"/Mixing/InputChannel/Dynamics:0/Bank:1/DeEsser/Type/MMS", 12},
    {"/Mixing/InputChannel/Dynamics:1/Bank:0/DeEsser/Type/MMS", 12},
    {"/Mixing/InputChannel/Dynamics:1/Bank:1/DeEsser/Type/MMS", 12},
    {"/Mixing/Mix/Dynamics:0/Bank:0/DeEsser/Type/MMS", 12},
    {"/Mixing/Mix/Dynamics:0/Bank:1/DeEsser/Type/MMS", 12},
    {"/Mixing/Matrix/Dynamics:0/Bank:0/DeEsser/Type/MMS", 12},
    {"/Mixing/Matrix/Dynamics:0/Bank:1/DeEsser/Type/MMS", 12},
    {"/Mixing/Stereo/Dynamics:0/Bank:0/DeEsser/Type/MMS", 12},
    {"/Mixing/Stereo/Dynamics:0/Bank:1/DeEsser/Type/MMS", 12},
    {"/FX/FX/Param:0/PluginName:0/MMS", 13},
    {"/VelmarRack/VelmarRack2/PlugIn:0/PluginName/MMS", 14},
    {"/Mixing/GEQRack2/Type:0/MMS", 15},
    {"/Mixing/GEQRack2/Type:0/MMSDugan", 15},
    {"/Mixing/GEQRack2/Type:0/MMSGEQ", 15},
    {"/Mixing/GEQRack2/AB:0/PEQ/Type/MMS", 16},
    {"/Mixing/GEQRack2/AB:1/PEQ/Type/MMS", 16},
    {"/Mixing/GEQRack2/AB:0/GEQ:0/Limit:0/MMS", 17},
    {"/Mixing/GEQRack2/AB:1/GEQ:0/Limit:0/MMS", 17},
// END GENERATED
};

static_assert(std::size(kBindings) == ValueNameTables::BindingCount, "binding row count");

bool sameText(const char* a, const std::string& b)
{
    const std::size_t len = std::strlen(a);
    return len == b.size() && std::memcmp(a, b.data(), len) == 0;
}

constexpr std::size_t lengthOf(const char* text)
{
    std::size_t n = 0;
    while (text[n] != '\0')
        ++n;
    return n;
}

template <std::size_t... I>
constexpr std::array<std::size_t, sizeof...(I)> bindingLengths(std::index_sequence<I...>)
{
    return {lengthOf(kBindings[I].name)...};
}

// Every value written scans the bindings; with the lengths known at compile
// time most rows are passed over without reading their names.
constexpr auto kBindingLengths = bindingLengths(std::make_index_sequence<std::size(kBindings)>());

bool isBoundName(std::size_t row, const std::string& name)
{
    return kBindingLengths[row] == name.size()
        && std::memcmp(kBindings[row].name, name.data(), name.size()) == 0;
}

bool isTerminator(const ValueNameEntry& entry)
{
    return std::strcmp(entry.text, ValueNameTables::Terminator) == 0;
}

// The row bound to `name`, -1 for none. The effect-type variants of the FX
// type ("/FX/FX/Param:0/PluginName:0/MMS/<tag>") write the same parameter
// as the untagged name, so they share its table: without it the reverb
// switch wrote a number where the editor keeps a type name, and was refused.
int boundRow(const std::string& name, std::size_t from)
{
    for (std::size_t row = from; row < ValueNameTables::BindingCount; ++row) {
        if (isBoundName(row, name))
            return int(row);
    }
    static const std::string fxType = "/FX/FX/Param:0/PluginName:0/MMS";
    if (from == 0 && name.size() > fxType.size() + 1 && name.compare(0, fxType.size(), fxType) == 0
        && name[fxType.size()] == '/' && name.find('/', fxType.size() + 1) == std::string::npos)
        return boundRow(fxType, 0);
    return -1;
}

// Values come parameter by parameter, channel after channel: the first
// binding of the last name asked for is kept.
int firstBoundRow(const std::string& name)
{
    thread_local std::string lastName;
    thread_local int lastRow = -2;
    if (lastRow == -2 || name != lastName) {
        lastName = name;
        lastRow = boundRow(name, 0);
    }
    return lastRow;
}

} // namespace

const ValueNameBinding* ValueNameTables::bindings()
{
    return kBindings;
}

const ValueNameEntry* ValueNameTables::table(int number)
{
    if (number < 0 || number >= TableCount)
        return nullptr;
    return kTables[number];
}

// Both lookups scan every binding: a table walk that ends without result
// (no terminator within SlotsPerTable slots) resumes the binding scan.
const char* ValueNameTables::FindValueName(const std::string& name, int value)
{
    for (int row = firstBoundRow(name); row >= 0; row = boundRow(name, std::size_t(row) + 1)) {
        const ValueNameEntry* slots = table(kBindings[row].table);
        if (!slots)
            continue;
        for (int i = 0; i < SlotsPerTable; ++i) {
            if (isTerminator(slots[i]))
                return nullptr;
            if (slots[i].value == value)
                return slots[i].text;
        }
    }
    return nullptr;
}

int ValueNameTables::FindValueByName(const std::string& name, const std::string& text)
{
    for (int row = firstBoundRow(name); row >= 0; row = boundRow(name, std::size_t(row) + 1)) {
        const ValueNameEntry* slots = table(kBindings[row].table);
        if (!slots)
            continue;
        for (int i = 0; i < SlotsPerTable; ++i) {
            if (isTerminator(slots[i]))
                return slots[i].value;
            if (sameText(slots[i].text, text))
                return slots[i].value;
        }
    }
    return 0;
}
