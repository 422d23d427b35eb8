#include "ShellSession.h"

#include "ConversionDescription.h"
#include "ExceptionNames.h"
#include "ShellFormatter.h"
#include "host/IMixer.h"
#include "host/IParameter.h"

#include <QDir>
#include <QFileInfo>
#include <QString>
#include <QStringList>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <memory>
#include <stdexcept>

namespace {

using Args = std::vector<std::string>;   // the arguments, without the operation

// A call the shell cannot run; becomes a "?" line.
struct UsageError {
    std::string message;
};

struct Operation {
    const char* name;
    const char* arguments;   // usage text of the arguments
    int minArgs;
    int maxArgs;             // -1: no upper limit
    std::string (*run)(IMixer* mixer, const Args& args);
};

int toInt(const Args& args, std::size_t index, const char* what)
{
    const std::string& text = args[index];
    errno = 0;
    char* end = nullptr;
    const long value = std::strtol(text.c_str(), &end, 10);
    const bool digits = !text.empty() && text.find_first_of(" \t") == std::string::npos;
    if (!digits || *end != '\0' || errno == ERANGE || value < INT_MIN || value > INT_MAX)
        throw UsageError{"argument " + std::to_string(index + 1) + " (" + what
                         + ") is not an integer: " + ShellFormatter::jsonString(text)};
    return static_cast<int>(value);
}

bool toBool(const Args& args, std::size_t index, const char* what)
{
    if (args[index] == "true")
        return true;
    if (args[index] == "false")
        return false;
    throw UsageError{"argument " + std::to_string(index + 1) + " (" + what
                     + ") must be true or false: " + ShellFormatter::jsonString(args[index])};
}

struct ParameterRelease {
    void operator()(IParameter* parameter) const
    {
        if (parameter)
            parameter->Destroy();
    }
};
using ParameterPtr = std::unique_ptr<IParameter, ParameterRelease>;

ParameterPtr makeParameter(IMixer* mixer, const std::string& name)
{
    return ParameterPtr(mixer->CreateParameter(name));
}

ConversionDescription describe(const std::string& sourceFileType)
{
    return ConversionDescription(FileDescription(std::string(), sourceFileType),
                                 FileDescription(std::string(), "KX9F"), std::string(),
                                 std::string());
}

const Operation kOperations[] = {
    {"GetMixerId", "", 0, 0,
     [](IMixer* m, const Args&) { return ShellFormatter::text(m->GetMixerId()); }},
    {"CreateParameter", "NAME", 1, 1,
     [](IMixer* m, const Args& a) {
         ParameterPtr p = makeParameter(m, a[0]);
         return p ? ShellFormatter::integer(p->GetId())
                  : ShellFormatter::problem("CreateParameter returned no parameter");
     }},
    {"LookupParameterRanges", "NAME", 1, 1,
     [](IMixer* m, const Args& a) {
         int cmin = 0, cmax = 0, smin = 0, smax = 0;
         m->LookupParameterRanges(a[0], cmin, cmax, smin, smax);
         return ShellFormatter::integers({cmin, cmax, smin, smax});
     }},
    {"IsStereoParameter", "NAME", 1, 1,
     [](IMixer* m, const Args& a) {
         ParameterPtr p = makeParameter(m, a[0]);
         return ShellFormatter::boolean(m->IsStereoParameter(p.get()));
     }},
    {"GetValue", "NAME CH SUB", 3, 3,
     [](IMixer* m, const Args& a) {
         const int ch = toInt(a, 1, "CH");
         const int sub = toInt(a, 2, "SUB");
         ParameterPtr p = makeParameter(m, a[0]);
         return ShellFormatter::integer(m->GetValue(p.get(), ch, sub));
     }},
    {"SetValue", "NAME CH VALUE SUB", 4, 4,
     [](IMixer* m, const Args& a) {
         const int ch = toInt(a, 1, "CH");
         const int value = toInt(a, 2, "VALUE");
         const int sub = toInt(a, 3, "SUB");
         ParameterPtr p = makeParameter(m, a[0]);
         m->SetValue(p.get(), ch, value, sub);
         return ShellFormatter::ok();
     }},
    {"SetCurrentSceneMemory", "[SCENE]", 0, 1,
     [](IMixer* m, const Args& a) {
         if (a.empty())
             m->SetCurrentSceneMemory();
         else
             m->SetCurrentSceneMemory(toInt(a, 0, "SCENE"));
         return ShellFormatter::ok();
     }},
    {"StoreCurrentSceneMemory", "SCENE", 1, 1,
     [](IMixer* m, const Args& a) {
         m->StoreCurrentSceneMemory(toInt(a, 0, "SCENE"));
         return ShellFormatter::ok();
     }},
    {"LibraryHasValidData", "SCENE", 1, 1,
     [](IMixer* m, const Args& a) {
         return ShellFormatter::boolean(m->LibraryHasValidData(toInt(a, 0, "SCENE")));
     }},
    {"SceneLibraryHasData", "SCENE", 1, 1,
     [](IMixer* m, const Args& a) {
         return ShellFormatter::boolean(m->SceneLibraryHasData(toInt(a, 0, "SCENE")));
     }},
    {"GetSceneList", "", 0, 0,
     [](IMixer* m, const Args&) {
         // Room for scene 0 and all 500 rows of the console's scene list.
         std::vector<unsigned int> scenes(501, 0);
         unsigned int count = static_cast<unsigned int>(scenes.size());
         m->GetSceneList(count, scenes.data());
         scenes.resize(std::min<std::size_t>(count, scenes.size()));
         return ShellFormatter::unsignedIntegers(scenes);
     }},
    {"GetTitle", "SCENE", 1, 1,
     [](IMixer* m, const Args& a) { return ShellFormatter::text(m->GetTitle(toInt(a, 0, "SCENE"))); }},
    {"SetTitle", "TEXT SCENE", 2, 2,
     [](IMixer* m, const Args& a) {
         std::string text = a[0];
         m->SetTitle(text, toInt(a, 1, "SCENE"));
         return ShellFormatter::ok();
     }},
    {"GetComment", "SCENE", 1, 1,
     [](IMixer* m, const Args& a) {
         return ShellFormatter::text(m->GetComment(toInt(a, 0, "SCENE")));
     }},
    {"SetComment", "TEXT SCENE", 2, 2,
     [](IMixer* m, const Args& a) {
         std::string text = a[0];
         m->SetComment(text, toInt(a, 1, "SCENE"));
         return ShellFormatter::ok();
     }},
    {"GetProtect", "SCENE", 1, 1,
     [](IMixer* m, const Args& a) {
         return ShellFormatter::boolean(m->GetProtect(toInt(a, 0, "SCENE")));
     }},
    {"SetProtect", "true|false SCENE", 2, 2,
     [](IMixer* m, const Args& a) {
         const bool protect = toBool(a, 0, "PROTECT");
         m->SetProtect(protect, toInt(a, 1, "SCENE"));
         return ShellFormatter::ok();
     }},
    {"GetDateTime", "SCENE", 1, 1,
     [](IMixer* m, const Args& a) {
         return ShellFormatter::dateTime(m->GetDateTime(toInt(a, 0, "SCENE")));
     }},
    {"SetDateTime", "Y M D h m s SCENE", 7, 7,
     [](IMixer* m, const Args& a) {
         static const char* const fields[] = {"Y", "M", "D", "h", "m", "s"};
         short values[6];
         for (std::size_t i = 0; i < 6; ++i) {
             const int v = toInt(a, i, fields[i]);
             if (v < SHRT_MIN || v > SHRT_MAX)
                 throw UsageError{"argument " + std::to_string(i + 1) + " (" + fields[i]
                                  + ") is outside the 16-bit range"};
             values[i] = static_cast<short>(v);
         }
         DateTime time;
         time.year = values[0];
         time.month = values[1];
         time.day = values[2];
         time.hour = values[3];
         time.minute = values[4];
         time.second = values[5];
         m->SetDateTime(time, toInt(a, 6, "SCENE"));
         return ShellFormatter::ok();
     }},
    {"PreConversionSetup", "", 0, 0,
     [](IMixer* m, const Args&) {
         m->PreConversionSetup();
         return ShellFormatter::ok();
     }},
    {"ResetMixerMemory", "[FILETYPE]", 0, 1,
     [](IMixer* m, const Args& a) {
         ConversionDescription description = describe(a.empty() ? std::string() : a[0]);
         m->ResetMixerMemory(&description);
         return ShellFormatter::ok();
     }},
    {"LoadData", "PATH", 1, 1,
     [](IMixer* m, const Args& a) {
         // The editor would resolve a relative path against its own folder.
         QString path = QFileInfo(QString::fromStdString(a[0])).absoluteFilePath();
         m->LoadData(path);
         return ShellFormatter::ok();
     }},
    {"SaveData", "FOLDER NAME", 2, 2,
     [](IMixer* m, const Args& a) {
         QString folder = QDir(QString::fromStdString(a[0])).absolutePath();
         QString name = QString::fromStdString(a[1]);
         m->SaveData(folder, name);
         return ShellFormatter::ok();
     }},
    {"GetNameParameterNum", "", 0, 0,
     [](IMixer* m, const Args&) { return ShellFormatter::integer(m->GetNameParameterNum()); }},
    {"GetNameParameterList", "INDEX", 1, 1,
     [](IMixer* m, const Args& a) {
         QStringList names;
         m->GetNameParameterList(toInt(a, 0, "INDEX"), names);
         return ShellFormatter::texts(names);
     }},
    {"SetNameParameterList", "HEAD [TEXT...]", 1, -1,
     [](IMixer* m, const Args& a) {
         QStringList names;
         for (const std::string& text : a)
             names.append(QString::fromStdString(text));
         m->SetNameParameterList(names, a[0]);
         return ShellFormatter::ok();
     }},
    {"GetLibrariesToConvert", "", 0, 0,
     [](IMixer* m, const Args&) { return ShellFormatter::integers(m->GetLibrariesToConvert()); }},
    {"LibraryIndexToCategoryId", "INDEX [OPTION...]", 1, -1,
     [](IMixer* m, const Args& a) {
         const int index = toInt(a, 0, "INDEX");
         if (a.size() == 1)
             return ShellFormatter::integer(m->LibraryIndexToCategoryId(index));
         ConversionDescription description = describe(std::string());
         for (std::size_t i = 1; i < a.size(); ++i)
             description.SetOption(QString::fromStdString(a[i]), 1);
         return ShellFormatter::integer(m->LibraryIndexToCategoryId(index, &description));
     }},
    {"GetLibraryMax", "LIB", 1, 1,
     [](IMixer* m, const Args& a) {
         return ShellFormatter::integer(m->GetLibraryMax(toInt(a, 0, "LIB")));
     }},
    {"GetSceneLibraryMax", "", 0, 0,
     [](IMixer* m, const Args&) { return ShellFormatter::integer(m->GetSceneLibraryMax()); }},
};

const Operation* findOperation(const std::string& name)
{
    for (const Operation& op : kOperations) {
        if (name == op.name)
            return &op;
    }
    return nullptr;
}

std::string countText(int n)
{
    return std::to_string(n) + (n == 1 ? " argument" : " arguments");
}

} // namespace

ShellSession::ShellSession(IMixer* mixer)
    : m_mixer(mixer)
{
}

std::vector<std::string> ShellSession::usage()
{
    std::vector<std::string> lines;
    for (const Operation& op : kOperations)
        lines.push_back(*op.arguments ? std::string(op.name) + " " + op.arguments : op.name);
    return lines;
}

std::string ShellSession::execute(const std::vector<std::string>& call)
{
    if (call.empty())
        return ShellFormatter::problem("empty call");
    const Operation* op = findOperation(call[0]);
    if (!op)
        return ShellFormatter::problem("unknown operation: " + call[0]);
    const Args args(call.begin() + 1, call.end());
    const int n = static_cast<int>(args.size());
    if (n < op->minArgs || (op->maxArgs >= 0 && n > op->maxArgs)) {
        std::string expected = op->minArgs == op->maxArgs ? countText(op->minArgs)
                               : op->maxArgs < 0 ? "at least " + countText(op->minArgs)
                                                 : std::to_string(op->minArgs) + " to "
                                                       + std::to_string(op->maxArgs) + " arguments";
        return ShellFormatter::problem(call[0] + " takes " + expected
                                       + (*op->arguments ? std::string(" (") + op->arguments + ")"
                                                         : std::string())
                                       + ", got " + std::to_string(n));
    }
    try {
        return op->run(m_mixer, args);
    } catch (const UsageError& e) {
        return ShellFormatter::problem(call[0] + ": " + e.message);
    } catch (std::exception* e) {
        // Thrown to the host as a heap pointer: the catcher owns it.
        std::unique_ptr<std::exception> owned(e);
        if (!owned)
            return ShellFormatter::exception("null", "a null exception pointer was thrown");
        return ShellFormatter::exception(ExceptionNames::className(*owned), owned->what());
    } catch (const std::exception& e) {
        return ShellFormatter::exception(ExceptionNames::className(e), e.what());
    } catch (...) {
        return ShellFormatter::exception("unknown", "an exception of unknown type was thrown");
    }
}
