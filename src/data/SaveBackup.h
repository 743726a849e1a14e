#pragma once

#include <QDateTime>
#include <QSet>
#include <QString>

// Keeps the file a save is about to replace: "<dir>/backup/<name>.<yyyyMMdd-HHmmss>.txt", where
// <name> is the file name without its ".txt", the newest `keepCount` per file.
namespace SaveBackup {

constexpr int keepCount = 20;

// The backup folder of a file: "backup" beside it.
QString backupDirectory(const QString &filePath);

// Copies the file at `filePath` into its backup folder, then removes that file's older backups
// beyond keepCount. A second backup within the same second gets "-2", "-3" ... after the time
// stamp, unless its bytes equal the one already there. A file that does not exist needs no
// backup: true with `backupPath` empty. False with `error` when the folder cannot be made or
// the copy cannot be written; the file itself is never touched.
bool backupFile(const QString &filePath, const QDateTime &time, QString &backupPath,
                QString &error);

} // namespace SaveBackup

// Backs a file up before the first save that overwrites it since the editor started or last
// loaded; later saves of the same file overwrite it without a further copy.
class SaveBackupTracker
{
public:
    // True when the file is backed up now, was backed up before, or does not exist; backupPath
    // (when given) receives the backup made now, or is cleared.
    bool beforeOverwrite(const QString &filePath, const QDateTime &time, QString &error,
                         QString *backupPath = nullptr);
    // After a load: the next save of each file makes a new backup.
    void reset() { backedUp.clear(); }

private:
    QSet<QString> backedUp;
};
