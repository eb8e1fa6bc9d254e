#include "DataTexts.h"

#include <array>
#include <charconv>

namespace DataTexts {
namespace {

struct DataText {
    QStringView key;
    QStringView text;
};

// The one table of data texts.
constexpr std::array<DataText, 12> kTable{{
    {u"BalanceInfoHeader_1", u"操作日(年)"},
    {u"BalanceInfoHeader_2", u"取引日"},
    {u"Operation_Date", u"%d/%02d/%02d"},
    {u"Operation_Time", u"%02d:%02d:%02d"},
    {u"Yen_Sign", u"円"},
    {u"Summary_ATM_1", u"ATM"},
    {u"Summary_ATM_2", u"ATM"},
    {u"Summary_Commission", u"手数料"},
    {u"Summary_Interest_1", u"利息"},
    {u"Summary_Interest_2", u"利息"},
    {u"Summary_Yahoo", u"Yahoo"},
    {u"double_quotation", u"\""},
}};

// printf's "%02d" for one number, written by hand: the parsers format three of these per line
// and QString::asprintf would cost more than the rest of the line's work.
void appendTwoDigits(QString &out, int v)
{
    if (v >= 0 && v < 100) {
        out.append(QChar(u'0' + v / 10));
        out.append(QChar(u'0' + v % 10));
        return;
    }
    out.append(QString::number(v));
}

} // namespace

QString text(QStringView key)
{
    for (const DataText &entry : kTable) {
        if (entry.key == key)
            return entry.text.toString();
    }
    return key.toString();
}

const QString &jnbHeader()
{
    static const QString header = text(u"BalanceInfoHeader_1");
    return header;
}

const QString &ebankHeader()
{
    static const QString header = text(u"BalanceInfoHeader_2");
    return header;
}

const QString &yenSign()
{
    static const QString sign = text(u"Yen_Sign");
    return sign;
}

QString formatOperationDate(int year, int month, int day)
{
    QString out;
    out.reserve(10);
    // Four digits at least: year 1 is 0001/01/01, as years are written in dates.
    if (year >= 0 && year < 1000)
        out.append(QString::number(year).rightJustified(4, u'0'));
    else
        out.append(QString::number(year));
    out.append(u'/');
    appendTwoDigits(out, month);
    out.append(u'/');
    appendTwoDigits(out, day);
    return out;
}

QString formatOperationTime(int hour, int minute, int second)
{
    QString out;
    out.reserve(8);
    appendTwoDigits(out, hour);
    out.append(u':');
    appendTwoDigits(out, minute);
    out.append(u':');
    appendTwoDigits(out, second);
    return out;
}

QString groupThousands(int value)
{
    // Grouping is fixed (",", groups of three) whatever the locale, so QLocale does not fit.
    char digits[16];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    const int length = int(result.ptr - digits);
    const bool negative = value < 0;
    const int firstDigit = negative ? 1 : 0;
    const int digitCount = length - firstDigit;
    QString out;
    out.reserve(length + digitCount / 3);
    if (negative)
        out.append(u'-');
    for (int i = 0; i < digitCount; ++i) {
        if (i > 0 && (digitCount - i) % 3 == 0)
            out.append(u',');
        out.append(QChar(char16_t(digits[firstDigit + i])));
    }
    return out;
}

QString appendYenSign(const QString &text)
{
    if (text.isNull())
        return QString();
    return text + yenSign();
}

QString priceString(int amount)
{
    if (amount <= 0)
        return QString();
    return appendYenSign(groupThousands(amount));
}

} // namespace DataTexts
