#include "document/ConfigDocument.h"

#include "data/NameResolver.h"
#include "document/DiskWatcher.h"
#include "document/DocumentEditCommand.h"

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
    configDir = dir;
    NameResolver::instance().loadAll(dir);
    nameTablePaths.clear();
    nameStamps.clear();
    for (const QString &name : NameResolver::tableFileNames()) {
        nameTablePaths << QDir(dir).filePath(name);
        nameStamps << nameTableStamp(nameTablePaths.constLast());
    }
    const QDir directory(dir);

    MonsterDropData loadedMonsters;
    DropBoxContentData loadedBoxes;
    QString error;
    const QString monsterPath = directory.filePath(QStringLiteral("MonsterDropBoxs.txt"));
    const bool monstersRead =
        QFileInfo::exists(monsterPath) && files.loadMonsters(monsterPath, loadedMonsters, error);
    const QString boxPath = directory.filePath(QStringLiteral("DropBoxContent.txt"));
    const bool boxesRead =
        QFileInfo::exists(boxPath) && files.loadBoxes(boxPath, loadedBoxes, error);

    Q_EMIT documentsAboutToChange();
    if (monstersRead)
        monsterData = std::move(loadedMonsters);
    if (boxesRead)
        boxData = std::move(loadedBoxes);
    // A load that replaced nothing leaves the steps valid.
    if (monstersRead || boxesRead)
        clearHistory(monstersRead, boxesRead);
    DocumentUpdate update;
    update.cause = DocumentUpdate::Cause::Load;
    update.monstersChanged = update.recordsAddedOrRemoved = monstersRead;
    update.boxesChanged = update.boxesAddedOrRemoved = boxesRead;
    update.namesReloaded = true;
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
    clearHistory(true, false);
    DocumentUpdate update;
    update.cause = DocumentUpdate::Cause::Load;
    update.monstersChanged = update.recordsAddedOrRemoved = true;
    announce(update);
    watchFiles();
    Q_EMIT filesChanged();
    return true;
}

bool ConfigDocument::openBoxFile(const QString &path, QString &error)
{
    DropBoxContentData loaded;
    if (!files.loadBoxes(path, loaded, error))
        return false;
    Q_EMIT documentsAboutToChange();
    boxData = std::move(loaded);
    clearHistory(false, true);
    DocumentUpdate update;
    update.cause = DocumentUpdate::Cause::Load;
    update.boxesChanged = update.boxesAddedOrRemoved = true;
    announce(update);
    watchFiles();
    Q_EMIT filesChanged();
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
    // A document left unwritten keeps its unsaved changes (save as writes the monster file only).
    keptMonsterChanges = !writeMonsters && monstersModified();
    keptBoxChanges = !writeBoxes && boxesModified();
    history->setClean();
    updateModified();
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
    const QString path = boxes ? files.boxPath() : files.monsterPath();
    const FileStamp now = FileStamp::ofFile(path);
    // Gone, or the bytes last read or written (our own save): nothing to read. A file that went
    // is for the check before the next save.
    if (!now.exists() || now.sameContent(boxes ? files.boxStamp() : files.monsterStamp()))
        return;
    FileStamp &reported = boxes ? reportedBoxStamp : reportedMonsterStamp;
    if (!(boxes ? boxesModified() : monstersModified())) {
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
    history->push(new DocumentEditCommand(
        name, std::move(change),
        [this](const DocumentChange &step, bool undo, const QString &stepName) {
            replay(step, undo, stepName);
        },
        mergeKey));
    announce(update);
}

void ConfigDocument::replay(const DocumentChange &change, bool undo, const QString &name)
{
    editBaseline.reset();
    Q_EMIT documentsAboutToChange();
    if (undo)
        change.revert(monsterData, boxData);
    else
        change.apply(monsterData, boxData);
    DocumentUpdate update;
    update.cause = undo ? DocumentUpdate::Cause::Undo : DocumentUpdate::Cause::Redo;
    update.stepName = name;
    update.monstersChanged = change.touchesMonsters();
    update.boxesChanged = change.touchesBoxes();
    update.recordsAddedOrRemoved = change.changesRecordCount();
    update.boxesAddedOrRemoved = change.changesBoxCount();
    announce(update);
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
}

void ConfigDocument::updateModified()
{
    const bool now = isModified();
    if (now == modified)
        return;
    modified = now;
    Q_EMIT modifiedChanged(now);
}
