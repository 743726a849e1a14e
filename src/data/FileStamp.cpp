#include "data/FileStamp.h"

#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include <cstring>

namespace {

constexpr quint64 prime1 = 0x9E3779B185EBCA87ULL;
constexpr quint64 prime2 = 0xC2B2AE3D27D4EB4FULL;
constexpr quint64 prime3 = 0x165667B19E3779F9ULL;
constexpr quint64 prime4 = 0x85EBCA77C2B2AE63ULL;
constexpr quint64 prime5 = 0x27D4EB2F165667C5ULL;

inline quint64 rotl(quint64 x, int r)
{
    return (x << r) | (x >> (64 - r));
}

inline quint64 read64(const unsigned char *p)
{
    quint64 v;
    std::memcpy(&v, p, 8);
    return qFromLittleEndian(v);
}

inline quint32 read32(const unsigned char *p)
{
    quint32 v;
    std::memcpy(&v, p, 4);
    return qFromLittleEndian(v);
}

inline quint64 round(quint64 acc, quint64 input)
{
    return rotl(acc + input * prime2, 31) * prime1;
}

inline quint64 merge(quint64 acc, quint64 lane)
{
    return (acc ^ round(0, lane)) * prime1 + prime4;
}

inline void stripe(quint64 *lanes, const unsigned char *p)
{
    lanes[0] = round(lanes[0], read64(p));
    lanes[1] = round(lanes[1], read64(p + 8));
    lanes[2] = round(lanes[2], read64(p + 16));
    lanes[3] = round(lanes[3], read64(p + 24));
}

} // namespace

void ContentHash::addData(const char *data, qint64 size)
{
    auto p = reinterpret_cast<const unsigned char *>(data);
    const unsigned char *const end = p + size;
    total += quint64(size);
    if (pendingSize + size < 32) {
        std::memcpy(pending + pendingSize, p, size_t(size));
        pendingSize += int(size);
        return;
    }
    if (pendingSize > 0) {
        const int fill = 32 - pendingSize;
        std::memcpy(pending + pendingSize, p, size_t(fill));
        stripe(lanes, pending);
        p += fill;
        pendingSize = 0;
    }
    for (; end - p >= 32; p += 32)
        stripe(lanes, p);
    pendingSize = int(end - p);
    std::memcpy(pending, p, size_t(pendingSize));
}

QByteArray ContentHash::result() const
{
    quint64 h = total >= 32 ? rotl(lanes[0], 1) + rotl(lanes[1], 7) + rotl(lanes[2], 12) +
                                  rotl(lanes[3], 18)
                            : lanes[2] + prime5;
    if (total >= 32) {
        for (quint64 lane : lanes)
            h = merge(h, lane);
    }
    h += total;
    const unsigned char *p = pending;
    const unsigned char *const end = pending + pendingSize;
    for (; end - p >= 8; p += 8)
        h = rotl(h ^ round(0, read64(p)), 27) * prime1 + prime4;
    if (end - p >= 4) {
        h = rotl(h ^ (quint64(read32(p)) * prime1), 23) * prime2 + prime3;
        p += 4;
    }
    for (; p < end; ++p)
        h = rotl(h ^ (*p * prime5), 11) * prime1;
    h ^= h >> 33;
    h *= prime2;
    h ^= h >> 29;
    h *= prime3;
    h ^= h >> 32;
    QByteArray bytes(8, Qt::Uninitialized);
    qToBigEndian(h, bytes.data());
    return bytes;
}

FileStamp FileStamp::ofFile(const QString &path)
{
    FileStamp stamp;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return stamp;
    ContentHash hash;
    QByteArray block(1 << 20, Qt::Uninitialized);
    qint64 size = 0;
    while (true) {
        const qint64 got = file.read(block.data(), block.size());
        if (got < 0)
            return stamp;
        if (got == 0)
            break;
        hash.addData(block.constData(), got);
        size += got;
    }
    stamp.size = size;
    stamp.modified = QFileInfo(file).lastModified();
    stamp.hash = hash.result();
    return stamp;
}
