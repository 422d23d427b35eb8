#include "mixer/SceneNumber.h"

#include <limits>
#include <stdexcept>
#include <string>

const char* const SceneNumber::Category = "UserA";

QString SceneNumber::text(int scene)
{
    return QStringLiteral("%0").arg(scene / 100.0, 0, 'f', 2);
}

int SceneNumber::fromRowText(const QString& rowText)
{
    const int dot = rowText.indexOf(QLatin1Char('.'));
    if (dot >= 0) {
        QString digits = rowText;
        digits.remove(dot, 1);
        return std::stoi(digits.toStdString());
    }
    const int whole = std::stoi(rowText.toStdString());
    if (whole > std::numeric_limits<int>::max() / 100 || whole < std::numeric_limits<int>::min() / 100)
        throw std::out_of_range("stoi argument out of range");
    return whole * 100;
}
