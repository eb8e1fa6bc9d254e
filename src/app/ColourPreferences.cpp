#include "ColourPreferences.h"

#include "ColourScheme.h"

#include <QDataStream>
#include <QIODevice>
#include "views/Settings.h"

namespace ColourPreferences {
namespace {

struct Key {
    const char *name;
    QColor ColourScheme::*colour;
};

// In the order the settings keep them.
constexpr Key kKeys[] = {
    {Settings::MarkerColour, &ColourScheme::itemMarker},
    {Settings::AtmColour, &ColourScheme::atm},
    {Settings::CommissionColour, &ColourScheme::commission},
    {Settings::InterestColour, &ColourScheme::interest},
    {Settings::YahooColour, &ColourScheme::yahoo},
};

QByteArray archived(const QColor &colour)
{
    QByteArray data;
    QDataStream stream(&data, QIODevice::WriteOnly);
    stream.setVersion(QDataStream::Qt_6_0);
    stream << colour;
    return data;
}

bool unarchived(const QByteArray &data, QColor *colour)
{
    QDataStream stream(data);
    stream.setVersion(QDataStream::Qt_6_0);
    QColor read;
    stream >> read;
    if (stream.status() != QDataStream::Ok || !stream.atEnd() || !read.isValid())
        return false;
    *colour = read;
    return true;
}

} // namespace

void read(ColourScheme *colours)
{
    const QSettings settings = Settings::store();
    const ColourScheme design;
    for (const Key &key : kKeys) {
        const QVariant value = settings.value(QString::fromLatin1(key.name));
        QColor stored;
        if (value.isValid() && unarchived(value.toByteArray(), &stored)
            && stored != design.*key.colour)
            colours->*key.colour = stored;
    }
}

void write(const ColourScheme &colours, const ColourScheme &defaults)
{
    QSettings settings = Settings::store();
    for (const Key &key : kKeys) {
        const QString name = QString::fromLatin1(key.name);
        if (colours.*key.colour == defaults.*key.colour)
            settings.remove(name);
        else
            settings.setValue(name, archived(colours.*key.colour));
    }
}

} // namespace ColourPreferences
