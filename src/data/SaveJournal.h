#pragma once

#include "data/FileStamp.h"

#include <QList>
#include <QString>

// Makes a save of several files one step. Every new file is first written beside its target,
// synced and checked (CheckedFile); then a journal naming each target, its new file and the
// new file's size and hash is written beside the targets (itself through a checked file, so it is
// whole or absent). From that moment the save counts as done: the new files replace the targets
// and the journal goes. A load that finds a journal completes it when every new file is still
// there with the bytes it names (or already replaced its target); otherwise nothing was replaced
// yet and the load discards it. Without a journal, new files left beside a target are debris of
// a save that never reached that point and are removed. So a save cut short at any moment leaves
// the old files or the new ones, as the next load sees them.
namespace SaveJournal {

struct Entry
{
    QString target;
    QString temporary; // the new bytes
    QString kept;      // a second name for the old target while the save runs, if any
    FileStamp stamp;   // of the new bytes
};

// "<directory>/.lootwright-save.journal"
QString journalPath(const QString &directory);

// Writes the journal into the directory of every target, the first target's first. False with
// a message naming the journal and the reason; no journal is then left.
bool write(const QList<Entry> &entries, QString &error);
// Removes the journals, the first target's last.
void remove(const QList<Entry> &entries);

// Settles what a save cut short left beside filePath: completes or discards its journal, or
// removes new files of filePath left without one. note says what was done (empty when nothing
// was). False with error when a journal must be completed and cannot be.
bool recover(const QString &filePath, QString &note, QString &error);

} // namespace SaveJournal
