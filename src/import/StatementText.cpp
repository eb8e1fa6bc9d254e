#include "StatementText.h"

#include <QStringDecoder>

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <vector>

namespace {

// The banks' Shift_JIS is Microsoft's CP932: it has NEC and IBM extensions (①, ㈱, 髙) and maps
// 0x8160 to the full-width tilde. Qt reaches it through ICU under these names.
QStringDecoder cp932Decoder()
{
    for (const char *name : {"windows-31j", "cp932", "Shift_JIS"}) {
        QStringDecoder decoder(name);
        if (decoder.isValid())
            return decoder;
    }
    return QStringDecoder(); // invalid: a Qt built without ICU
}

// CP932 through a table of every character, made once from the ICU decoder: a table look-up a
// character instead of a call into ICU. The table holds only what ICU reads as one character;
// a piece of text with any other byte sequence (bytes ICU cannot map, SUB) is decoded by ICU
// itself, so the text is always the one ICU gives.
class Cp932Table
{
public:
    static const Cp932Table *instance()
    {
        static const std::unique_ptr<Cp932Table> table = make();
        return table.get();
    }

    // Decodes the bytes into out (room for one character a byte); false at the first sequence
    // the table does not hold.
    bool decode(QByteArrayView in, char16_t *out, qsizetype *written) const
    {
        const auto *p = reinterpret_cast<const uchar *>(in.data());
        const auto *const end = p + in.size();
        char16_t *o = out;
        while (p < end) {
            // Eight ASCII bytes at a time (digits, commas and quotation marks make up most of a
            // statement), when the table reads them as themselves; the few it does not are
            // left to the table.
            if (m_asciiIsItself && end - p >= 8) {
                quint64 eight;
                memcpy(&eight, p, 8);
                constexpr quint64 ones = 0x0101010101010101ULL, highs = 0x8080808080808080ULL;
                const auto has = [eight](uchar b) {
                    const quint64 x = eight ^ (ones * b); // a zero byte where b was
                    return ((x - ones) & ~x & highs) != 0;
                };
                if ((eight & highs) == 0 && !has(kOtherAscii[0]) && !has(kOtherAscii[1])
                    && !has(kOtherAscii[2])) {
                    for (int i = 0; i < 8; ++i)
                        o[i] = char16_t(p[i]);
                    p += 8;
                    o += 8;
                    continue;
                }
            }
            const char16_t single = m_single[*p];
            if (single != kNone) {
                *o++ = single;
                ++p;
                continue;
            }
            if (*p < 0x80 || end - p < 2)
                return false;
            const char16_t pair = m_pairs[size_t(*p - 0x80) * 256 + p[1]];
            if (pair == kNone)
                return false;
            *o++ = pair;
            p += 2;
        }
        *written = o - out;
        return true;
    }

private:
    static constexpr char16_t kNone = 0xffff; // a noncharacter: no CP932 sequence gives it
    // The ASCII bytes ICU's CP932 reads as other control characters (0x1a as U+001C, 0x1c as
    // U+007F, 0x7f as SUB).
    static constexpr std::array<uchar, 3> kOtherAscii{0x1a, 0x1c, 0x7f};

    // What ICU reads as one character that a stored line may hold, or kNone.
    static char16_t character(QStringView decoded)
    {
        if (decoded.size() != 1 || decoded[0] == QChar::ReplacementCharacter
            || decoded[0] == QChar(0x1a))
            return kNone;
        return decoded[0].unicode();
    }

    static std::unique_ptr<Cp932Table> make()
    {
        QStringDecoder decoder = cp932Decoder();
        if (!decoder.isValid())
            return nullptr;
        // Every single byte, then every byte pair that may start a double-byte character,
        // each followed by a line feed, which no sequence takes in: decoded in one call and
        // told apart at the line feeds.
        QByteArray all;
        for (int b = 0; b < 256; ++b)
            all.append(char(b == '\n' ? ' ' : b)).append('\n');
        for (int lead = 0x80; lead < 256; ++lead) {
            for (int trail = 0; trail < 256; ++trail)
                all.append(char(lead)).append(char(trail == '\n' ? ' ' : trail)).append('\n');
        }
        const QString decoded = decoder.decode(all);
        const QList<QStringView> parts = QStringView(decoded).split(u'\n');
        if (parts.size() != 256 + 128 * 256 + 1)
            return nullptr;
        auto table = std::make_unique<Cp932Table>();
        for (int b = 0; b < 256; ++b)
            table->m_single[size_t(b)] = b == '\n' ? u'\n' : character(parts[b]);
        for (size_t i = 0; i < 128 * 256; ++i)
            table->m_pairs[i] = i % 256 == '\n' ? kNone : character(parts[256 + qsizetype(i)]);
        table->m_asciiIsItself = true;
        for (int b = 0; b < 0x80; ++b) {
            if (std::find(kOtherAscii.begin(), kOtherAscii.end(), b) == kOtherAscii.end()
                && table->m_single[size_t(b)] != char16_t(b))
                table->m_asciiIsItself = false;
        }
        return table;
    }

    std::array<char16_t, 256> m_single{};
    std::vector<char16_t> m_pairs = std::vector<char16_t>(128 * 256, kNone);
    bool m_asciiIsItself = false; // every ASCII byte but SUB reads as the same character
};

// Whether the bytes are UTF-8 text: their multibyte sequences are valid UTF-8 but for rare
// errors (a stray byte in a long file). CP932 text read as UTF-8 fails on most of its Japanese
// characters, so the two are told apart by the share of valid sequences.
bool isMostlyUtf8(QByteArrayView bytes)
{
    qsizetype valid = 0, invalid = 0;
    const auto *p = reinterpret_cast<const uchar *>(bytes.data());
    const auto *end = p + bytes.size();
    while (p < end) {
        // Eight ASCII bytes at a time: most of a statement is digits and commas.
        if (end - p >= 8) {
            quint64 eight;
            memcpy(&eight, p, 8);
            if ((eight & 0x8080808080808080ULL) == 0) {
                p += 8;
                continue;
            }
        }
        const uchar b = *p;
        if (b < 0x80) {
            ++p;
            continue;
        }
        // Decided once the rest, every two bytes a valid sequence, could not make up for the
        // errors met: CP932 text is told after its first few lines.
        if (invalid * 20 > valid + (end - p) / 2)
            return false;
        const int length = b >= 0xc2 && b <= 0xdf ? 2 : b >= 0xe0 && b <= 0xef ? 3
                         : b >= 0xf0 && b <= 0xf4 ? 4 : 0;
        bool ok = length > 0 && end - p >= length;
        for (int i = 1; ok && i < length; ++i)
            ok = (p[i] & 0xc0) == 0x80;
        if (ok) {
            ++valid;
            p += length;
        } else {
            ++invalid;
            ++p;
        }
    }
    return invalid == 0 || invalid * 20 <= valid;
}

// Whether a text holds a character that stands for bytes its encoding could not read: the
// whole piece at once, which is quicker than line by line.
bool hasUnreadableCharacter(QStringView text)
{
    return text.contains(QChar::ReplacementCharacter) || text.contains(QChar(0x1a));
}

} // namespace

StatementDecoder::StatementDecoder(QByteArrayView bytes, qsizetype pieceBytes)
    : m_pieceBytes(qMax<qsizetype>(1, pieceBytes))
{
    m_bom = QStringConverter::encodingForData(bytes);
    if (m_bom) {
        // Decoded whole at once; the decoder drops the byte-order mark.
        m_bomText = QStringDecoder(*m_bom).decode(bytes);
        m_data = m_bomText.isEmpty() ? QByteArrayView() : bytes;
        return;
    }
    // Old tools end a text file with SUB (Ctrl-Z), which is no part of the text.
    m_data = bytes;
    while (m_data.endsWith('\x1a'))
        m_data.chop(1);
    m_utf8 = isMostlyUtf8(m_data);
}

qsizetype StatementDecoder::expectedLines() const
{
    if (m_data.isEmpty())
        return 0;
    if (m_bom)
        return m_bomText.count(u'\n') + 1;
    if (m_data.size() <= kSampleBytes)
        return m_data.count('\n') + 1;
    const qsizetype sampled = m_data.first(kSampleBytes).count('\n') + 1;
    const double perByte = double(sampled) / double(kSampleBytes);
    return qsizetype(perByte * double(m_data.size()) * 1.125) + 1;
}

void StatementDecoder::forEachPiece(const std::function<void(QStringView, bool)> &visit) const
{
    if (m_data.isEmpty())
        return;
    if (m_bom) {
        visit(m_bomText, !hasUnreadableCharacter(m_bomText));
        return;
    }
    // A stateless decoder also flags a sequence cut off at the end of the file.
    QStringDecoder decoder = m_utf8 ? QStringDecoder(QStringConverter::Utf8,
                                                     QStringConverter::Flag::Stateless)
                                    : cp932Decoder();
    if (!decoder.isValid()) // a Qt built without ICU: replacement characters rather than a
        decoder = QStringDecoder(QStringConverter::Utf8, // wrong 8-bit reading
                                 QStringConverter::Flag::Stateless);
    // ICU stands SUB (U+001A) for a byte sequence it cannot map.
    const Cp932Table *table = m_utf8 ? nullptr : Cp932Table::instance();
    QString text;
    for (qsizetype at = 0; at < m_data.size();) {
        qsizetype end = at + m_pieceBytes >= m_data.size()
            ? m_data.size()
            : m_data.indexOf('\n', at + m_pieceBytes - 1) + 1;
        if (end <= 0)
            end = m_data.size();
        const QByteArrayView piece = m_data.sliced(at, end - at);
        // Decoded into the same buffer each time: no allocation after the first piece.
        text.resize(qMax(piece.size(), decoder.requiredSpace(piece.size())));
        qsizetype length = 0;
        // The table holds no sequence that ICU cannot read: what it decodes is readable.
        bool readable = table && table->decode(piece, reinterpret_cast<char16_t *>(text.data()),
                                               &length);
        if (!readable) {
            length = decoder.appendToBuffer(text.data(), piece) - text.constData();
            readable = !hasUnreadableCharacter(QStringView(text.constData(), length));
        }
        visit(QStringView(text.constData(), length), readable);
        at = end;
    }
}

QString decodeStatementText(const QByteArray &bytes)
{
    QString text;
    StatementDecoder(bytes).forEachPiece([&text](QStringView piece, bool) {
        if (text.isEmpty())
            text = piece.toString();
        else
            text.append(piece);
    });
    return text;
}

bool isUnreadableText(QStringView line)
{
    for (QChar c : line) {
        if (c == QChar::ReplacementCharacter || c == QChar(0x1a))
            return true;
    }
    return false;
}

QList<QStringView> splitStatementLines(QStringView text)
{
    QList<QStringView> lines;
    forEachStatementLine(text, [&lines](QStringView line) { lines.append(line); });
    return lines;
}
