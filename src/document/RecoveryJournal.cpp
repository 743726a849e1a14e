#include "document/RecoveryJournal.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDataStream>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QThreadPool>
#include <QtEndian>
#include <array>

#if defined(Q_OS_UNIX)
#include <unistd.h>
#elif defined(Q_OS_WIN)
#include <io.h>
#endif

namespace {

constexpr quint32 magic = 0x4c57524a; // "LWRJ"
constexpr quint16 version = 1;
constexpr qint64 frameHead = 8;
// A record larger than this is damage, not data.
constexpr quint32 largestFrame = 1u << 30;

// CRC-32 (the zlib polynomial), eight bytes a step: the journal checks every record it writes.
class Crc32
{
public:
    Crc32()
    {
        for (quint32 i = 0; i < 256; ++i) {
            quint32 crc = i;
            for (int bit = 0; bit < 8; ++bit)
                crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
            table[0][i] = crc;
        }
        for (quint32 i = 0; i < 256; ++i) {
            for (size_t t = 1; t < table.size(); ++t)
                table[t][i] = (table[t - 1][i] >> 8) ^ table[0][table[t - 1][i] & 0xff];
        }
    }

    // Goes on from `crc` (0 to start) over more bytes.
    quint32 operator()(const QByteArray &bytes, quint32 crc = 0) const
    {
        const auto *at = reinterpret_cast<const uchar *>(bytes.constData());
        qsizetype left = bytes.size();
        crc = ~crc;
        for (; left >= 8; left -= 8, at += 8) {
            const quint32 low = crc ^ qFromLittleEndian<quint32>(at);
            const quint32 high = qFromLittleEndian<quint32>(at + 4);
            crc = table[7][low & 0xff] ^ table[6][(low >> 8) & 0xff] ^
                  table[5][(low >> 16) & 0xff] ^ table[4][low >> 24] ^ table[3][high & 0xff] ^
                  table[2][(high >> 8) & 0xff] ^ table[1][(high >> 16) & 0xff] ^
                  table[0][high >> 24];
        }
        for (; left > 0; --left)
            crc = (crc >> 8) ^ table[0][(crc ^ *at++) & 0xff];
        return ~crc;
    }

private:
    std::array<std::array<quint32, 256>, 8> table{};
};

quint32 crc32(const QByteArray &bytes, quint32 crc = 0)
{
    static const Crc32 table;
    return table(bytes, crc);
}

// Past the system's buffers, so a power cut keeps the step too. The bytes are the system's
// once written (a killed process loses nothing); the disk gets them on a worker a moment later,
// through a descriptor of its own, so the step does not wait for the disk.
void syncToDisk(QFile &file)
{
#if defined(Q_OS_UNIX)
    const int descriptor = ::dup(file.handle());
    if (descriptor < 0) {
        ::fdatasync(file.handle());
        return;
    }
    QThreadPool::globalInstance()->start([descriptor] {
        ::fdatasync(descriptor);
        ::close(descriptor);
    });
#elif defined(Q_OS_WIN)
    ::_commit(file.handle());
#endif
}

QDataStream &operator<<(QDataStream &out, const RecoveryJournal::Key &key)
{
    return out << key.monsterPath << key.boxPath << key.monsterSize << key.monsterHash
               << key.boxSize << key.boxHash;
}

QDataStream &operator>>(QDataStream &in, RecoveryJournal::Key &key)
{
    return in >> key.monsterPath >> key.boxPath >> key.monsterSize >> key.monsterHash >>
           key.boxSize >> key.boxHash;
}

} // namespace

void RecoveryJournal::StackMirror::follow(const Record &record)
{
    switch (record.kind) {
    case Kind::Step:
        serials.resize(index);
        serials.append(record.serial);
        if (limit > 0 && serials.size() > limit)
            serials.removeFirst();
        index = serials.size();
        break;
    case Kind::Merge:
        serials.resize(index);
        if (record.obsolete && index > 0) {
            serials.removeLast();
            --index;
        }
        break;
    case Kind::Undo:
        index = qMax<qsizetype>(0, index - 1);
        break;
    case Kind::Redo:
        index = qMin(serials.size(), index + 1);
        break;
    }
}

QString RecoveryJournal::directory()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation))
        .filePath(QStringLiteral("recovery"));
}

QString RecoveryJournal::pathFor(const QString &monsterPath, const QString &boxPath)
{
    const QByteArray paths = (monsterPath + QLatin1Char('\n') + boxPath).toUtf8();
    const QByteArray hash = QCryptographicHash::hash(paths, QCryptographicHash::Sha1).toHex();
    return QDir(directory())
        .filePath(QString::fromLatin1(hash.left(20)) + QStringLiteral(".journal"));
}

RecoveryJournal::Contents RecoveryJournal::read(const QString &path)
{
    Contents contents;
    QFile in(path);
    if (!in.open(QIODevice::ReadOnly))
        return contents;
    const auto nextFrame = [&in](QByteArray &payload) {
        const QByteArray head = in.read(frameHead);
        if (head.size() != frameHead)
            return false;
        const auto size = qFromLittleEndian<quint32>(head.constData());
        const auto crc = qFromLittleEndian<quint32>(head.constData() + 4);
        if (size > largestFrame || size > in.size() - in.pos())
            return false;
        payload = in.read(size);
        return payload.size() == qsizetype(size) && crc32(payload) == crc;
    };

    QByteArray payload;
    if (!nextFrame(payload))
        return contents;
    QDataStream header(payload);
    header.setVersion(QDataStream::Qt_6_4);
    quint32 fileMagic = 0;
    quint16 fileVersion = 0;
    header >> fileMagic >> fileVersion;
    if (fileMagic != magic || fileVersion != version)
        return contents;
    header >> contents.key;
    if (header.status() != QDataStream::Ok)
        return contents;
    contents.readable = true;
    contents.headerEnd = in.pos();

    while (!in.atEnd()) {
        if (!nextFrame(payload)) {
            contents.damaged = true;
            break;
        }
        QDataStream fields(payload);
        fields.setVersion(QDataStream::Qt_6_4);
        Record record;
        quint8 kind = 0;
        fields >> kind >> record.serial;
        record.kind = Kind(kind);
        if (record.kind == Kind::Step || record.kind == Kind::Merge) {
            fields >> record.obsolete >> record.name >> record.mergeKey;
            record.change = payload.sliced(fields.device()->pos());
        }
        if (fields.status() != QDataStream::Ok || kind < quint8(Kind::Step) ||
            kind > quint8(Kind::Redo)) {
            contents.damaged = true;
            break;
        }
        record.end = in.pos();
        contents.records.append(record);
    }
    return contents;
}

bool RecoveryJournal::start(const QString &path, const Key &key, QString &error)
{
    close(false);
    mirror.serials.clear();
    mirror.index = 0;
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
        error = QCoreApplication::translate("Lootwright", "无法创建目录：%1")
                    .arg(QFileInfo(path).absolutePath());
        return false;
    }
    file.setFileName(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        error = file.errorString();
        return false;
    }
    QByteArray payload;
    QDataStream out(&payload, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_6_4);
    out << magic << version << key;
    if (!appendFrame(payload, QByteArray(), error)) {
        close(true);
        return false;
    }
    return true;
}

bool RecoveryJournal::resume(const QString &path, const Contents &contents, qsizetype kept,
                             QString &error)
{
    close(false);
    mirror.serials.clear();
    mirror.index = 0;
    for (qsizetype i = 0; i < kept; ++i)
        mirror.follow(contents.records.at(i));
    file.setFileName(path);
    const qint64 end = kept > 0 ? contents.records.at(kept - 1).end : contents.headerEnd;
    if (!file.open(QIODevice::ReadWrite) || !file.resize(end) || !file.seek(end)) {
        error = file.errorString();
        close(false);
        return false;
    }
    return true;
}

bool RecoveryJournal::append(const Record &record, QString &error)
{
    // The change ends the record: its length is what the frame leaves.
    QByteArray fields;
    QDataStream out(&fields, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_6_4);
    out << quint8(record.kind) << record.serial;
    const bool withChange = record.kind == Kind::Step || record.kind == Kind::Merge;
    if (withChange)
        out << record.obsolete << record.name << record.mergeKey;
    if (!appendFrame(fields, withChange ? record.change : QByteArray(), error))
        return false;
    mirror.follow(record);
    return true;
}

bool RecoveryJournal::appendFrame(const QByteArray &payload, const QByteArray &tail, QString &error)
{
    const qint64 end = file.pos();
    char head[frameHead];
    qToLittleEndian<quint32>(quint32(payload.size() + tail.size()), head);
    qToLittleEndian<quint32>(crc32(tail, crc32(payload)), head + 4);
    if (file.write(head, frameHead) != frameHead || file.write(payload) != payload.size() ||
        file.write(tail) != tail.size() || !file.flush()) {
        error = file.errorString();
        // A partial frame would end the journal before any later record.
        file.resize(end);
        file.seek(end);
        return false;
    }
    syncToDisk(file);
    return true;
}

void RecoveryJournal::close(bool remove)
{
    if (file.isOpen())
        file.close();
    if (remove && !file.fileName().isEmpty())
        QFile::remove(file.fileName());
}
