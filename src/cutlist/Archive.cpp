#include "cutlist/Archive.h"

#include "cutlist/TextEncoding.h"

#include <QtEndian>

#include <algorithm>

namespace kivo {

namespace {
constexpr qint64 kReadBlockBytes = 64 * 1024;
}

ArchiveReader::ArchiveReader(QIODevice& device)
    : m_device(device), m_size(device.size() - device.pos())
{
}

QByteArrayView ArchiveReader::ReadView(qint64 length, const char* field)
{
    if (length > Remaining())
        throw ArchiveEndsEarly(m_offset, field);
    if (length > m_block.size() - m_blockOffset)
        Refill(length, field);
    const QByteArrayView bytes(m_block.constData() + m_blockOffset, static_cast<qsizetype>(length));
    m_blockOffset += bytes.size();
    m_offset += length;
    return bytes;
}

void ArchiveReader::Refill(qint64 length, const char* field)
{
    m_block.remove(0, m_blockOffset);
    m_blockOffset = 0;
    const qsizetype kept = m_block.size();
    m_block.resize(static_cast<qsizetype>(std::min(std::max(length, kReadBlockBytes), Remaining())));
    const qint64 wanted = m_block.size() - kept;
    if (m_device.read(m_block.data() + kept, wanted) != wanted) {
        m_block.clear();
        throw ArchiveEndsEarly(m_offset, field);
    }
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
    return qFromLittleEndian<quint32>(ReadView(4, field).data());
}

void ArchiveReader::Skip(quint64 count, const char* field)
{
    if (count > static_cast<quint64>(Remaining()))
        throw ArchiveEndsEarly(m_offset, field);
    const qint64 inBlock = std::min<qint64>(static_cast<qint64>(count), m_block.size() - m_blockOffset);
    m_blockOffset += inBlock;
    m_offset += inBlock;
    const qint64 beyond = static_cast<qint64>(count) - inBlock;
    if (beyond > 0 && m_device.skip(beyond) != beyond)
        throw ArchiveEndsEarly(m_offset, field);
    m_offset += beyond;
}

// The length prefix: one byte below 0xFF; else 0xFF and a 16-bit length
// below 0xFFFF; else 0xFFFF and a 32-bit length below 0xFFFFFFFF; else a
// 64-bit length. A 16-bit 0xFFFE right after the first 0xFF marks a wide
// string, whose length prefix follows.
quint64 ArchiveReader::ReadLength(const char* field, bool* wide)
{
    const auto byte = static_cast<uchar>(ReadView(1, field)[0]);
    if (byte < 0xFF)
        return byte;
    const quint16 length16 = qFromLittleEndian<quint16>(ReadView(2, field).data());
    if (length16 == 0xFFFE && !*wide) {
        *wide = true;
        return ReadLength(field, wide);
    }
    if (length16 < 0xFFFF)
        return length16;
    const quint32 length32 = ReadUInt32(field);
    if (length32 < 0xFFFFFFFFu)
        return length32;
    return qFromLittleEndian<quint64>(ReadView(8, field).data());
}

QString ArchiveReader::ReadString(const char* field)
{
    bool wide = false;
    const quint64 length = ReadLength(field, &wide);
    if (length > static_cast<quint64>(Remaining()) / (wide ? 2 : 1))
        throw ArchiveEndsEarly(m_offset, field);
    if (!wide)
        return DecodeCp932(ReadView(static_cast<qint64>(length), field));
    const QByteArrayView units = ReadView(static_cast<qint64>(length) * 2, field);
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
