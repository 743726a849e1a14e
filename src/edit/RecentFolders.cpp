#include "edit/RecentFolders.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace {

bool sameFolder(const QString &a, const QString &b)
{
#ifdef Q_OS_WIN
    return a.compare(b, Qt::CaseInsensitive) == 0;
#else
    return a == b;
#endif
}

} // namespace

QString RecentFolders::key()
{
    return QStringLiteral("recentFolders");
}

RecentFolders::RecentFolders(const QStringList &folders)
{
    // Oldest first, so the newest end up in front.
    for (auto it = folders.crbegin(); it != folders.crend(); ++it) {
        if (!it->isEmpty())
            add(*it);
    }
}

QString RecentFolders::normalized(const QString &folder)
{
    return QDir::cleanPath(QDir(folder).absolutePath());
}

void RecentFolders::add(const QString &folder)
{
    const QString path = normalized(folder);
    remove(path);
    list.prepend(path);
    while (list.size() > maximumCount)
        list.removeLast();
}

void RecentFolders::remove(const QString &folder)
{
    const QString path = normalized(folder);
    list.removeIf([&](const QString &entry) { return sameFolder(entry, path); });
}

bool RecentFolders::take(const QString &folder)
{
    if (QFileInfo(folder).isDir())
        return true;
    remove(folder);
    return false;
}

RecentFolders RecentFolders::load()
{
    return RecentFolders(QSettings(QStringLiteral("Lootwright"), QStringLiteral("Lootwright"))
                             .value(key())
                             .toStringList());
}

bool RecentFolders::save() const
{
    QSettings settings(QStringLiteral("Lootwright"), QStringLiteral("Lootwright"));
    settings.setValue(key(), list);
    settings.sync();
    return settings.status() == QSettings::NoError;
}

StartFolder StartFolder::choose(const QString &argument, const QString &besideExecutable,
                                const QStringList &recent,
                                const std::function<bool(const QString &)> &isFolder)
{
    if (!argument.isEmpty())
        return {Source::Argument, RecentFolders::normalized(argument)};
    if (isFolder(besideExecutable))
        return {Source::BesideExecutable, besideExecutable};
    for (const QString &folder : recent) {
        if (isFolder(folder))
            return {Source::Recent, folder};
    }
    return {};
}
