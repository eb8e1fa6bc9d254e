#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// A statement file's bytes, refusing at once what cannot be a statement: anything but a regular
// file (a folder, a FIFO, a device, a socket), and files larger than any statement, so that
// reading can neither hang nor fill the memory.
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
    QByteArray m_read;
    QByteArrayView m_bytes;
};
