#include "data/ItemLibrary.h"
#include "data/NameResolver.h"

#include <QtTest>

class ItemLibraryTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void build_data();
    void build();
};

using Table = QMap<int, QString>;
Q_DECLARE_METATYPE(Table)

void ItemLibraryTest::build_data()
{
    QTest::addColumn<Table>("common");
    QTest::addColumn<Table>("equipment");
    QTest::addColumn<Table>("gems");
    QTest::addColumn<QStringList>("entries");

    QTest::newRow("all three tables empty") << Table{} << Table{} << Table{} << QStringList{};
    QTest::newRow("categories in table order, ids ascending")
        << Table{{9, QStringLiteral("金创药")}, {2, QStringLiteral("回城卷轴")}}
        << Table{{40, QStringLiteral("青铜剑")}} << Table{{3, QStringLiteral("红宝石")}}
        << QStringList{"2|2|回城卷轴|物品", "9|9|金创药|物品", "40|40|青铜剑|装备",
                       "3|3|红宝石|宝石"};
    QTest::newRow("an id in two tables is listed once per table")
        << Table{{5001, QStringLiteral("药水")}} << Table{{5001, QStringLiteral("重剑")}} << Table{}
        << QStringList{"5001|5001|药水|物品", "5001|5001|重剑|装备"};
}

void ItemLibraryTest::build()
{
    QFETCH(Table, common);
    QFETCH(Table, equipment);
    QFETCH(Table, gems);
    QFETCH(QStringList, entries);

    NameResolver &resolver = NameResolver::instance();
    resolver.clear();
    resolver.commonItemNames = common;
    resolver.equipNames = equipment;
    resolver.gemNames = gems;
    // The resolver's tables and copies of them give the same list.
    for (const QList<ItemLibraryEntry> &built :
         {buildItemLibraryEntries(), buildItemLibraryEntries(common, equipment, gems)}) {
        QStringList texts;
        for (const ItemLibraryEntry &entry : built)
            texts << QStringLiteral("%1|%2|%3|%4")
                         .arg(QString::number(entry.id), entry.idText, entry.name, entry.category);
        QCOMPARE(texts, entries);
    }
}

QTEST_APPLESS_MAIN(ItemLibraryTest)
#include "tst_itemlibrary.moc"
