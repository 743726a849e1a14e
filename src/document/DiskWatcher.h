#pragma once

#include <QObject>
#include <QSet>
#include <QStringList>
#include <QTimer>

class QFileSystemWatcher;

// Tells which of a set of files something touched, once a burst of events has settled. A file
// replaced through a rename (the system watcher loses it then) or removed and written anew is
// watched again; its directory is watched for that. Whether the bytes really changed is for the
// caller to decide.
class DiskWatcher : public QObject
{
    Q_OBJECT

public:
    explicit DiskWatcher(QObject *parent = nullptr);

    // Replaces the watched files; missing ones are picked up when they appear.
    void setPaths(const QStringList &paths);
    const QStringList &paths() const { return wanted; }

Q_SIGNALS:
    void filesTouched(const QStringList &paths);

private:
    void onFileChanged(const QString &path);
    void onDirectoryChanged();
    void settle();
    // Watches every wanted file that exists and is not watched; returns those it added.
    QStringList watchMissing();

    QFileSystemWatcher *watcher = nullptr;
    QStringList wanted;
    QSet<QString> touched;
    QTimer settleTimer;
};
