#include "cutlist/Archive.h"

#include "cutlist/TextEncoding.h"

#include <QtEndian>

namespace kivo {

ArchiveReader::ArchiveReader(QIODevice& device)
    : m_device(device), m_size(device.size() - device.pos())
{
}

void ArchiveReader::Read(void* target, qint64 length, const char* field)
{
    if (length > Remaining() || m_device.read(static_cast<char*>(target), length) != length) {
        throw ArchiveEndsEarly(m_offset, field);
    }
    m_offset += length;
}

void ArchiveReader::RequireRoom(qint64 count, qint64 minimumBytes, const char* field) const
{
    if (count > 0 && count > Remaining() / minimumBytes)
        throw ArchiveEndsEarly(m_offset, field);
}

qint32 ArchiveReader::ReadInt32(const char* field)
{
    return static_cast<qint32>(ReadUInt32(field));
}

quint32 ArchiveReader::ReadUInt32(const char* field)
{
    uchar bytes[4];
    Read(bytes, sizeof bytes, field);
    return qFromLittleEndian<quint32>(bytes);
}

void ArchiveReader::Skip(quint64 count, const char* field)
{
    if (count > static_cast<quint64>(Remaining()) || m_device.skip(static_cast<qint64>(count)) != qint64(count))
        throw ArchiveEndsEarly(m_offset, field);
    m_offset += static_cast<qint64>(count);
}

QByteArray ArchiveReader::ReadBytes(quint64 count, const char* field)
{
    if (count > static_cast<quint64>(Remaining()))
        throw ArchiveEndsEarly(m_offset, field);
    QByteArray bytes(static_cast<qsizetype>(count), Qt::Uninitialized);
    Read(bytes.data(), bytes.size(), field);
    return bytes;
}

// The length prefix: one byte below 0xFF; else 0xFF and a 16-bit length
// below 0xFFFF; else 0xFFFF and a 32-bit length below 0xFFFFFFFF; else a
// 64-bit length. A 16-bit 0xFFFE right after the first 0xFF marks a wide
// string, whose length prefix follows.
quint64 ArchiveReader::ReadLength(const char* field, bool* wide)
{
    uchar byte = 0;
    Read(&byte, 1, field);
    if (byte < 0xFF)
        return byte;
    uchar word[2];
    Read(word, 2, field);
    quint16 length16 = qFromLittleEndian<quint16>(word);
    if (length16 == 0xFFFE && !*wide) {
        *wide = true;
        return ReadLength(field, wide);
    }
    if (length16 < 0xFFFF)
        return length16;
    const quint32 length32 = ReadUInt32(field);
    if (length32 < 0xFFFFFFFFu)
        return length32;
    uchar quad[8];
    Read(quad, 8, field);
    return qFromLittleEndian<quint64>(quad);
}

QString ArchiveReader::ReadString(const char* field)
{
    bool wide = false;
    const quint64 length = ReadLength(field, &wide);
    if (!wide)
        return DecodeCp932(ReadBytes(length, field));
    if (length > static_cast<quint64>(Remaining()) / 2)
        throw ArchiveEndsEarly(m_offset, field);
    const QByteArray units = ReadBytes(length * 2, field);
    QString text(static_cast<qsizetype>(length), Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i)
        text[i] = QChar(qFromLittleEndian<quint16>(units.constData() + 2 * i));
    return text;
}

namespace {
constexpr qsizetype kWriteBlockBytes = 1 << 20;
}

// The block grows as it fills: most archives are far smaller than a block,
// and reserving one up front would cost each of them a megabyte.
ArchiveWriter::ArchiveWriter(QIODevice& device) : m_device(device) {}

void ArchiveWriter::Write(const void* data, qint64 length)
{
    m_pending.append(static_cast<const char*>(data), static_cast<qsizetype>(length));
    if (m_pending.size() >= kWriteBlockBytes)
        Flush();
}

void ArchiveWriter::Flush()
{
    if (m_ok && !m_pending.isEmpty() && m_device.write(m_pending) != m_pending.size())
        m_ok = false;
    m_pending.resize(0);  // keeps the block's memory for the next one
}

bool ArchiveWriter::Finish()
{
    Flush();
    return m_ok;
}

void ArchiveWriter::WriteInt32(qint32 value)
{
    WriteUInt32(static_cast<quint32>(value));
}

void ArchiveWriter::WriteUInt32(quint32 value)
{
    uchar bytes[4];
    qToLittleEndian(value, bytes);
    Write(bytes, sizeof bytes);
}

void ArchiveWriter::WriteBytes(const QByteArray& bytes)
{
    Write(bytes.constData(), bytes.size());
}

void ArchiveWriter::WriteLength(quint64 length)
{
    if (length < 0xFF) {
        const auto byte = static_cast<uchar>(length);
        Write(&byte, 1);
        return;
    }
    const uchar marker = 0xFF;
    Write(&marker, 1);
    uchar word[2];
    if (length < 0xFFFE) {
        qToLittleEndian(static_cast<quint16>(length), word);
        Write(word, 2);
        return;
    }
    qToLittleEndian(quint16{0xFFFF}, word);
    Write(word, 2);
    WriteUInt32(static_cast<quint32>(length));
}

void ArchiveWriter::WriteString(const QString& text)
{
    if (const auto bytes = EncodeCp932(text)) {
        WriteLength(static_cast<quint64>(bytes->size()));
        WriteBytes(*bytes);
        return;
    }
    const uchar marker[3] = {0xFF, 0xFE, 0xFF};
    Write(marker, sizeof marker);
    WriteLength(static_cast<quint64>(text.size()));
    QByteArray units(text.size() * 2, Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i)
        qToLittleEndian(text[i].unicode(), units.data() + 2 * i);
    WriteBytes(units);
}

}  // namespace kivo
