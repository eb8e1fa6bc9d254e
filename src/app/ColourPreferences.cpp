#include "ColourPreferences.h"

#include "ColourScheme.h"

#include <QDataStream>
#include <QIODevice>
#include <QSettings>

namespace ColourPreferences {
namespace {

struct Key {
    const char *name;
    QColor ColourScheme::*colour;
};

// In the order the settings keep them.
constexpr Key kKeys[] = {
    {"MVItemMakerColor", &ColourScheme::itemMarker},
    {"MVATMInfoColor", &ColourScheme::atm},
    {"MVCommissionInfoColor", &ColourScheme::commission},
    {"MVInterestInfoColor", &ColourScheme::interest},
    {"MVYahooInfoColor", &ColourScheme::yahoo},
};

QSettings store()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Moriva"),
                     QStringLiteral("Moriva"));
}

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
    const QSettings settings = store();
    for (const Key &key : kKeys) {
        const QVariant value = settings.value(QString::fromLatin1(key.name));
        if (value.isValid())
            unarchived(value.toByteArray(), &(colours->*key.colour));
    }
}

void write(const ColourScheme &colours)
{
    QSettings settings = store();
    for (const Key &key : kKeys)
        settings.setValue(QString::fromLatin1(key.name), archived(colours.*key.colour));
}

} // namespace ColourPreferences
