#include "data/DropFilePair.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>

FileStamp FileStamp::ofFile(const QString &path)
{
    FileStamp stamp;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return stamp;
    QCryptographicHash hash(QCryptographicHash::Sha1);
    if (!hash.addData(&file))
        return stamp;
    stamp.size = file.size();
    stamp.modified = QFileInfo(file).lastModified();
    stamp.hash = hash.result();
    return stamp;
}

bool DropFilePair::loadMonsters(const QString &path, MonsterDropData &data, QString &error)
{
    if (!monsterReader.load(path, data, error))
        return false;
    monsterFile = path;
    monsterOnDisk = FileStamp::ofFile(path);
    backups.reset();
    return true;
}

bool DropFilePair::loadBoxes(const QString &path, DropBoxContentData &data, QString &error)
{
    if (!boxReader.load(path, data, error))
        return false;
    boxFile = path;
    boxOnDisk = FileStamp::ofFile(path);
    backups.reset();
    return true;
}

bool DropFilePair::save(const QString &monsterPath, const MonsterDropData *monsters,
                        const QString &boxPath, const DropBoxContentData *boxes,
                        const QDateTime &time, SaveFailure &failure)
{
    if (monsters && !backups.beforeOverwrite(monsterPath, time, failure.error)) {
        failure.file = File::Monsters;
        return false;
    }
    if (boxes && !backups.beforeOverwrite(boxPath, time, failure.error)) {
        failure.file = File::Boxes;
        return false;
    }
    if (monsters && !monsterReader.save(monsterPath, *monsters, failure.error)) {
        failure.file = File::Monsters;
        return false;
    }
    if (boxes && !boxReader.save(boxPath, *boxes, failure.error)) {
        failure.file = File::Boxes;
        return false;
    }
    if (monsters) {
        monsterFile = monsterPath;
        monsterOnDisk = FileStamp::ofFile(monsterPath);
    }
    if (boxes) {
        boxFile = boxPath;
        boxOnDisk = FileStamp::ofFile(boxPath);
    }
    return true;
}
