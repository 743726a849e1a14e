#include "document/ConfigDocument.h"

#include "data/NameResolver.h"
#include "document/DocumentEditCommand.h"

#include <QDir>
#include <QFileInfo>
#include <QUndoStack>
#include <algorithm>

ConfigDocument::ConfigDocument(QObject *parent) : QObject(parent), history(new QUndoStack(this))
{
    qRegisterMetaType<DocumentUpdate>();
    // Each step keeps only what it changed, but a batch edit of a large file still keeps tens
    // of megabytes: the oldest steps go beyond this many.
    history->setUndoLimit(100);
    connect(history, &QUndoStack::cleanChanged, this, &ConfigDocument::updateModified);
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
    keepSaved(monstersRead, boxesRead);
    // A load that replaced nothing leaves the steps valid.
    if (monstersRead || boxesRead)
        clearHistory(monstersRead, boxesRead);
    DocumentUpdate update;
    update.cause = DocumentUpdate::Cause::Load;
    update.monstersChanged = update.recordsAddedOrRemoved = monstersRead;
    update.boxesChanged = update.boxesAddedOrRemoved = boxesRead;
    update.namesReloaded = true;
    announce(update);
    Q_EMIT filesChanged();
}

bool ConfigDocument::openMonsterFile(const QString &path, QString &error)
{
    MonsterDropData loaded;
    if (!files.loadMonsters(path, loaded, error))
        return false;
    Q_EMIT documentsAboutToChange();
    monsterData = std::move(loaded);
    keepSaved(true, false);
    clearHistory(true, false);
    DocumentUpdate update;
    update.cause = DocumentUpdate::Cause::Load;
    update.monstersChanged = update.recordsAddedOrRemoved = true;
    announce(update);
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
    keepSaved(false, true);
    clearHistory(false, true);
    DocumentUpdate update;
    update.cause = DocumentUpdate::Cause::Load;
    update.boxesChanged = update.boxesAddedOrRemoved = true;
    announce(update);
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
    keepSaved(writeMonsters, writeBoxes);
    // A document left unwritten keeps its unsaved changes (save as writes the monster file only).
    keptMonsterChanges = !writeMonsters && monstersModified();
    keptBoxChanges = !writeBoxes && boxesModified();
    history->setClean();
    updateModified();
    if (files.monsterPath() != oldMonsterPath || files.boxPath() != oldBoxPath)
        Q_EMIT filesChanged();
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
}

void ConfigDocument::updateModified()
{
    const bool now = isModified();
    if (now == modified)
        return;
    modified = now;
    Q_EMIT modifiedChanged(now);
}
