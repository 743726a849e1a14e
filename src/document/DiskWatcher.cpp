#include "document/DiskWatcher.h"

#include <QFileInfo>
#include <QFileSystemWatcher>
#include <utility>

DiskWatcher::DiskWatcher(QObject *parent) : QObject(parent)
{
    // Editors and version control write a file in several steps: one look after the last.
    settleTimer.setSingleShot(true);
    settleTimer.setInterval(200);
    connect(&settleTimer, &QTimer::timeout, this, &DiskWatcher::settle);
}

void DiskWatcher::setPaths(const QStringList &paths)
{
    QStringList sorted = paths;
    sorted.removeAll(QString());
    sorted.removeDuplicates();
    if (sorted == wanted)
        return;
    wanted = sorted;
    touched.clear();
    settleTimer.stop();
    delete watcher;
    watcher = nullptr;
    if (wanted.isEmpty())
        return;
    watcher = new QFileSystemWatcher(this);
    connect(watcher, &QFileSystemWatcher::fileChanged, this, &DiskWatcher::onFileChanged);
    connect(watcher, &QFileSystemWatcher::directoryChanged, this, &DiskWatcher::onDirectoryChanged);
    QStringList directories;
    for (const QString &path : std::as_const(wanted))
        directories << QFileInfo(path).absolutePath();
    directories.removeDuplicates();
    watcher->addPaths(directories);
    watchMissing();
}

void DiskWatcher::onFileChanged(const QString &path)
{
    touched.insert(path);
    settleTimer.start();
}

void DiskWatcher::onDirectoryChanged()
{
    // Only a wanted file that is not watched matters: our own temporary files and backups
    // come and go in the same directory.
    const QStringList watched = watcher->files();
    for (const QString &path : std::as_const(wanted)) {
        if (!watched.contains(path)) {
            settleTimer.start();
            return;
        }
    }
}

void DiskWatcher::settle()
{
    for (const QString &path : watchMissing())
        touched.insert(path);
    if (touched.isEmpty())
        return;
    QStringList paths;
    for (const QString &path : std::as_const(wanted)) {
        if (touched.contains(path))
            paths << path;
    }
    touched.clear();
    Q_EMIT filesTouched(paths);
}

QStringList DiskWatcher::watchMissing()
{
    QStringList added;
    const QStringList watched = watcher->files();
    for (const QString &path : std::as_const(wanted)) {
        if (!watched.contains(path) && QFileInfo::exists(path) && watcher->addPath(path))
            added << path;
    }
    return added;
}
