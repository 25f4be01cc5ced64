#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>

#include <cstdint>
#include <stdexcept>
#include <string>

namespace kivo {

// The binary encoding of scenario files: little-endian 32-bit integers and
// length-prefixed strings. A string goes to disk in CP932 when CP932 can
// hold it, otherwise in the wide form (0xFF, 0xFFFE, length, UTF-16LE).

// Thrown by ArchiveReader when the data ends before a field is complete,
// or when the device fails.
class ArchiveEndsEarly : public std::runtime_error {
public:
    ArchiveEndsEarly(qint64 offset, const std::string& field)
        : std::runtime_error(field), m_offset(offset) {}
    qint64 Offset() const { return m_offset; }

private:
    qint64 m_offset;
};

class ArchiveReader {
public:
    // `device` must be open for reading and not sequential: its size bounds
    // every count and length the reader accepts.
    explicit ArchiveReader(QIODevice& device);

    qint32 ReadInt32(const char* field);
    quint32 ReadUInt32(const char* field);
    QString ReadString(const char* field);
    // The next `length` bytes as they are stored, valid until the next read.
    QByteArrayView ReadView(qint64 length, const char* field);
    void Skip(quint64 count, const char* field);

    qint64 Offset() const { return m_offset; }
    qint64 Remaining() const { return m_size - m_offset; }
    bool AtEnd() const { return m_offset >= m_size; }

    // Fails unless `count` items of at least `minimumBytes` each can still
    // follow, so that no count read from a file makes the reader allocate
    // or loop beyond what the file holds.
    void RequireRoom(qint64 count, qint64 minimumBytes, const char* field) const;

private:
    // Reads ahead so that the block holds at least `length` bytes.
    void Refill(qint64 length, const char* field);
    quint64 ReadLength(const char* field, bool* wide);

    QIODevice& m_device;
    qint64 m_size;
    qint64 m_offset = 0;
    // Read ahead from the device: most fields are a few bytes, and a read
    // of the device costs more than such a field.
    QByteArray m_block;
    qsizetype m_blockOffset = 0;
};

// Collects what is written and hands it to the device in large blocks, so
// that the device can be unbuffered and every short write (a full disk, a
// size limit) is seen. Finish() must be called at the end.
class ArchiveWriter {
public:
    explicit ArchiveWriter(QIODevice& device);

    void WriteInt32(qint32 value);
    void WriteUInt32(quint32 value);
    void WriteString(const QString& text);
    void WriteBytes(const QByteArray& bytes);

    // Hands what is left to the device; false if any write failed.
    bool Finish();

private:
    void Write(const void* data, qint64 length);
    void WriteLength(quint64 length);
    void Flush();

    QIODevice& m_device;
    QByteArray m_pending;
    bool m_ok = true;
};

}  // namespace kivo
