#pragma once

#include <QString>

// Host scene numbers are 100 times the console's two-decimal numbers: the
// host's 123 is the console's 1.23.
class SceneNumber
{
public:
    // The parking scene: the current memory is stored there before the first
    // recall of a real scene.
    static constexpr int Parking = 99999;
    static const char* const Category; // "UserA"

    // "1.23" for 123, "0.05" for 5, "999.99" for 99999.
    static QString text(int scene);

    // A scene-list row text to the host's number: the first "." is removed
    // and the rest read with std::stoi (throws std::invalid_argument or
    // std::out_of_range). A text without "." is a whole console number and
    // gets its two decimals added (12 -> 1200).
    static int fromRowText(const QString& rowText);
};
