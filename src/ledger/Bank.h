#pragma once

#include <QString>
#include <QStringView>

// The banks Moriva keeps a ledger for. The numbers are the ones stored in the settings
// ("MVCurrentBankKind"); a stored number that is neither bank reads as no bank.
enum class Bank : int { None = 0, Jnb = 1, Ebank = 2 };

namespace Banks {

inline bool isBank(Bank bank)
{
    return bank == Bank::Jnb || bank == Bank::Ebank;
}

// A statement file's bank, told by its path: "NBG" means JNB, else "eBANK" means eBANK.
inline Bank fromPath(QStringView path)
{
    if (path.contains(u"NBG"))
        return Bank::Jnb;
    if (path.contains(u"eBANK"))
        return Bank::Ebank;
    return Bank::None;
}

// "JNB", "eBANK"; empty for no bank. The banks' own names, the same in every language.
inline QString name(Bank bank)
{
    switch (bank) {
    case Bank::Jnb:
        return QStringLiteral("JNB");
    case Bank::Ebank:
        return QStringLiteral("eBANK");
    default:
        return QString();
    }
}

} // namespace Banks
