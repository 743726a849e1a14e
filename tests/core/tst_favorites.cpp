#include "TestSupport.h"
#include "edit/Favorites.h"

#include <QDir>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

class FavoritesTest : public QObject
{
    Q_OBJECT

    TestSupport::IsolatedSettings settings;

private Q_SLOTS:
    void initTestCase() { QVERIFY(settings.isValid()); }
    void init() { settings.clear(); }

    void parse_data();
    void parse();
    void add_data();
    void add();
    void operations_data();
    void operations();
    void survivesRestart();
    void unwritableStoreReportedOnce();
};

void FavoritesTest::parse_data()
{
    QTest::addColumn<QStringList>("stored");
    QTest::addColumn<QList<int>>("ids");
    QTest::addColumn<QStringList>("storedAgain");
    QTest::newRow("bad entries skipped, repeats kept")
        << QStringList{"12", "abc", "0", "-5", "12"} << QList<int>{12, 12}
        << QStringList{"12", "12"};
    QTest::newRow("no key") << QStringList{} << QList<int>{} << QStringList{};
    QTest::newRow("beyond 32 bits, empty text, fraction")
        << QStringList{"2147483648", "", "3.5", "2147483647"} << QList<int>{2147483647}
        << QStringList{"2147483647"};
}

void FavoritesTest::parse()
{
    QFETCH(QStringList, stored);
    const QList<int> ids = Favorites::parse(stored);
    QTEST(ids, "ids");
    QTEST(Favorites::toStored(ids), "storedAgain");
}

void FavoritesTest::add_data()
{
    QTest::addColumn<QList<int>>("ids");
    QTest::addColumn<QList<int>>("newIds");
    QTest::addColumn<QList<int>>("after");
    QTest::addColumn<int>("added");
    QTest::newRow("only the new one")
        << QList<int>{12} << QList<int>{12, 40} << QList<int>{12, 40} << 1;
    QTest::newRow("repeats and ids below 1")
        << QList<int>{} << QList<int>{0, -3, 40, 40, 7} << QList<int>{40, 7} << 2;
    QTest::newRow("all present") << QList<int>{5, 9} << QList<int>{9, 5} << QList<int>{5, 9} << 0;
}

void FavoritesTest::add()
{
    QFETCH(QList<int>, ids);
    QFETCH(QList<int>, newIds);
    QTEST(Favorites::add(ids, newIds), "added");
    QTEST(ids, "after");
}

void FavoritesTest::operations_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QList<int>>("ids");
    QTest::addColumn<QList<int>>("rows");
    QTest::addColumn<QList<int>>("after");
    QTest::addColumn<QList<int>>("selectedAfter");
    const QList<int> five{10, 11, 12, 13, 14};
    QTest::newRow("up: row 0 stays, row 1 passes it")
        << "up" << five << QList<int>{0, 1} << QList<int>{11, 10, 12, 13, 14} << QList<int>{0, 1};
    QTest::newRow("down: the last row stays")
        << "down" << five << QList<int>{4} << five << QList<int>{4};
    QTest::newRow("down: rows 0 and 2, the lower first")
        << "down" << five << QList<int>{2, 0} << QList<int>{11, 10, 13, 12, 14} << QList<int>{1, 3};
    QTest::newRow("up: adjacent rows move as a block")
        << "up" << five << QList<int>{3, 2} << QList<int>{10, 12, 13, 11, 14} << QList<int>{1, 2};
    QTest::newRow("top: rows 1 and 3")
        << "top" << five << QList<int>{3, 1} << QList<int>{11, 13, 10, 12, 14} << QList<int>{0, 1};
    QTest::newRow("bottom: rows 1 and 3") << "bottom" << five << QList<int>{1, 3}
                                          << QList<int>{10, 12, 14, 11, 13} << QList<int>{3, 4};
    QTest::newRow("remove rows 1 and 3")
        << "remove" << five << QList<int>{3, 1} << QList<int>{10, 12, 14} << QList<int>{};
    QTest::newRow("rows outside the list and repeats ignored")
        << "top" << five << QList<int>{7, -1, 2, 2} << QList<int>{12, 10, 11, 13, 14}
        << QList<int>{0};
    QTest::newRow("no selection") << "up" << five << QList<int>{} << five << QList<int>{};
    QTest::newRow("repeated ids move by row") << "down" << QList<int>{12, 12, 40} << QList<int>{1}
                                              << QList<int>{12, 40, 12} << QList<int>{2};
}

void FavoritesTest::operations()
{
    QFETCH(QString, operation);
    QFETCH(QList<int>, ids);
    QFETCH(QList<int>, rows);
    QList<int> selected;
    if (operation == QLatin1String("up"))
        selected = Favorites::moveBy(ids, rows, -1);
    else if (operation == QLatin1String("down"))
        selected = Favorites::moveBy(ids, rows, +1);
    else if (operation == QLatin1String("top"))
        selected = Favorites::moveToTop(ids, rows);
    else if (operation == QLatin1String("bottom"))
        selected = Favorites::moveToBottom(ids, rows);
    else
        Favorites::removeRows(ids, rows);
    QTEST(ids, "after");
    QTEST(selected, "selectedAfter");
}

// What one store writes, a store made later reads: the list outlives the window that wrote it.
void FavoritesTest::survivesRestart()
{
    QVERIFY(!QSettings(QStringLiteral("Lootwright"), QStringLiteral("Lootwright"))
                 .contains(FavoritesStore::key()));
    QVERIFY(FavoritesStore().load().isEmpty());
    {
        FavoritesStore store;
        QVERIFY(store.write({40, 12, 0, 40}).isNone());
    }
    QCOMPARE(FavoritesStore().load(), (QList<int>{40, 12, 40}));
    QVERIFY(TestSupport::readBytes(settings.fileName()).contains("40, 12, 40"));
}

void FavoritesTest::unwritableStoreReportedOnce()
{
    // A directory where the settings file should be: nothing can be written there.
    const QString file = settings.fileName();
    QFile::remove(file);
    QVERIFY(QDir().mkpath(file));
    FavoritesStore store;
    const EditNotice first = store.write({12});
    QCOMPARE(first.kind, NoticeKind::Information);
    QCOMPARE(first.title, QStringLiteral("提示"));
    QCOMPARE(first.text,
             QStringLiteral("收藏夹未能保存，更改只在本次运行中有效。\n原因：设置文件 %1 无法写入")
                 .arg(file));
    QVERIFY(store.write({12, 40}).isNone());

    // Once it can be written again, a later failure is told again.
    QVERIFY(QDir(file).removeRecursively());
    QVERIFY(store.write({12}).isNone());
    QCOMPARE(FavoritesStore().load(), QList<int>{12});
    QVERIFY(QFile::remove(file));
    QVERIFY(QDir().mkpath(file));
    QCOMPARE(store.write({13}).kind, NoticeKind::Information);
    QVERIFY(QDir(file).removeRecursively());
}

QTEST_APPLESS_MAIN(FavoritesTest)
#include "tst_favorites.moc"
