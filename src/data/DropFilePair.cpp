#include "data/DropFilePair.h"

#include "data/CheckedFile.h"
#include "data/FileSystemCalls.h"
#include "data/SaveJournal.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <memory>
#include <vector>

namespace {

// One file of a save: where it goes and the checked file that holds its new bytes.
struct Part
{
    DropFilePair::File file;
    QString path;
    std::unique_ptr<CheckedFile> output;
    bool existed = false;
    bool kept = false; // the old file has a second name to be put back from
};

} // namespace

bool DropFilePair::recover(const QString &path, QString &note, QString &error)
{
    return SaveJournal::recover(path, note, error);
}

bool DropFilePair::loadMonsters(const QString &path, MonsterDropData &data, QString &error)
{
    FileStamp stamp;
    if (!recover(path, note, error) || !monsterReader.load(path, data, error, &stamp))
        return false;
    monsterFile = path;
    monsterOnDisk = stamp;
    backups.reset();
    return true;
}

bool DropFilePair::loadBoxes(const QString &path, DropBoxContentData &data, QString &error)
{
    FileStamp stamp;
    if (!recover(path, note, error) || !boxReader.load(path, data, error, &stamp))
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
    std::vector<Part> parts;
    if (monsters)
        parts.push_back({File::Monsters, monsterPath, nullptr});
    if (boxes)
        parts.push_back({File::Boxes, boxPath, nullptr});
    const auto fail = [&failure](const Part &part, const QString &error) {
        failure.file = part.file;
        failure.error = error;
        return false;
    };

    // What an earlier save cut short left beside the files is settled first.
    QString error;
    for (const Part &part : parts) {
        QString ignored;
        if (!recover(part.path, ignored, error))
            return fail(part, error);
    }
    backupsMade.clear();
    for (const Part &part : parts) {
        QString backupPath;
        if (!backups.beforeOverwrite(part.path, time, error, &backupPath))
            return fail(part, error);
        if (!backupPath.isEmpty())
            backupsMade << backupPath;
    }
    // Every new file whole on disk before any target is replaced.
    for (Part &part : parts) {
        part.output = std::make_unique<CheckedFile>(part.path);
        const bool written = part.file == File::Monsters
                                 ? monsterReader.writeChecked(*part.output, *monsters, error)
                                 : boxReader.writeChecked(*part.output, *boxes, error);
        if (!written)
            return fail(part, error);
    }
    if (parts.size() == 1) {
        if (!parts.front().output->commit())
            return fail(parts.front(), QCoreApplication::translate("Lootwright", "无法替换文件：%1")
                                           .arg(parts.front().output->failureText()));
    } else {
        QList<SaveJournal::Entry> entries;
        for (Part &part : parts) {
            part.existed = QFileInfo::exists(part.path);
            entries.append({part.path, part.output->temporaryPath(),
                            part.existed
                                ? CheckedFile::siblingName(part.path, QStringLiteral("kept"))
                                : QString(),
                            part.output->writtenStamp()});
        }
        if (!SaveJournal::write(entries, error))
            return fail(parts.front(), error);
        // From here the journal answers for the new files.
        for (size_t i = 0; i < parts.size(); ++i) {
            parts[i].output->release();
            QString ignored;
            parts[i].kept = parts[i].existed &&
                            FileSystemCalls::linkFile(parts[i].path, entries[i].kept, ignored);
        }
        size_t replaced = 0;
        QString reason;
        while (replaced < parts.size() &&
               CheckedFile::replace(entries[replaced].temporary, parts[replaced].path, reason))
            ++replaced;
        if (replaced < parts.size()) {
            // Put back the files already replaced, so that neither changes.
            bool undone = true;
            for (size_t i = 0; i < replaced; ++i) {
                QString ignored;
                undone = (parts[i].existed
                              ? parts[i].kept && FileSystemCalls::renameOver(entries[i].kept,
                                                                             parts[i].path, ignored)
                              : QFile::remove(parts[i].path)) &&
                         undone;
            }
            const QString text = QCoreApplication::translate("Lootwright", "无法替换文件：%1（%2）")
                                     .arg(parts[replaced].path, reason);
            if (!undone)
                return fail(parts[replaced],
                            text + QCoreApplication::translate(
                                       "Lootwright",
                                       "。另一个文件已经替换且无法还原，下次加载时会完成"
                                       "这次保存。"));
            for (const SaveJournal::Entry &entry : entries) {
                QFile::remove(entry.temporary);
                QFile::remove(entry.kept);
            }
            SaveJournal::remove(entries);
            return fail(parts[replaced], text);
        }
        for (const SaveJournal::Entry &entry : entries) {
            if (!entry.kept.isEmpty())
                QFile::remove(entry.kept);
        }
        SaveJournal::remove(entries);
    }
    for (const Part &part : parts) {
        (part.file == File::Monsters ? monsterFile : boxFile) = part.path;
        (part.file == File::Monsters ? monsterOnDisk : boxOnDisk) = part.output->writtenStamp();
    }
    return true;
}
