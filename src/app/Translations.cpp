#include "Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>

Translations::Translations(const QLocale &locale)
{
    // A translator takes itself out of the application when it goes.
    if (m_qt.load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                  QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&m_qt);
    if (m_english.load(QStringLiteral(":/i18n/moriva_en.qm")))
        QCoreApplication::installTranslator(&m_english);
    if (m_own.load(locale, QStringLiteral("moriva"), QStringLiteral("_"), QStringLiteral(":/i18n")))
        QCoreApplication::installTranslator(&m_own);
}
