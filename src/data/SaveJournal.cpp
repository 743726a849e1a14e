#include "data/SaveJournal.h"

#include "data/CheckedFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace SaveJournal {

namespace {

const QString journalName = QStringLiteral(".lootwright-save.journal");
const QByteArray firstLine = "lootwright save journal 1";
const QByteArray lastLine = "end";

QStringList directoriesOf(const QList<Entry> &entries)
{
    QStringList directories;
    for (const Entry &entry : entries) {
        const QString directory = QFileInfo(entry.target).absolutePath();
        if (!directories.contains(directory))
            directories << directory;
    }
    return directories;
}

QByteArray encodePath(const QDir &directory, const QString &path)
{
    return path.isEmpty() ? QByteArray()
                          : directory.relativeFilePath(path).toUtf8().toPercentEncoding();
}

QString decodePath(const QDir &directory, const QByteArray &text)
{
    return text.isEmpty() ? QString()
                          : QDir::cleanPath(directory.absoluteFilePath(
                                QString::fromUtf8(QByteArray::fromPercentEncoding(text))));
}

QByteArray contents(const QDir &directory, const QList<Entry> &entries)
{
    QByteArray text = firstLine + '\n';
    for (const Entry &entry : entries) {
        text += encodePath(directory, entry.target) + '\t' +
                encodePath(directory, entry.temporary) + '\t' + encodePath(directory, entry.kept) +
                '\t' + QByteArray::number(entry.stamp.size) + '\t' + entry.stamp.hash.toHex() +
                '\n';
    }
    return text + lastLine + '\n';
}

// False when the journal is not one this program wrote whole.
bool parse(const QString &path, QList<Entry> &entries)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QList<QByteArray> lines = file.readAll().split('\n');
    if (lines.size() < 3 || lines.first() != firstLine || lines.at(lines.size() - 2) != lastLine)
        return false;
    const QDir directory = QFileInfo(path).absoluteDir();
    for (qsizetype i = 1; i < lines.size() - 2; ++i) {
        const QList<QByteArray> fields = lines.at(i).split('\t');
        bool ok = false;
        Entry entry;
        if (fields.size() != 5)
            return false;
        entry.target = decodePath(directory, fields.at(0));
        entry.temporary = decodePath(directory, fields.at(1));
        entry.kept = decodePath(directory, fields.at(2));
        entry.stamp.size = fields.at(3).toLongLong(&ok);
        entry.stamp.hash = QByteArray::fromHex(fields.at(4));
        if (!ok || entry.target.isEmpty() || entry.temporary.isEmpty())
            return false;
        entries << entry;
    }
    return !entries.isEmpty();
}

// Files named like the new files of `target`, or of a journal, left by a save that stopped.
void removeDebris(const QString &target)
{
    const QFileInfo info(target);
    const QDir directory = info.absoluteDir();
    for (const QString &name : directory.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        if (CheckedFile::isSiblingOf(name, info.fileName()) ||
            CheckedFile::isSiblingOf(name, journalName))
            QFile::remove(directory.filePath(name));
    }
}

QString targetNames(const QList<Entry> &entries)
{
    QStringList names;
    for (const Entry &entry : entries)
        names << QDir::toNativeSeparators(entry.target);
    return names.join(QCoreApplication::translate("Lootwright", "、"));
}

} // namespace

QString journalPath(const QString &directory)
{
    return QDir(directory).filePath(journalName);
}

bool write(const QList<Entry> &entries, QString &error)
{
    const QStringList directories = directoriesOf(entries);
    for (qsizetype i = 0; i < directories.size(); ++i) {
        CheckedFile journal(journalPath(directories.at(i)));
        const QByteArray text = contents(QDir(directories.at(i)), entries);
        if (!journal.open(QIODevice::WriteOnly) || journal.write(text) != text.size() ||
            !journal.commit()) {
            error = QCoreApplication::translate("Lootwright", "无法写入保存日志：%1")
                        .arg(journal.failureText());
            for (qsizetype j = 0; j < i; ++j)
                QFile::remove(journalPath(directories.at(j)));
            return false;
        }
    }
    return true;
}

void remove(const QList<Entry> &entries)
{
    const QStringList directories = directoriesOf(entries);
    for (qsizetype i = directories.size() - 1; i >= 0; --i)
        QFile::remove(journalPath(directories.at(i)));
}

bool recover(const QString &filePath, QString &note, QString &error)
{
    note.clear();
    const QString path = journalPath(QFileInfo(filePath).absolutePath());
    if (!QFileInfo::exists(path)) {
        removeDebris(filePath);
        return true;
    }
    QList<Entry> entries;
    if (!parse(path, entries)) {
        // Never ours whole: nothing was replaced on its word.
        QFile::remove(path);
        removeDebris(filePath);
        note = QCoreApplication::translate("Lootwright", "已删除无法读取的保存日志：%1")
                   .arg(QDir::toNativeSeparators(path));
        return true;
    }
    int pending = 0;
    int done = 0;
    for (const Entry &entry : entries) {
        if (QFileInfo::exists(entry.temporary)) {
            pending += FileStamp::ofFile(entry.temporary).sameContent(entry.stamp) ? 1 : 0;
        } else {
            done += FileStamp::ofFile(entry.target).sameContent(entry.stamp) ? 1 : 0;
        }
    }
    const bool complete = pending + done == entries.size();
    // With some targets replaced, the rest follow even when one cannot (never the case unless a
    // file was removed by hand): the new files that are there belong together.
    if (complete || done > 0) {
        for (const Entry &entry : entries) {
            QString reason;
            if (QFileInfo::exists(entry.temporary) &&
                FileStamp::ofFile(entry.temporary).sameContent(entry.stamp) &&
                !CheckedFile::replace(entry.temporary, entry.target, reason)) {
                error = QCoreApplication::translate("Lootwright",
                                                    "无法完成上次中断的保存：无法替换 %1（%2）")
                            .arg(QDir::toNativeSeparators(entry.target), reason);
                return false;
            }
        }
        note = complete ? QCoreApplication::translate("Lootwright", "已完成上次中断的保存：%1")
                              .arg(targetNames(entries))
                        : QCoreApplication::translate("Lootwright",
                                                      "上次中断的保存只能部分完成，请检查：%1")
                              .arg(targetNames(entries));
    } else {
        note = QCoreApplication::translate("Lootwright", "已放弃上次未完成的保存，文件保持原样：%1")
                   .arg(targetNames(entries));
    }
    for (const Entry &entry : entries) {
        QFile::remove(entry.temporary);
        if (!entry.kept.isEmpty())
            QFile::remove(entry.kept);
    }
    remove(entries);
    removeDebris(filePath);
    return true;
}

} // namespace SaveJournal
