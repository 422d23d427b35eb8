#include "ValueNames.h"

#include <QFile>
#include <QList>

namespace {

std::string key(const std::string& name, int value)
{
    return name + '\t' + std::to_string(value);
}

} // namespace

bool ValueNames::load(const QString& path, QString& error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("cannot read the value-name tables %1: %2").arg(path, file.errorString());
        return false;
    }
    int lineNumber = 0;
    while (!file.atEnd()) {
        QByteArray line = file.readLine();
        ++lineNumber;
        if (line.endsWith('\n'))
            line.chop(1);
        const QList<QByteArray> fields = line.split('\t');
        bool ok = false;
        const int value = fields.size() == 3 ? fields[1].toInt(&ok) : 0;
        if (!ok || !fields[0].startsWith('/')) {
            error = QStringLiteral("%1:%2: not a value-name line").arg(path).arg(lineNumber);
            return false;
        }
        const std::string name = fields[0].toStdString();
        m_bound.insert(name);
        m_texts.emplace(key(name, value), QString::fromUtf8(fields[2]));   // keeps the first
    }
    return true;
}

QString ValueNames::text(const std::string& name, int value) const
{
    const auto it = m_texts.find(key(name, value));
    if (it == m_texts.end())
        return QString::number(value);
    return it->second;
}
