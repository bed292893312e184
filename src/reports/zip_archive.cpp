#include "reports/zip_archive.h"

#include <zlib.h>

namespace tarvela::reports {

namespace {

constexpr quint32 kLocalHeader = 0x04034b50;
constexpr quint32 kCentralHeader = 0x02014b50;
constexpr quint32 kEndOfDirectory = 0x06054b50;
constexpr quint16 kVersion = 20;
constexpr quint16 kUtf8Names = 0x0800;
// 1 January 2026, 00:00, in the archive's DOS form.
constexpr quint16 kDosTime = 0;
constexpr quint16 kDosDate = ((2026 - 1980) << 9) | (1 << 5) | 1;

void put16(QByteArray& out, quint32 value) {
    out.append(static_cast<char>(value & 0xFF));
    out.append(static_cast<char>((value >> 8) & 0xFF));
}

void put32(QByteArray& out, quint32 value) {
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

// The fields local and central headers share, from the version needed on.
void commonFields(QByteArray& out, quint32 crc, quint32 size, quint16 nameSize) {
    put16(out, kVersion);
    put16(out, kUtf8Names);
    put16(out, 0); // stored
    put16(out, kDosTime);
    put16(out, kDosDate);
    put32(out, crc);
    put32(out, size); // compressed
    put32(out, size);
    put16(out, nameSize);
    put16(out, 0); // extra field
}

} // namespace

QByteArray zipArchive(const std::vector<ArchiveEntry>& entries) {
    QByteArray out;
    QByteArray directory;
    for (const ArchiveEntry& entry : entries) {
        const QByteArray name = entry.name.toUtf8();
        const auto size = static_cast<quint32>(entry.contents.size());
        const auto crc = static_cast<quint32>(
            crc32(0, reinterpret_cast<const Bytef*>(entry.contents.constData()), size));
        const auto offset = static_cast<quint32>(out.size());

        put32(out, kLocalHeader);
        commonFields(out, crc, size, static_cast<quint16>(name.size()));
        out.append(name);
        out.append(entry.contents);

        put32(directory, kCentralHeader);
        put16(directory, kVersion); // made by
        commonFields(directory, crc, size, static_cast<quint16>(name.size()));
        put16(directory, 0); // comment
        put16(directory, 0); // disk
        put16(directory, 0); // internal attributes
        put32(directory, 0); // external attributes
        put32(directory, offset);
        directory.append(name);
    }
    const auto directoryOffset = static_cast<quint32>(out.size());
    out.append(directory);
    put32(out, kEndOfDirectory);
    put16(out, 0);
    put16(out, 0);
    put16(out, static_cast<quint32>(entries.size()));
    put16(out, static_cast<quint32>(entries.size()));
    put32(out, static_cast<quint32>(directory.size()));
    put32(out, directoryOffset);
    put16(out, 0); // comment
    return out;
}

} // namespace tarvela::reports
