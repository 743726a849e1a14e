#include "document/DocumentEditCommand.h"

#include <utility>

DocumentEditCommand::DocumentEditCommand(const QString &name, DocumentChange change, Replay replay,
                                         const QString &mergeKey, quint64 serial)
    : QUndoCommand(name), change(std::move(change)), replay(std::move(replay)), mergeKey(mergeKey),
      number(serial)
{
}

void DocumentEditCommand::undo()
{
    replay(change, true, text(), number);
}

void DocumentEditCommand::redo()
{
    // QUndoStack::push runs redo once: the edit is in the documents already.
    if (!pushed) {
        pushed = true;
        return;
    }
    replay(change, false, text(), number);
}

int DocumentEditCommand::id() const
{
    return mergeKey.isEmpty() ? -1 : 1;
}

bool DocumentEditCommand::mergeWith(const QUndoCommand *other)
{
    const auto *next = dynamic_cast<const DocumentEditCommand *>(other);
    if (!next || next->mergeKey != mergeKey || !change.absorb(next->change))
        return false;
    // Typed back to what it was: the step goes.
    setObsolete(change.isEmpty());
    return true;
}
