#include "TestSupport.h"
#include "edit/RecentFolders.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

using Source = StartFolder::Source;
Q_DECLARE_METATYPE(StartFolder::Source)

namespace {

QStringList numbered(int from, int to)
{
    QStringList folders;
    for (int i = from; i <= to; ++i)
        folders << QStringLiteral("/srv/%1").arg(i);
    return folders;
}

} // namespace

class TestRecentFolders : public QObject
{
    Q_OBJECT

    TestSupport::IsolatedSettings settings;

private Q_SLOTS:
    void initTestCase() { QVERIFY(settings.isValid()); }

    void add_data()
    {
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QString>("added");
        QTest::addColumn<QStringList>("after");
        QTest::newRow("newest first")
            << QStringList{"/live", "/test"} << "/new" << QStringList{"/new", "/live", "/test"};
        QTest::newRow("an entry for the same folder moves to the front")
            << QStringList{"/live", "/test", "/old"} << "/test/"
            << QStringList{"/test", "/live", "/old"};
        QTest::newRow("another spelling is the same folder")
            << QStringList{"/srv/live"} << "/srv/./x/../live" << QStringList{"/srv/live"};
        QTest::newRow("the oldest beyond ten go") << numbered(1, 10) << "/srv/0" << numbered(0, 9);
    }

    void add()
    {
        QFETCH(QStringList, before);
        QFETCH(QString, added);
        RecentFolders recent(before);
        recent.add(added);
        QTEST(recent.folders(), "after");
    }

    // The stored list as read back: blanks and repeats go, the newest ten stay.
    void storedList()
    {
        RecentFolders read(QStringList{"/a", "", "/b", "/a/"} + numbered(1, 10));
        QCOMPARE(read.folders(), (QStringList{"/a", "/b"} + numbered(1, 8)));
        QVERIFY(read.save());
        QCOMPARE(RecentFolders::load().folders(), read.folders());
    }

    void missingFolderDroppedWhenChosen()
    {
        QTemporaryDir dir;
        const QString there = dir.filePath("there");
        const QString gone = dir.filePath("gone");
        QVERIFY(QDir().mkpath(there) && QDir().mkpath(gone));
        RecentFolders recent(QStringList{gone, there});
        QVERIFY(QDir(gone).removeRecursively());
        QVERIFY(recent.take(there));
        QVERIFY(!recent.take(gone));
        QCOMPARE(recent.folders(), QStringList{there});
    }

    void startFolder_data()
    {
        QTest::addColumn<QString>("argument");
        QTest::addColumn<QStringList>("existing");
        QTest::addColumn<QStringList>("recent");
        QTest::addColumn<Source>("source");
        QTest::addColumn<QString>("folder");
        const QString config = QStringLiteral("/opt/lw/config");
        QTest::newRow("the argument first, even one that does not exist")
            << "/srv/live/" << QStringList{config, "/srv/test"} << QStringList{"/srv/test"}
            << Source::Argument << "/srv/live";
        QTest::newRow("config beside the executable before the recent folders")
            << "" << QStringList{config, "/srv/test"} << QStringList{"/srv/test"}
            << Source::BesideExecutable << config;
        QTest::newRow("without config, the newest recent folder that exists")
            << "" << QStringList{"/srv/test", "/srv/live"}
            << QStringList{"/srv/gone", "/srv/live", "/srv/test"} << Source::Recent << "/srv/live";
        QTest::newRow("nothing to open")
            << "" << QStringList{} << QStringList{"/srv/gone"} << Source::None << "";
    }

    void startFolder()
    {
        QFETCH(QString, argument);
        QFETCH(QStringList, existing);
        QFETCH(QStringList, recent);
        const StartFolder start =
            StartFolder::choose(argument, QStringLiteral("/opt/lw/config"), recent,
                                [&](const QString &path) { return existing.contains(path); });
        QTEST(start.source, "source");
        QTEST(start.folder, "folder");
    }
};

QTEST_GUILESS_MAIN(TestRecentFolders)
#include "tst_recentfolders.moc"
