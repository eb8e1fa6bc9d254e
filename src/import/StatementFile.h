#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// A statement file's bytes, refusing at once what cannot be a statement: anything but a regular
// file (a folder, a FIFO, a device, a socket), and files larger than any statement, so that
// reading can neither hang nor fill the memory. The bytes are mapped rather than read: a large
// statement then costs no fresh memory, only the pages the system keeps for its copy.
class StatementFile
{
public:
    static constexpr qint64 kMaxBytes = qint64(256) << 20;

    StatementFile();
    ~StatementFile();
    StatementFile(StatementFile &&other) noexcept;
    StatementFile &operator=(StatementFile &&other) noexcept;

    // Opens the file and makes its bytes available, or false with the reason.
    bool open(const QString &path, QString *error);
    // The file's bytes, valid until close().
    QByteArrayView bytes() const { return m_bytes; }
    // Lets the bytes go.
    void close();

private:
    const uchar *m_mapped = nullptr; // a private copy's mapping
    qint64 m_mappedSize = 0;
    QByteArray m_read; // the bytes of a file that could not be mapped (one of /proc, say)
    QByteArrayView m_bytes;
};
