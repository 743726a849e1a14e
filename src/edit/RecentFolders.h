#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// The configuration folders the user opened, newest first, at most ten, each folder once. Kept per
// user in QSettings "Lootwright"/"Lootwright" under key(), beside the favourites.
class RecentFolders
{
public:
    static constexpr int maximumCount = 10;
    static QString key(); // "recentFolders"

    RecentFolders() = default;
    // A stored list: empty entries and repeats go, the newest ten stay.
    explicit RecentFolders(const QStringList &folders);

    const QStringList &folders() const { return list; }
    // Puts the folder first; an older entry for the same folder goes, and the oldest beyond ten.
    void add(const QString &folder);
    void remove(const QString &folder);
    void clear() { list.clear(); }
    // The folder was chosen from the list: true when it is still a folder; a missing one is
    // dropped from the list.
    bool take(const QString &folder);

    // Two spellings of the same folder ("a/b/", "a/./b") are one entry.
    static QString normalized(const QString &folder);

    static RecentFolders load();
    // False when the settings could not be written.
    bool save() const;

private:
    QStringList list;
};

// Which folder the editor opens at start: the folder named on the command line; otherwise the
// "config" folder beside the executable; only when that does not exist, the newest recent folder
// that exists; otherwise none (an empty window).
struct StartFolder
{
    enum class Source
    {
        Argument,
        BesideExecutable,
        Recent,
        None,
    };
    Source source = Source::None;
    QString folder;

    // isFolder says whether a path names an existing folder.
    static StartFolder choose(const QString &argument, const QString &besideExecutable,
                              const QStringList &recent,
                              const std::function<bool(const QString &)> &isFolder);
};
