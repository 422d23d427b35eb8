#include "DescriptorList.h"

#include <QFile>
#include <QSet>

namespace {

// In this order: the FX type, its tagged variant, the velmar plug-in type.
const char* const kTypeParameters[] = {
    "/FX/FX/Param:0/PluginName:0/MMS",
    "/FX/FX/Param:0/PluginName:0/MMS/Rev",
    "/VelmarRack/VelmarRack2/PlugIn:0/PluginName/MMS",
};

} // namespace

bool DescriptorList::load(const QString& path, std::vector<std::string>& names, QString& error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("cannot read the descriptor list %1: %2").arg(path, file.errorString());
        return false;
    }
    std::vector<std::string> loaded;
    QSet<QByteArray> seen;
    int lineNumber = 0;
    while (!file.atEnd()) {
        QByteArray line = file.readLine();
        ++lineNumber;
        while (line.endsWith('\n') || line.endsWith('\r'))
            line.chop(1);
        if (line.isEmpty())
            continue;
        if (!line.startsWith('/') || line.contains(' ') || line.contains('\t')) {
            error = QStringLiteral("%1:%2: not a parameter name").arg(path).arg(lineNumber);
            return false;
        }
        if (seen.contains(line)) {
            error = QStringLiteral("%1:%2: %3 is listed twice")
                        .arg(path)
                        .arg(lineNumber)
                        .arg(QString::fromUtf8(line));
            return false;
        }
        seen.insert(line);
        loaded.push_back(line.toStdString());
    }
    if (loaded.empty()) {
        error = QStringLiteral("the descriptor list %1 is empty").arg(path);
        return false;
    }
    names = std::move(loaded);
    return true;
}

bool DescriptorList::isTypeParameter(const std::string& name)
{
    for (const char* type : kTypeParameters) {
        if (name == type)
            return true;
    }
    return false;
}

std::vector<std::string> DescriptorList::conversionOrder(const std::vector<std::string>& names)
{
    std::vector<std::string> ordered;
    ordered.reserve(names.size());
    for (const char* type : kTypeParameters) {
        for (const std::string& name : names) {
            if (name == type) {
                ordered.push_back(name);
                break;
            }
        }
    }
    for (const std::string& name : names) {
        if (!isTypeParameter(name))
            ordered.push_back(name);
    }
    return ordered;
}
