#pragma once

#include "data/DropConfig.h"
#include "data/DropFilePair.h"
#include "data/ItemSourceIndex.h"
#include "document/RecoveryJournal.h"
#include "edit/DocumentChange.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <type_traits>
#include <utility>

class DiskWatcher;
class DocumentEditCommand;
class QUndoStack;

// What one change did to the documents, as every view needs to know it.
struct DocumentUpdate
{
    enum class Cause
    {
        Edit,
        Undo,
        Redo,
        Load, // a configuration directory or a file was read
    };
    Cause cause = Cause::Edit;
    QString stepName; // the undo step's name (edit, undo, redo)
    QString mergeKey; // set while typing folds steps into one
    bool monstersChanged = false;
    bool boxesChanged = false;
    // Records or boxes were added, removed or replaced by a load: every pointer and row into that
    // list is gone. Otherwise only values changed.
    bool recordsAddedOrRemoved = false;
    bool boxesAddedOrRemoved = false;
    bool namesReloaded = false;
};

// The configuration being edited: both drop documents, their files and what those hold on disk,
// the undo history and the saved state. Every change goes through edit() (or undo, redo, a load)
// and is announced once by documentChanged; views follow that signal and find their selection
// again by id.
class ConfigDocument : public QObject
{
    Q_OBJECT

public:
    explicit ConfigDocument(QObject *parent = nullptr);
    ~ConfigDocument() override;

    const MonsterDropData &monsters() const { return monsterData; }
    const DropBoxContentData &boxes() const { return boxData; }
    const QString &monsterFilePath() const { return files.monsterPath(); }
    const QString &boxFilePath() const { return files.boxPath(); }
    const QString &filePath(DropFilePair::File file) const
    {
        return file == DropFilePair::File::Boxes ? boxFilePath() : monsterFilePath();
    }
    const DropFilePair &filePair() const { return files; }
    const QString &configDirectory() const { return configDir; }
    QUndoStack *undoStack() const { return history; }
    // The documents as their files held them when last read or written, for the review of
    // changes; the records share their slot lists with the documents until an edit.
    const MonsterDropData &savedMonsters() const { return monsterBaseline; }
    const DropBoxContentData &savedBoxes() const { return boxBaseline; }

    // Unsaved changes: of either document, of each.
    bool isModified() const;
    bool monstersModified() const;
    bool boxesModified() const;
    bool isModified(DropFilePair::File file) const
    {
        return file == DropFilePair::File::Boxes ? boxesModified() : monstersModified();
    }

    // The name tables and both drop files of a directory; a file that is missing or does not read
    // leaves its document as it was. Announces the load when it replaced anything.
    void loadDirectory(const QString &dir);
    // Another configuration folder, read as at start-up: a file that is missing or does not read
    // leaves its document empty and without a file.
    void openDirectory(const QString &dir);
    // Replaces one document with a file; nothing changes when it does not read.
    bool openMonsterFile(const QString &path, QString &error);
    bool openBoxFile(const QString &path, QString &error);

    // Where each document is written; an empty path leaves that document unwritten.
    struct SaveTargets
    {
        QString monsterPath;
        QString boxPath;
    };
    // The files the documents came from.
    SaveTargets currentTargets() const { return {monsterFilePath(), boxFilePath()}; }
    // Writes the documents named by targets, both or neither; the saved state follows what was
    // written.
    bool save(const SaveTargets &targets, const QDateTime &time,
              DropFilePair::SaveFailure &failure);

    // The one way to change the documents: change(monsters, boxes) runs a core edit, the
    // difference becomes one undo step named `name` and is announced. Steps with the same
    // non-empty merge key fold into one while they follow each other. Returns what change returns.
    template <class Change>
    auto edit(const QString &name, Change &&change, const QString &mergeKey = QString())
    {
        using Result = std::invoke_result_t<Change, MonsterDropData &, DropBoxContentData &>;
        beginEdit();
        if constexpr (std::is_void_v<Result>) {
            std::forward<Change>(change)(monsterData, boxData);
            finishEdit(name, mergeKey);
        } else {
            Result result = std::forward<Change>(change)(monsterData, boxData);
            finishEdit(name, mergeKey);
            return result;
        }
    }

    // Reads a drop file again from its path, as a load does: that document's unsaved changes go.
    bool reloadFromDisk(DropFilePair::File file, QString &error);
    // The targets that would replace a file of the documents whose bytes are no longer those the
    // document last read or wrote (another program changed it; the watcher may have missed it).
    QList<DropFilePair::File> changedOnDisk(const SaveTargets &targets) const;
    // The drop files and name tables watched for changes by other programs.
    QStringList watchedFiles() const;

    // A journal of unsaved steps that a session before left for the files loaded now (it ended
    // without closing: a crash, a power cut, a killed process).
    struct RecoveryOffer
    {
        QString journalPath;      // empty: none
        int steps = 0;            // the undo steps a restore brings back
        bool damaged = false;     // cut short: only the steps before the damage come back
        QStringList changedFiles; // files whose bytes changed since: it can only be discarded
    };
    RecoveryOffer recoveryOffer() const;
    struct RecoveryResult
    {
        int restored = 0;     // undo steps brought back
        bool damaged = false; // the journal was cut short after them
        bool stopped = false; // a step did not apply to the documents: the replay stopped there
    };
    // Replays the journal found as undo steps: the documents are modified, no file is written.
    // This session's journal goes on from it.
    RecoveryResult restoreRecovery();
    // The journal found goes.
    void discardRecovery();
    // This session's journal goes (closing without saving).
    void discardJournal();

    // The reverse lookup over the documents as they are now, rebuilt when first used after a
    // change.
    const ItemSourceIndex &itemSourceIndex();

Q_SIGNALS:
    // Before the documents change: drop every pointer into them.
    void documentsAboutToChange();
    void documentChanged(const DocumentUpdate &update);
    void modifiedChanged(bool modified);
    // The paths of the files changed (a load, an open, a save under another name).
    void filesChanged();
    // Another program changed a drop file whose document had no unsaved changes, or a name
    // table: it was read again.
    void reloadedFromDisk(const QString &path);
    // Another program changed a drop file whose document has unsaved changes; told once for the
    // same bytes.
    void fileChangedOnDisk(DropFilePair::File file);
    // The recovery journal could not be written: a crash now would lose the unsaved changes.
    void journalFailed(const QString &error);

private:
    void readDirectory(const QString &dir, bool replaceBoth);
    void beginEdit();
    void finishEdit(const QString &name, const QString &mergeKey);
    void replay(const DocumentChange &change, bool undo, const QString &name, quint64 serial);
    DocumentEditCommand *newCommand(const QString &name, DocumentChange change,
                                    const QString &mergeKey, quint64 serial);
    void announce(const DocumentUpdate &update);
    // The documents as now written or read become the saved state.
    void keepSaved(bool monsters, bool boxes);
    // After a load replaced one or both documents: saved state, history, the announcement.
    void finishLoad(bool monstersReplaced, bool boxesReplaced, bool namesReloaded);
    bool changedSinceSave(bool boxes) const;
    // The steps go after a load; a document that was not replaced keeps its unsaved mark.
    void clearHistory(bool monstersReplaced, bool boxesReplaced);
    void updateModified();
    void watchFiles();
    void onFilesTouched(const QStringList &paths);
    void checkDropFile(DropFilePair::File file);
    bool reloadNameTables(const QStringList &touched);

    // The recovery journal.
    RecoveryJournal::Key journalKey() const;
    quint64 serialAt(int index) const;
    QByteArray encode(const DocumentChange &change) const;
    bool ensureJournal();
    void appendToJournal(const RecoveryJournal::Record &record);
    void journalEdit(quint64 serial, quint64 below, const QString &name, const QString &mergeKey,
                     const QByteArray &change);
    void journalUndoRedo(const DocumentChange &change, bool undo, const QString &name,
                         quint64 serial);
    // A load or a save: the steps the journal held are saved or gone; a document that kept
    // unsaved changes starts the next journal as one step from its file.
    void restartJournal();
    void journalKeptChanges();
    void lookForJournal();
    bool replayRecord(const RecoveryJournal::Record &record);
    bool wouldMerge(const QString &mergeKey, const DocumentChange &change) const;

    MonsterDropData monsterData;
    DropBoxContentData boxData;
    MonsterDropData monsterBaseline;
    DropBoxContentData boxBaseline;
    DropFilePair files;
    QString configDir;
    QUndoStack *history = nullptr;
    std::optional<DocumentSnapshot> editBaseline;
    bool keptMonsterChanges = false;
    bool keptBoxChanges = false;
    bool modified = false;
    ItemSourceIndex sources;
    bool sourcesStale = true;

    DiskWatcher *diskWatcher = nullptr;
    QStringList nameTablePaths;
    // What the name tables held when read (size and a fast hash of the bytes).
    QList<std::pair<qint64, size_t>> nameStamps;
    // Changed bytes of a drop file the user was already told about.
    FileStamp reportedMonsterStamp;
    FileStamp reportedBoxStamp;

    enum class JournalState
    {
        Closed, // opens with the next step
        Open,
        Failed, // until the next load or save
    };
    std::unique_ptr<RecoveryJournal> journal;
    JournalState journalState = JournalState::Closed;
    std::optional<RecoveryJournal::Contents> foundJournal;
    QString foundJournalPath;
    quint64 nextSerial = 1;
    bool restoring = false;
};

Q_DECLARE_METATYPE(DocumentUpdate)
