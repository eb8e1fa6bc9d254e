#pragma once

#include <QLocale>
#include <QTranslator>

// The window's texts in a language, installed for as long as this lives: Qt's own, English
// (the source language, whose catalogue holds only the plural forms: "1 entry", "2 entries")
// and, over it, Moriva's catalogue for the language when there is one.
class Translations
{
public:
    explicit Translations(const QLocale &locale = QLocale());

private:
    QTranslator m_qt;
    QTranslator m_english;
    QTranslator m_own;
};
