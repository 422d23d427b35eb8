#pragma once

#include <QJsonObject>
#include <QWidget>

class QPaintEvent;
class QResizeEvent;

// One scene of `plaxbridge show --json` drawn as the console's channel strips,
// like the show page: number, name, EQ and DYN lamps, pan, a fader cap from
// -60 dB (bottom) to +10 dB (top), the level and the ON key (dark when off).
// A name that is the current memory's is grey and in italics. Strips wrap to
// the width; the height follows.
class StripPicture : public QWidget {
    Q_OBJECT

public:
    explicit StripPicture(QWidget* parent = nullptr);

    // A member of the JSON's "shown"; an empty object clears the picture.
    void setScene(const QJsonObject& scene);
    const QJsonObject& scene() const { return m_scene; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    int columns() const;
    int heightFor(int columns) const;
    void paintStrip(QPainter& painter, const QRect& box, const QString& label, const QJsonObject& strip) const;

    QJsonObject m_scene;
};
