#include "StatementText.h"

#include <QCoreApplication>
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

// Whether a text holds a character that stands for bytes its encoding could not read, or a
// control character other than tab and the line ends: the whole piece at once, which is
// quicker than line by line.
bool needsLineChecks(QStringView text)
{
    if (text.contains(QChar::ReplacementCharacter))
        return true;
    for (const QChar ch : text) {
        const char16_t c = ch.unicode();
        if (c < 0x20 ? c != u'\t' && c != u'\n' && c != u'\r'
                     : c >= 0x7f && c <= 0x9f && c != 0x85)
            return true;
    }
    return false;
}

// Whether a line is valid UTF-8 and holds at least one multibyte character: such a line in a
// CP932 file was pasted in from a UTF-8 statement (CP932 Japanese is almost never valid UTF-8).
bool isUtf8WithMultibyte(QByteArrayView line)
{
    const auto *p = reinterpret_cast<const uchar *>(line.data());
    const auto *const end = p + line.size();
    bool multibyte = false;
    while (p < end) {
        if (*p < 0x80) {
            ++p;
            continue;
        }
        const uchar b = *p;
        int length = 0;
        uchar low = 0x80, high = 0xbf; // the range of the second byte
        if (b >= 0xc2 && b <= 0xdf) {
            length = 2;
        } else if (b >= 0xe0 && b <= 0xef) {
            length = 3;
            low = b == 0xe0 ? 0xa0 : 0x80;
            high = b == 0xed ? 0x9f : 0xbf;
        } else if (b >= 0xf0 && b <= 0xf4) {
            length = 4;
            low = b == 0xf0 ? 0x90 : 0x80;
            high = b == 0xf4 ? 0x8f : 0xbf;
        } else {
            return false;
        }
        if (end - p < length || p[1] < low || p[1] > high)
            return false;
        for (int i = 2; i < length; ++i) {
            if ((p[i] & 0xc0) != 0x80)
                return false;
        }
        multibyte = true;
        p += length;
    }
    return multibyte;
}

// UTF-16 without a byte-order mark: statement text is mostly digits and commas, so one byte of
// each pair is zero. Told from the first 64 KiB, which also tell a file of many zero bytes in
// no such pattern (*hasZeros).
std::optional<QStringConverter::Encoding> utf16WithoutMark(QByteArrayView bytes, bool *hasZeros)
{
    const qsizetype n = qMin(bytes.size(), qsizetype(64) << 10) & ~qsizetype(1);
    qsizetype zeros[2] = {0, 0};
    for (qsizetype i = 0; i < n; ++i) {
        if (bytes[i] == 0)
            ++zeros[i % 2];
    }
    // More than one byte in sixteen zero: no text; a stray zero byte only spoils its line.
    *hasZeros = (zeros[0] + zeros[1]) * 16 > n;
    const qsizetype pairs = n / 2;
    if (pairs > 0 && zeros[1] * 4 >= pairs && zeros[0] * 8 <= zeros[1])
        return QStringConverter::Utf16LE;
    if (pairs > 0 && zeros[0] * 4 >= pairs && zeros[1] * 8 <= zeros[0])
        return QStringConverter::Utf16BE;
    return std::nullopt;
}

// The position after the first line end at or after from (LF, CR LF or CR), or the end.
qsizetype lineEndAfter(QByteArrayView data, qsizetype from)
{
    const qsizetype lf = data.indexOf('\n', from);
    const qsizetype limit = lf < 0 ? data.size() : lf;
    const qsizetype cr = data.first(limit).indexOf('\r', from);
    if (cr >= 0)
        return cr + 1 < data.size() && data[cr + 1] == '\n' ? cr + 2 : cr + 1;
    return lf < 0 ? data.size() : lf + 1;
}

// Where the last line of the bytes [from, end) starts, its own line end left out.
qsizetype lastLineStart(QByteArrayView data, qsizetype from, qsizetype end)
{
    if (end > from && data[end - 1] == '\n')
        --end;
    if (end > from && data[end - 1] == '\r')
        --end;
    const QByteArrayView span = data.sliced(from, end - from);
    const qsizetype lf = span.lastIndexOf('\n');
    const qsizetype cr = span.sliced(lf + 1).lastIndexOf('\r');
    return from + (cr >= 0 ? lf + 1 + cr + 1 : lf + 1);
}

} // namespace

StatementDecoder::StatementDecoder(QByteArrayView bytes, qsizetype pieceBytes)
    : m_pieceBytes(qMax<qsizetype>(1, pieceBytes))
{
    m_bom = QStringConverter::encodingForData(bytes);
    bool zeros = false;
    if (!m_bom)
        m_bom = utf16WithoutMark(bytes, &zeros);
    if (!m_bom && zeros) {
        // Zero bytes in no pattern of UTF-16: no text at all, said once rather than on each line.
        m_refusal = QCoreApplication::translate(
            "StatementDecoder",
            "The file holds zero bytes: it is neither CP932, UTF-8 nor UTF-16 text.");
        return;
    }
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

void StatementDecoder::forEachPiece(const std::function<void(QStringView, bool)> &visit,
                                    const std::function<void(QStringView)> &longLine) const
{
    if (m_data.isEmpty())
        return;
    if (m_bom) {
        m_bytesRead = m_data.size();
        visit(m_bomText, !needsLineChecks(m_bomText));
        return;
    }
    Decoders decoders = makeDecoders();
    QString text;
    const qsizetype size = m_data.size();
    for (qsizetype at = 0; at < size;) {
        const qsizetype end =
            at + m_pieceBytes >= size ? size : lineEndAfter(m_data, at + m_pieceBytes - 1);
        // Only a piece's last line can be longer than a piece: it is told without decoding it.
        const qsizetype last = longLine ? lastLineStart(m_data, at, end) : end;
        m_bytesRead = end;
        if (longLine && end - last > kMaxLineBytes) {
            if (last > at)
                visitPiece(m_data.sliced(at, last - at), decoders, text, visit);
            // Enough bytes for the characters a reason quotes.
            Decoders fresh = makeDecoders();
            const QString start =
                fresh.decoder.decode(m_data.sliced(last, qMin(end - last, qsizetype(256))));
            longLine(start);
        } else {
            visitPiece(m_data.sliced(at, end - at), decoders, text, visit);
        }
        at = end;
    }
}

StatementDecoder::Decoders StatementDecoder::makeDecoders() const
{
    // A stateless decoder also flags a sequence cut off at the end of the file. A byte-order
    // mark where a piece or a line starts is a character like any other, as in the text whole:
    // dropped, it would join the line ends around it into one.
    constexpr auto flags =
        QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom;
    Decoders d{QStringDecoder(QStringConverter::Utf8, flags),
               m_utf8 ? QStringDecoder(QStringConverter::Utf8, flags) : cp932Decoder()};
    if (!d.decoder.isValid()) // a Qt built without ICU: replacement characters rather than a
        d.decoder = QStringDecoder(QStringConverter::Utf8, // wrong 8-bit reading
                                   QStringConverter::Flag::Stateless);
    return d;
}

void StatementDecoder::visitPiece(QByteArrayView piece, Decoders &decoders, QString &text,
                                  const std::function<void(QStringView, bool)> &visit) const
{
    QStringDecoder &utf8 = decoders.utf8;
    QStringDecoder &decoder = decoders.decoder;
    // ICU stands SUB (U+001A) for a byte sequence it cannot map.
    const Cp932Table *table = m_utf8 ? nullptr : Cp932Table::instance();
    // Decoded into the same buffer each time: no allocation after the first piece.
    text.resize(qMax(piece.size(), decoder.requiredSpace(piece.size())));
    qsizetype length = 0;
    const auto makeRoom = [&text, &length](qsizetype need) {
        if (text.size() - length < need)
            text.resize(length + need);
    };
    // In CP932, the piece is decoded in runs of lines of one encoding.
    for (qsizetype from = 0; from < piece.size();) {
        qsizetype to = piece.size();
        bool asUtf8 = m_utf8;
        if (!m_utf8) {
            for (qsizetype line = from; line < piece.size();) {
                const qsizetype next = lineEndAfter(piece, line);
                const bool utf8Line = isUtf8WithMultibyte(piece.sliced(line, next - line));
                if (utf8Line != asUtf8) {
                    if (line > from) {
                        to = line;
                        break;
                    }
                    asUtf8 = utf8Line;
                }
                line = next;
            }
        }
        const QByteArrayView run = piece.sliced(from, to - from);
        makeRoom(qMax(run.size(), (asUtf8 && !m_utf8 ? utf8 : decoder).requiredSpace(run.size())));
        char16_t *const out = reinterpret_cast<char16_t *>(text.data()) + length;
        qsizetype written = 0;
        // The table holds no sequence that ICU cannot read.
        if (!asUtf8 && table && table->decode(run, out, &written))
            length += written;
        else if (asUtf8 && !m_utf8)
            length = utf8.appendToBuffer(reinterpret_cast<QChar *>(out), run) - text.constData();
        else
            length = decoder.appendToBuffer(reinterpret_cast<QChar *>(out), run) - text.constData();
        from = to;
    }
    const QStringView decoded(text.constData(), length);
    visit(decoded, !needsLineChecks(decoded));
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

qsizetype controlCharacterAt(QStringView line)
{
    for (qsizetype i = 0; i < line.size(); ++i) {
        const char16_t c = line[i].unicode();
        if (c < 0x20 ? c != u'\t' : c >= 0x7f && c <= 0x9f)
            return i;
    }
    return -1;
}

QList<QStringView> splitStatementLines(QStringView text)
{
    QList<QStringView> lines;
    forEachStatementLine(text, [&lines](QStringView line) { lines.append(line); });
    return lines;
}
