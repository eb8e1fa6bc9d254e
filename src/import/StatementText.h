#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringConverter>
#include <QStringDecoder>
#include <QStringView>

#include <functional>
#include <optional>

// Turns the bytes of a statement file into text: a byte-order mark (UTF-8, UTF-16, UTF-32)
// decides; UTF-16 without one is told by its zero bytes; otherwise UTF-8 when the file's
// multibyte sequences are UTF-8 but for rare errors, else CP932 (windows-31j), the Shift_JIS in
// which the banks deliver their files. In a file read as CP932, a line that is valid UTF-8 with
// multibyte characters is read as UTF-8: statements of both encodings pasted together. Bytes the
// encoding cannot read become U+FFFD or U+001A.
QString decodeStatementText(const QByteArray &bytes);

// The same decoding a piece at a time, each piece but the last ending at a line end (LF, CR LF
// or CR), so that the text of a large statement is never held whole beside its bytes. CR and LF
// are one byte in UTF-8 and CP932 (never part of another character), so a cut after them splits
// no character; a file in UTF-16 or UTF-32 is decoded in one piece.
class StatementDecoder
{
public:
    // Pieces of 64 KiB: the text of one stays in the processor's cache, and its buffer is
    // re-used for the next.
    explicit StatementDecoder(QByteArrayView bytes, qsizetype pieceBytes = kMaxLineBytes);
    // Whether the bytes hold no text at all (nothing but a byte-order mark or SUB characters).
    bool isEmpty() const { return m_data.isEmpty(); }
    // Why the bytes are refused whole (zero bytes that make no UTF-16), or empty.
    QString refusal() const { return m_refusal; }
    // A line longer than this is never decoded whole: no statement writes one.
    static constexpr qsizetype kMaxLineBytes = qsizetype(64) << 10;
    // Calls visit(QStringView text, bool clean) for each piece in order; clean tells that no
    // character of the piece stands for bytes its encoding could not read and none is a control
    // character, so that its lines need not be looked at one by one. With longLine, a line of
    // more than kMaxLineBytes is not decoded: longLine(its first characters) stands for it.
    void forEachPiece(const std::function<void(QStringView, bool)> &visit,
                      const std::function<void(QStringView)> &longLine = {}) const;
    // While a piece is visited, how many of the bytes its end and the pieces before it cover.
    qsizetype bytesRead() const { return m_bytesRead; }

private:
    struct Decoders {
        QStringDecoder utf8;    // for UTF-8 lines in a CP932 file
        QStringDecoder decoder; // the file's encoding
    };
    Decoders makeDecoders() const;
    void visitPiece(QByteArrayView piece, Decoders &decoders, QString &text,
                    const std::function<void(QStringView, bool)> &visit) const;

    QByteArrayView m_data; // without the byte-order mark and trailing SUB characters
    std::optional<QStringConverter::Encoding> m_bom;
    QString m_bomText; // the whole text of a file with a byte-order mark
    bool m_utf8 = true;
    qsizetype m_pieceBytes;
    QString m_refusal;
    mutable qsizetype m_bytesRead = 0;
};
// Whether a decoded line holds bytes its encoding could not read; such a line is never stored.
bool isUnreadableText(QStringView line);
// Where the first control character of a line but tab (C0, DEL, C1) is, or -1 when there is
// none; no stored text holds one.
qsizetype controlCharacterAt(QStringView line);

// The lines of the text without their terminators (LF, CR, CR LF, NEL, LS, PS).
QList<QStringView> splitStatementLines(QStringView text);

// Calls visit(QStringView line) for each line splitStatementLines() gives, in order, without
// building the list.
template<typename Visit>
void forEachStatementLine(QStringView text, Visit visit)
{
    // Almost every file ends its lines with LF, CR LF or CR: those are found with indexOf(),
    // which looks at many characters at once. A text with NEL, LS or PS is taken character by
    // character.
    if (!text.contains(QChar(0x85)) && !text.contains(QChar(0x2028))
        && !text.contains(QChar(0x2029))) {
        const qsizetype n = text.size();
        const auto next = [text, n](char16_t c, qsizetype from) {
            const qsizetype at = text.indexOf(QChar(c), from);
            return at < 0 ? n : at;
        };
        qsizetype start = 0;
        qsizetype cr = next(u'\r', 0), lf = next(u'\n', 0);
        while (cr < n || lf < n) {
            const qsizetype end = qMin(cr, lf);
            visit(text.sliced(start, end - start));
            start = end == cr && lf == cr + 1 ? lf + 1 : end + 1;
            if (cr < start)
                cr = next(u'\r', start);
            if (lf < start)
                lf = next(u'\n', start);
        }
        if (start < n)
            visit(text.sliced(start));
        return;
    }
    const char16_t *const begin = text.utf16();
    const qsizetype n = text.size();
    qsizetype start = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = begin[i];
        // Most characters are printable ASCII or well above the terminators.
        if ((c > u'\r' && c < 0x85) || (c > 0x85 && c < 0x2028) || c > 0x2029)
            continue;
        if (c != u'\n' && c != u'\r' && c != 0x85 && c != 0x2028 && c != 0x2029)
            continue;
        visit(text.sliced(start, i - start));
        if (c == u'\r' && i + 1 < n && begin[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < n)
        visit(text.sliced(start));
}
