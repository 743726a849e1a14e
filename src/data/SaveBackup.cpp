#include "data/SaveBackup.h"

#include "data/CheckedFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>

namespace {

QString backupBaseName(const QString &filePath)
{
    QString name = QFileInfo(filePath).fileName();
    if (name.endsWith(QLatin1String(".txt"), Qt::CaseInsensitive))
        name.chop(4);
    return name;
}

bool sameBytes(const QString &a, const QString &b)
{
    QFile first(a);
    QFile second(b);
    if (!first.open(QIODevice::ReadOnly) || !second.open(QIODevice::ReadOnly) ||
        first.size() != second.size())
        return false;
    while (!first.atEnd()) {
        if (first.read(1 << 16) != second.read(1 << 16))
            return false;
    }
    return true;
}

// Copies the file through a checked file: a copy cut short never stands as a backup.
bool copyChecked(const QString &sourcePath, const QString &target, QString &reason)
{
    QFile source(sourcePath);
    if (!source.open(QIODevice::ReadOnly)) {
        reason = QCoreApplication::translate("Lootwright", "无法读取 %1：%2")
                     .arg(sourcePath, CheckedFile::readableReason(source));
        return false;
    }
    CheckedFile copy(target);
    if (!copy.open(QIODevice::WriteOnly)) {
        reason = copy.reason();
        return false;
    }
    QByteArray block(1 << 20, Qt::Uninitialized);
    qint64 copied = 0;
    while (true) {
        const qint64 got = source.read(block.data(), block.size());
        if (got < 0) {
            reason = QCoreApplication::translate("Lootwright", "无法读取 %1：%2")
                         .arg(sourcePath, CheckedFile::readableReason(source));
            return false;
        }
        if (got == 0)
            break;
        if (copy.write(block.constData(), got) != got) {
            reason = copy.reason();
            return false;
        }
        copied += got;
    }
    if (copied != source.size()) {
        reason =
            QCoreApplication::translate("Lootwright", "复制时 %1 的大小发生了变化").arg(sourcePath);
        return false;
    }
    if (!copy.commit()) {
        reason = copy.reason();
        return false;
    }
    return true;
}

struct BackupEntry
{
    QString stamp;
    int counter = 1;
    QString fileName;
};

// Removes the oldest backups of `name` beyond the limit; never the one just written. Files whose
// names do not follow the pattern are not ours and stay.
void rotate(const QDir &dir, const QString &name, const QString &justWritten)
{
    const QRegularExpression pattern(QStringLiteral("^%1\\.(\\d{8}-\\d{6})(?:-(\\d+))?\\.txt$")
                                         .arg(QRegularExpression::escape(name)));
    QList<BackupEntry> entries;
    for (const QString &fileName : dir.entryList(QDir::Files)) {
        const QRegularExpressionMatch match = pattern.match(fileName);
        if (!match.hasMatch())
            continue;
        const int counter = match.captured(2).isEmpty() ? 1 : match.captured(2).toInt();
        entries.append({match.captured(1), counter, fileName});
    }
    std::sort(entries.begin(), entries.end(), [](const BackupEntry &a, const BackupEntry &b) {
        return a.stamp != b.stamp ? a.stamp < b.stamp : a.counter < b.counter;
    });
    qsizetype excess = entries.size() - SaveBackup::keepCount;
    for (qsizetype i = 0; i < entries.size() && excess > 0; ++i) {
        if (entries.at(i).fileName == justWritten)
            continue;
        // A backup that cannot be removed only makes the folder keep one more.
        QFile::remove(dir.filePath(entries.at(i).fileName));
        --excess;
    }
}

} // namespace

namespace SaveBackup {

QString backupDirectory(const QString &filePath)
{
    return QFileInfo(filePath).absoluteDir().filePath(QStringLiteral("backup"));
}

bool backupFile(const QString &filePath, const QDateTime &time, QString &backupPath, QString &error)
{
    backupPath.clear();
    if (!QFileInfo(filePath).isFile())
        return true;

    const QString dirPath = backupDirectory(filePath);
    if (!QDir().mkpath(dirPath) || !QFileInfo(dirPath).isDir()) {
        error = QCoreApplication::translate("Lootwright",
                                            "备份失败，原文件未被覆盖：无法创建备份目录 %1")
                    .arg(dirPath);
        return false;
    }
    const QDir dir(dirPath);
    const QString name = backupBaseName(filePath);
    const QString stamp = time.toString(QStringLiteral("yyyyMMdd-HHmmss"));

    QString fileName = QStringLiteral("%1.%2.txt").arg(name, stamp);
    for (int counter = 2; QFileInfo::exists(dir.filePath(fileName)); ++counter) {
        if (sameBytes(filePath, dir.filePath(fileName))) {
            backupPath = dir.filePath(fileName);
            rotate(dir, name, fileName);
            return true;
        }
        fileName = QStringLiteral("%1.%2-%3.txt").arg(name, stamp).arg(counter);
    }

    const QString target = dir.filePath(fileName);
    QString reason;
    if (!copyChecked(filePath, target, reason)) {
        error = QCoreApplication::translate("Lootwright",
                                            "备份失败，原文件未被覆盖：无法写入备份文件 %1（%2）")
                    .arg(target, reason);
        return false;
    }
    backupPath = target;
    rotate(dir, name, fileName);
    return true;
}

} // namespace SaveBackup

bool SaveBackupTracker::beforeOverwrite(const QString &filePath, const QDateTime &time,
                                        QString &error, QString *madePath)
{
    if (madePath)
        madePath->clear();
    const QString key = QFileInfo(filePath).absoluteFilePath();
    if (backedUp.contains(key))
        return true;
    QString backupPath;
    if (!SaveBackup::backupFile(filePath, time, backupPath, error))
        return false;
    if (madePath)
        *madePath = backupPath;
    backedUp.insert(key);
    return true;
}
