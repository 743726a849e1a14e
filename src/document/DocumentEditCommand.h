#pragma once

#include "edit/DocumentChange.h"

#include <QString>
#include <QUndoCommand>
#include <functional>

// One edit of the documents on the undo stack. The edit is already applied when the command
// is pushed, so the push's redo does nothing; later undo and redo hand the change to `replay`.
class DocumentEditCommand : public QUndoCommand
{
public:
    // undo: true to revert the change, false to apply it again.
    using Replay = std::function<void(const DocumentChange &change, bool undo, const QString &name,
                                      quint64 serial)>;

    // Commands with the same non-empty merge key fold into one step while they follow each
    // other (typing into one field of one box).
    // serial: the step's number in its session, which the recovery journal names it by.
    DocumentEditCommand(const QString &name, DocumentChange change, Replay replay,
                        const QString &mergeKey, quint64 serial);

    void undo() override;
    void redo() override;
    int id() const override;
    bool mergeWith(const QUndoCommand *other) override;

    const DocumentChange &documentChange() const { return change; }
    const QString &mergeKeyText() const { return mergeKey; }
    quint64 serial() const { return number; }

private:
    DocumentChange change;
    Replay replay;
    QString mergeKey;
    quint64 number = 0;
    bool pushed = false;
};
