#include "data/DropFilePair.h"

bool DropFilePair::loadMonsters(const QString &path, MonsterDropData &data, QString &error)
{
    FileStamp stamp;
    if (!monsterReader.load(path, data, error, &stamp))
        return false;
    monsterFile = path;
    monsterOnDisk = stamp;
    backups.reset();
    return true;
}

bool DropFilePair::loadBoxes(const QString &path, DropBoxContentData &data, QString &error)
{
    FileStamp stamp;
    if (!boxReader.load(path, data, error, &stamp))
        return false;
    boxFile = path;
    boxOnDisk = stamp;
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
