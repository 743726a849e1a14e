#include "document/ConfigDocument.h"

#include "data/NameResolver.h"
#include "document/DiskWatcher.h"
#include "document/DocumentEditCommand.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUndoStack>
#include <algorithm>

namespace {

// The name tables are read at every start: a fast hash of their bytes keeps the start as quick
// as it was (the drop files carry their own stamps). -1 for a missing or unreadable file.
std::pair<qint64, size_t> nameTableStamp(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {-1, 0};
    QByteArray buffer(1 << 20, Qt::Uninitialized);
    size_t hash = 0x9e3779b97f4a7c15ULL;
    qint64 size = 0;
    qint64 read = 0;
    while ((read = file.read(buffer.data(), buffer.size())) > 0) {
        hash = qHash(QByteArrayView(buffer.constData(), read), hash);
        size += read;
    }
    return {read < 0 ? -1 : size, hash};
}

} // namespace

ConfigDocument::ConfigDocument(QObject *parent) : QObject(parent), history(new QUndoStack(this))
{
    qRegisterMetaType<DocumentUpdate>();
    // Each step keeps only what it changed, but a batch edit of a large file still keeps tens
    // of megabytes: the oldest steps go beyond this many.
    history->setUndoLimit(100);
    journal = std::make_unique<RecoveryJournal>(history->undoLimit());
    connect(history, &QUndoStack::cleanChanged, this, &ConfigDocument::updateModified);
    diskWatcher = new DiskWatcher(this);
    connect(diskWatcher, &DiskWatcher::filesTouched, this, &ConfigDocument::onFilesTouched);
}

ConfigDocument::~ConfigDocument() = default;

bool ConfigDocument::isModified() const
{
    return !history->isClean() || keptMonsterChanges || keptBoxChanges;
}

bool ConfigDocument::monstersModified() const
{
    return keptMonsterChanges || changedSinceSave(false);
}

bool ConfigDocument::boxesModified() const
{
    return keptBoxChanges || changedSinceSave(true);
}

void ConfigDocument::loadDirectory(const QString &dir)
{
    readDirectory(dir, false);
}

void ConfigDocument::openDirectory(const QString &dir)
{
    readDirectory(dir, true);
}

void ConfigDocument::readDirectory(const QString &dir, bool replaceBoth)
{
    configDir = dir;
    NameResolver::instance().loadAll(dir);
    nameTablePaths.clear();
    nameStamps.clear();
    for (const QString &name : NameResolver::tableFileNames()) {
        nameTablePaths << QDir(dir).filePath(name);
        nameStamps << nameTableStamp(nameTablePaths.constLast());
    }
    const QDir directory(dir);

    // Another folder keeps nothing of the files before it: paths, stamps and backups start anew.
    DropFilePair freshFiles;
    DropFilePair &reader = replaceBoth ? freshFiles : files;
    MonsterDropData loadedMonsters;
    DropBoxContentData loadedBoxes;
    QString error;
    const QString monsterPath = directory.filePath(QStringLiteral("MonsterDropBoxs.txt"));
    const bool monstersRead =
        QFileInfo::exists(monsterPath) && reader.loadMonsters(monsterPath, loadedMonsters, error);
    const QString boxPath = directory.filePath(QStringLiteral("DropBoxContent.txt"));
    const bool boxesRead =
        QFileInfo::exists(boxPath) && reader.loadBoxes(boxPath, loadedBoxes, error);
    const bool monstersReplaced = monstersRead || replaceBoth;
    const bool boxesReplaced = boxesRead || replaceBoth;

    Q_EMIT documentsAboutToChange();
    // A file that did not read may have left part of itself in the loaded document.
    if (monstersReplaced)
        monsterData = monstersRead ? std::move(loadedMonsters) : MonsterDropData();
    if (boxesReplaced)
        boxData = boxesRead ? std::move(loadedBoxes) : DropBoxContentData();
    if (replaceBoth)
        files = std::move(freshFiles);
    finishLoad(monstersReplaced, boxesReplaced, true);
}

void ConfigDocument::finishLoad(bool monstersReplaced, bool boxesReplaced, bool namesReloaded)
{
    keepSaved(monstersReplaced, boxesReplaced);
    // A load that replaced nothing leaves the steps valid.
    if (monstersReplaced || boxesReplaced)
        clearHistory(monstersReplaced, boxesReplaced);
    DocumentUpdate update;
    update.cause = DocumentUpdate::Cause::Load;
    update.monstersChanged = update.recordsAddedOrRemoved = monstersReplaced;
    update.boxesChanged = update.boxesAddedOrRemoved = boxesReplaced;
    update.namesReloaded = namesReloaded;
    announce(update);
    watchFiles();
    Q_EMIT filesChanged();
}

bool ConfigDocument::openMonsterFile(const QString &path, QString &error)
{
    MonsterDropData loaded;
    if (!files.loadMonsters(path, loaded, error))
        return false;
    Q_EMIT documentsAboutToChange();
    monsterData = std::move(loaded);
    finishLoad(true, false, false);
    return true;
}

bool ConfigDocument::openBoxFile(const QString &path, QString &error)
{
    DropBoxContentData loaded;
    if (!files.loadBoxes(path, loaded, error))
        return false;
    Q_EMIT documentsAboutToChange();
    boxData = std::move(loaded);
    finishLoad(false, true, false);
    return true;
}

bool ConfigDocument::save(const SaveTargets &targets, const QDateTime &time,
                          DropFilePair::SaveFailure &failure)
{
    const bool writeMonsters = !targets.monsterPath.isEmpty();
    const bool writeBoxes = !targets.boxPath.isEmpty();
    const QString oldMonsterPath = files.monsterPath();
    const QString oldBoxPath = files.boxPath();
    if (!files.save(targets.monsterPath, writeMonsters ? &monsterData : nullptr, targets.boxPath,
                    writeBoxes ? &boxData : nullptr, time, failure))
        return false;
    keepSaved(writeMonsters, writeBoxes);
    // A document left unwritten keeps its unsaved changes (save as writes the monster file only).
    keptMonsterChanges = !writeMonsters && monstersModified();
    keptBoxChanges = !writeBoxes && boxesModified();
    history->setClean();
    updateModified();
    restartJournal();
    watchFiles();
    if (files.monsterPath() != oldMonsterPath || files.boxPath() != oldBoxPath)
        Q_EMIT filesChanged();
    return true;
}

bool ConfigDocument::reloadFromDisk(DropFilePair::File file, QString &error)
{
    // A copy: the load replaces the path it is given.
    const QString path = file == DropFilePair::File::Boxes ? files.boxPath() : files.monsterPath();
    return file == DropFilePair::File::Boxes ? openBoxFile(path, error)
                                             : openMonsterFile(path, error);
}

QList<DropFilePair::File> ConfigDocument::changedOnDisk(const SaveTargets &targets) const
{
    // A target that is not the document's own file was chosen in a file dialog, which asked.
    QList<DropFilePair::File> changed;
    const auto check = [&](const QString &target, const QString &own, const FileStamp &known,
                           DropFilePair::File file) {
        if (target.isEmpty() || target != own)
            return;
        const FileStamp now = FileStamp::ofFile(target);
        if (now.exists() && !now.sameContent(known))
            changed << file;
    };
    check(targets.monsterPath, files.monsterPath(), files.monsterStamp(),
          DropFilePair::File::Monsters);
    check(targets.boxPath, files.boxPath(), files.boxStamp(), DropFilePair::File::Boxes);
    return changed;
}

QStringList ConfigDocument::watchedFiles() const
{
    return diskWatcher->paths();
}

void ConfigDocument::watchFiles()
{
    reportedMonsterStamp = FileStamp();
    reportedBoxStamp = FileStamp();
    diskWatcher->setPaths(QStringList{files.monsterPath(), files.boxPath()} + nameTablePaths);
}

void ConfigDocument::onFilesTouched(const QStringList &paths)
{
    QStringList names;
    for (const QString &path : paths) {
        if (nameTablePaths.contains(path))
            names << path;
    }
    if (!names.isEmpty())
        reloadNameTables(names);
    // The monster file first, as a load reads it.
    if (paths.contains(files.monsterPath()))
        checkDropFile(DropFilePair::File::Monsters);
    if (paths.contains(files.boxPath()))
        checkDropFile(DropFilePair::File::Boxes);
}

void ConfigDocument::checkDropFile(DropFilePair::File file)
{
    const bool boxes = file == DropFilePair::File::Boxes;
    const QString path = filePath(file);
    const FileStamp now = FileStamp::ofFile(path);
    // Gone, or the bytes last read or written (our own save): nothing to read. A file that went
    // is for the check before the next save.
    if (!now.exists() || now.sameContent(boxes ? files.boxStamp() : files.monsterStamp()))
        return;
    FileStamp &reported = boxes ? reportedBoxStamp : reportedMonsterStamp;
    if (!isModified(file)) {
        QString error;
        if (reloadFromDisk(file, error)) {
            Q_EMIT reloadedFromDisk(path);
            return;
        }
        // Half written, or broken: the user decides, as with unsaved changes.
    }
    if (reported.exists() && now.sameContent(reported))
        return;
    reported = now;
    Q_EMIT fileChangedOnDisk(file);
}

bool ConfigDocument::reloadNameTables(const QStringList &touched)
{
    QStringList changed;
    for (const QString &path : touched) {
        const auto now = nameTableStamp(path);
        const qsizetype index = nameTablePaths.indexOf(path);
        if (index >= 0 && now != nameStamps.at(index)) {
            nameStamps[index] = now;
            changed << path;
        }
    }
    if (changed.isEmpty())
        return false;
    Q_EMIT documentsAboutToChange();
    NameResolver::instance().loadAll(configDir);
    DocumentUpdate update;
    update.cause = DocumentUpdate::Cause::Load;
    update.namesReloaded = true;
    announce(update);
    for (const QString &path : std::as_const(changed))
        Q_EMIT reloadedFromDisk(path);
    return true;
}

const ItemSourceIndex &ConfigDocument::itemSourceIndex()
{
    if (sourcesStale) {
        sources.rebuild(monsterData, boxData);
        sourcesStale = false;
    }
    return sources;
}

void ConfigDocument::beginEdit()
{
    // Always taken anew: one left by an edit that changed nothing may predate an undo or load.
    editBaseline.emplace(monsterData, boxData);
    Q_EMIT documentsAboutToChange();
}

void ConfigDocument::finishEdit(const QString &name, const QString &mergeKey)
{
    if (!editBaseline)
        return;
    DocumentChange change = DocumentChange::between(*editBaseline, monsterData, boxData);
    editBaseline.reset();
    DocumentUpdate update;
    update.stepName = name;
    update.mergeKey = mergeKey;
    update.monstersChanged = change.touchesMonsters();
    update.boxesChanged = change.touchesBoxes();
    update.recordsAddedOrRemoved = change.changesRecordCount();
    update.boxesAddedOrRemoved = change.changesBoxCount();
    // An edit that changed nothing (refused, or nothing to do) is no step and no change.
    if (change.isEmpty())
        return;
    const quint64 serial = nextSerial++;
    const quint64 below = serialAt(history->index() - 1);
    const QByteArray written = ensureJournal() ? encode(change) : QByteArray();
    history->push(newCommand(name, std::move(change), mergeKey, serial));
    journalEdit(serial, below, name, mergeKey, written);
    announce(update);
}

DocumentEditCommand *ConfigDocument::newCommand(const QString &name, DocumentChange change,
                                                const QString &mergeKey, quint64 serial)
{
    return new DocumentEditCommand(
        name, std::move(change),
        [this](const DocumentChange &step, bool undo, const QString &stepName, quint64 number) {
            replay(step, undo, stepName, number);
        },
        mergeKey, serial);
}

void ConfigDocument::replay(const DocumentChange &change, bool undo, const QString &name,
                            quint64 serial)
{
    editBaseline.reset();
    // A restore announces once, after its last step.
    if (!restoring)
        Q_EMIT documentsAboutToChange();
    if (undo)
        change.revert(monsterData, boxData);
    else
        change.apply(monsterData, boxData);
    if (restoring)
        return;
    journalUndoRedo(change, undo, name, serial);
    DocumentUpdate update;
    update.cause = undo ? DocumentUpdate::Cause::Undo : DocumentUpdate::Cause::Redo;
    update.stepName = name;
    update.monstersChanged = change.touchesMonsters();
    update.boxesChanged = change.touchesBoxes();
    update.recordsAddedOrRemoved = change.changesRecordCount();
    update.boxesAddedOrRemoved = change.changesBoxCount();
    announce(update);
}

void ConfigDocument::keepSaved(bool monsters, bool boxes)
{
    // The saved state takes its own list buffers, so the documents' records never move and no
    // pointer a view holds into them goes stale; the records' slot lists stay shared.
    if (monsters) {
        monsterBaseline = monsterData;
        monsterBaseline.records.detach();
    }
    if (boxes) {
        boxBaseline = boxData;
        boxBaseline.boxes.detach();
    }
}

void ConfigDocument::announce(const DocumentUpdate &update)
{
    if (update.monstersChanged || update.boxesChanged)
        sourcesStale = true;
    Q_EMIT documentChanged(update);
    updateModified();
}

bool ConfigDocument::changedSinceSave(bool boxes) const
{
    const int clean = history->cleanIndex();
    if (clean < 0)
        return true;
    const int from = std::min(clean, history->index());
    const int to = std::max(clean, history->index());
    for (int i = from; i < to; ++i) {
        const auto *step = static_cast<const DocumentEditCommand *>(history->command(i));
        const DocumentChange &change = step->documentChange();
        if (boxes ? change.touchesBoxes() : change.touchesMonsters())
            return true;
    }
    return false;
}

void ConfigDocument::clearHistory(bool monstersReplaced, bool boxesReplaced)
{
    keptMonsterChanges = !monstersReplaced && monstersModified();
    keptBoxChanges = !boxesReplaced && boxesModified();
    editBaseline.reset();
    history->clear();
    updateModified();
    restartJournal();
    lookForJournal();
}

void ConfigDocument::updateModified()
{
    const bool now = isModified();
    if (now == modified)
        return;
    modified = now;
    Q_EMIT modifiedChanged(now);
}

RecoveryJournal::Key ConfigDocument::journalKey() const
{
    RecoveryJournal::Key key;
    key.monsterPath = files.monsterPath();
    key.boxPath = files.boxPath();
    key.monsterSize = files.monsterStamp().size;
    key.monsterHash = files.monsterStamp().hash;
    key.boxSize = files.boxStamp().size;
    key.boxHash = files.boxStamp().hash;
    return key;
}

quint64 ConfigDocument::serialAt(int index) const
{
    if (index < 0 || index >= history->count())
        return 0;
    return static_cast<const DocumentEditCommand *>(history->command(index))->serial();
}

QByteArray ConfigDocument::encode(const DocumentChange &change) const
{
    return change.toBytes(monsterData, boxData);
}

bool ConfigDocument::ensureJournal()
{
    if (journalState != JournalState::Closed)
        return journalState == JournalState::Open;
    const QString path = RecoveryJournal::pathFor(files.monsterPath(), files.boxPath());
    // A journal a session before left and nobody answered for: kept beside, never overwritten.
    if (QFileInfo::exists(path) && path != journal->path()) {
        const QString aside = path + QStringLiteral(".previous");
        QFile::remove(aside);
        QFile::rename(path, aside);
        foundJournal.reset();
    }
    QString error;
    if (!journal->start(path, journalKey(), error)) {
        journalState = JournalState::Failed;
        Q_EMIT journalFailed(error);
        return false;
    }
    journalState = JournalState::Open;
    journalKeptChanges();
    return journalState == JournalState::Open;
}

void ConfigDocument::appendToJournal(const RecoveryJournal::Record &record)
{
    QString error;
    if (journalState == JournalState::Open && !journal->append(record, error)) {
        // The steps so far stay: a restore brings back those.
        journal->close(false);
        journalState = JournalState::Failed;
        Q_EMIT journalFailed(error);
    }
}

void ConfigDocument::journalEdit(quint64 serial, quint64 below, const QString &name,
                                 const QString &mergeKey, const QByteArray &change)
{
    if (journalState != JournalState::Open)
        return;
    RecoveryJournal::Record record;
    record.name = name;
    record.mergeKey = mergeKey;
    record.change = change;
    record.serial = serial;
    const quint64 top = serialAt(history->index() - 1);
    if (top != serial) {
        // Folded into the step below; a step the journal does not hold (from before a save)
        // takes it as a step of its own.
        if (journal->stack().topIs(below)) {
            record.kind = RecoveryJournal::Kind::Merge;
            record.serial = below;
            record.obsolete = top != below;
        } else {
            record.serial = nextSerial++;
            record.mergeKey.clear();
        }
    }
    appendToJournal(record);
}

void ConfigDocument::journalUndoRedo(const DocumentChange &change, bool undo, const QString &name,
                                     quint64 serial)
{
    if (!ensureJournal())
        return;
    RecoveryJournal::Record record;
    record.serial = serial;
    if (undo ? journal->stack().topIs(serial) : journal->stack().nextIs(serial)) {
        record.kind = undo ? RecoveryJournal::Kind::Undo : RecoveryJournal::Kind::Redo;
    } else {
        // A step from before a save: what it did, as a step of its own.
        record.serial = nextSerial++;
        record.name = (undo ? QCoreApplication::translate("Lootwright", "撤销：%1")
                            : QCoreApplication::translate("Lootwright", "重做：%1"))
                          .arg(name);
        record.change = encode(undo ? change.reversed() : change);
    }
    appendToJournal(record);
}

void ConfigDocument::restartJournal()
{
    journal->close(true);
    journalState = JournalState::Closed;
    if (keptMonsterChanges || keptBoxChanges)
        ensureJournal();
}

void ConfigDocument::journalKeptChanges()
{
    // The steps that made them are gone: they go in as one step from what the file holds.
    for (const bool boxes : {false, true}) {
        if (!(boxes ? keptBoxChanges : keptMonsterChanges))
            continue;
        const QString &path = boxes ? files.boxPath() : files.monsterPath();
        MonsterDropData baseMonsters;
        DropBoxContentData baseBoxes;
        QString error;
        if (!path.isEmpty()) {
            const bool read = boxes ? files.boxParser().load(path, baseBoxes, error)
                                    : files.monsterParser().load(path, baseMonsters, error);
            const bool same = FileStamp::ofFile(path).sameContent(boxes ? files.boxStamp()
                                                                        : files.monsterStamp());
            if (!read || !same) {
                journal->close(true);
                journalState = JournalState::Failed;
                Q_EMIT journalFailed(
                    read ? QCoreApplication::translate("Lootwright", "文件已被其他程序修改：%1")
                               .arg(path)
                         : error);
                return;
            }
        }
        const DocumentSnapshot before(boxes ? monsterData : baseMonsters,
                                      boxes ? baseBoxes : boxData);
        const DocumentChange change = DocumentChange::between(before, monsterData, boxData);
        if (change.isEmpty())
            continue;
        RecoveryJournal::Record record;
        record.serial = nextSerial++;
        record.name = QCoreApplication::translate("Lootwright", "未保存的修改");
        record.change = encode(change);
        appendToJournal(record);
    }
}

void ConfigDocument::lookForJournal()
{
    foundJournal.reset();
    foundJournalPath = RecoveryJournal::pathFor(files.monsterPath(), files.boxPath());
    if (!QFileInfo::exists(foundJournalPath))
        return;
    RecoveryJournal::Contents contents = RecoveryJournal::read(foundJournalPath);
    // Another version, or another pair of paths under the same name: not this one's to offer.
    if (!contents.readable || contents.key.monsterPath != files.monsterPath() ||
        contents.key.boxPath != files.boxPath())
        return;
    foundJournal = std::move(contents);
    // Every step undone again: nothing to bring back.
    if (recoveryOffer().steps == 0)
        discardRecovery();
}

ConfigDocument::RecoveryOffer ConfigDocument::recoveryOffer() const
{
    RecoveryOffer offer;
    if (!foundJournal)
        return offer;
    offer.journalPath = foundJournalPath;
    offer.damaged = foundJournal->damaged;
    RecoveryJournal::StackMirror stack;
    stack.limit = history->undoLimit();
    for (const RecoveryJournal::Record &record : std::as_const(foundJournal->records))
        stack.follow(record);
    offer.steps = int(stack.index);
    const RecoveryJournal::Key now = journalKey();
    const RecoveryJournal::Key &then = foundJournal->key;
    if (then.monsterSize != now.monsterSize || then.monsterHash != now.monsterHash)
        offer.changedFiles << now.monsterPath;
    if (then.boxSize != now.boxSize || then.boxHash != now.boxHash)
        offer.changedFiles << now.boxPath;
    return offer;
}

ConfigDocument::RecoveryResult ConfigDocument::restoreRecovery()
{
    RecoveryResult result;
    if (!foundJournal || !recoveryOffer().changedFiles.isEmpty())
        return result;
    const RecoveryJournal::Contents contents = std::move(*foundJournal);
    foundJournal.reset();
    result.damaged = contents.damaged;
    editBaseline.reset();
    Q_EMIT documentsAboutToChange();
    restoring = true;
    qsizetype replayed = 0;
    for (const RecoveryJournal::Record &record : contents.records) {
        if (!replayRecord(record)) {
            result.stopped = true;
            break;
        }
        nextSerial = std::max(nextSerial, record.serial + 1);
        ++replayed;
    }
    restoring = false;
    result.restored = history->index();
    DocumentUpdate update;
    update.cause = DocumentUpdate::Cause::Load;
    update.monstersChanged = update.boxesChanged = true;
    update.recordsAddedOrRemoved = update.boxesAddedOrRemoved = true;
    announce(update);
    // This session goes on in the same journal, without what did not come back.
    QString error;
    journalState = JournalState::Open;
    if (!journal->resume(foundJournalPath, contents, replayed, error)) {
        journalState = JournalState::Failed;
        Q_EMIT journalFailed(error);
    }
    return result;
}

bool ConfigDocument::replayRecord(const RecoveryJournal::Record &record)
{
    switch (record.kind) {
    case RecoveryJournal::Kind::Undo:
        if (!history->canUndo() || serialAt(history->index() - 1) != record.serial)
            return false;
        history->undo();
        return true;
    case RecoveryJournal::Kind::Redo:
        if (!history->canRedo() || serialAt(history->index()) != record.serial)
            return false;
        history->redo();
        return true;
    case RecoveryJournal::Kind::Step:
    case RecoveryJournal::Kind::Merge:
        break;
    }
    DocumentChange change;
    if (!DocumentChange::fromBytes(record.change, change) || !change.bindTo(monsterData, boxData))
        return false;
    // The step lands on the stack as it did in the session, or the replay stops before it.
    const bool merge = record.kind == RecoveryJournal::Kind::Merge;
    if (merge != wouldMerge(record.mergeKey, change) ||
        (merge && serialAt(history->index() - 1) != record.serial))
        return false;
    change.apply(monsterData, boxData);
    history->push(
        newCommand(record.name, std::move(change), record.mergeKey, merge ? 0 : record.serial));
    return true;
}

bool ConfigDocument::wouldMerge(const QString &mergeKey, const DocumentChange &change) const
{
    // QUndoStack::push's own rule, with the step's.
    const int index = history->index();
    if (mergeKey.isEmpty() || index == 0 || index == history->cleanIndex())
        return false;
    const auto *top = static_cast<const DocumentEditCommand *>(history->command(index - 1));
    const DocumentChange &below = top->documentChange();
    return top->mergeKeyText() == mergeKey && !below.changesRecordCount() &&
           !below.changesBoxCount() && !change.changesRecordCount() && !change.changesBoxCount();
}

void ConfigDocument::discardRecovery()
{
    if (foundJournal)
        QFile::remove(foundJournalPath);
    foundJournal.reset();
}

void ConfigDocument::discardJournal()
{
    journal->close(true);
    journalState = JournalState::Closed;
}
