#pragma once

#include "data/DropBoxContentParser.h"
#include "data/DropConfig.h"
#include "data/FileStamp.h"
#include "data/MonsterDropParser.h"
#include "data/SaveBackup.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

// The two drop files of a configuration as files: their paths, readers and writers, the backups
// taken before the first overwrite after a load, and what each held on disk when last read or
// written. The editor's document and the command line both load and save through it, so a save
// of the pair behaves the same in both.
class DropFilePair
{
public:
    enum class File
    {
        Monsters,
        Boxes,
    };

    // Reads a file into `data` without touching the pair when it fails; on success the path and
    // its stamp are the pair's. A save of the pair cut short beside the file is completed or
    // discarded first (recover); recoveryNote() then says so.
    bool loadMonsters(const QString &path, MonsterDropData &data, QString &error);
    bool loadBoxes(const QString &path, DropBoxContentData &data, QString &error);

    struct SaveFailure
    {
        File file = File::Monsters; // the file that failed
        QString error;              // names the file and the reason
    };
    // Writes each document given (nullptr: that file is left alone) to its path, backing each
    // file up before its first overwrite since the last load. All or nothing: when anything
    // fails, neither file changes; both new files are whole on disk before either replaces
    // anything, and a journal beside them lets the next load finish or discard a save cut short
    // (SaveJournal). On success the paths and stamps follow what was written.
    bool save(const QString &monsterPath, const MonsterDropData *monsters, const QString &boxPath,
              const DropBoxContentData *boxes, const QDateTime &time, SaveFailure &failure);

    // Settles what a save cut short left beside the file at path: its journal completed when
    // every new file is whole, else discarded (see SaveJournal). note says what was done, empty
    // when nothing was. False with error when the journal cannot be completed.
    static bool recover(const QString &path, QString &note, QString &error);
    // What the last load's recovery did; empty when there was nothing to settle.
    const QString &recoveryNote() const { return note; }

    // The backups the last save made, if it made any.
    const QStringList &lastBackups() const { return backupsMade; }

    const QString &monsterPath() const { return monsterFile; }
    const QString &boxPath() const { return boxFile; }
    const FileStamp &monsterStamp() const { return monsterOnDisk; }
    const FileStamp &boxStamp() const { return boxOnDisk; }
    const MonsterDropParser &monsterParser() const { return monsterReader; }
    const DropBoxContentParser &boxParser() const { return boxReader; }

private:
    MonsterDropParser monsterReader{DropSlots::monsterSlotLimit};
    DropBoxContentParser boxReader{DropSlots::boxSlotLimit};
    QString monsterFile;
    QString boxFile;
    FileStamp monsterOnDisk;
    FileStamp boxOnDisk;
    SaveBackupTracker backups;
    QString note;
    QStringList backupsMade;
};
