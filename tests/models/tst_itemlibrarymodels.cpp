#include "ModelTestSupport.h"
#include "models/ItemLibraryFilterProxyModel.h"
#include "models/ItemLibraryListModel.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QtTest>

using namespace ModelTestSupport;

namespace {

QList<ItemLibraryEntry> library()
{
    const auto entry = [](int id, const char *name, const char *category) {
        return ItemLibraryEntry{id, QString::number(id), QString::fromUtf8(name),
                                QString::fromUtf8(category)};
    };
    return {entry(12, "回城卷轴", "物品"),     entry(112, "Potion Ab", "物品"),
            entry(1203, "青铜剑", "装备"),     entry(77, "剑12号", "装备"),
            entry(500, "potion 12Ab", "宝石"), entry(9, "12ab", "宝石")};
}

} // namespace

class ItemLibraryModelsTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void listModel();
    void filter_data();
    void filter();
    void sameFilterRefiltersOnce();
};

void ItemLibraryModelsTest::listModel()
{
    Probe<ItemLibraryListModel> model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    QCOMPARE(model.rowCount(), 0);
    QCOMPARE(model.columnCount(), 3);
    QCOMPARE(dumpHeader(model), QStringLiteral("~|ID|名称|分类|~"));

    QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
    model.setEntries(library().mid(0, 2));
    QCOMPARE(resets.count(), 1);
    QCOMPARE(dumpModel(model), QStringLiteral("12|回城卷轴|物品\n112|Potion Ab|物品"));
    QCOMPARE(dumpModel(model, Qt::EditRole), dumpModel(model));
    QCOMPARE(model.data(model.index(1, 0), Qt::UserRole).userType(), int(QMetaType::Int));
    QCOMPARE(dumpModel(model, Qt::UserRole),
             QStringLiteral("12|回城卷轴|物品\n112|Potion Ab|物品"));
    QCOMPARE(model.data(model.index(0, 2), Qt::TextAlignmentRole).toInt(),
             int(Qt::AlignLeft | Qt::AlignVCenter));
    QVERIFY(!model.data(model.index(0, 1), Qt::ToolTipRole).isValid());
    QCOMPARE(model.index(0, 1).parent(), QModelIndex());
    QVERIFY(!model.data(model.raw(2, 0), Qt::DisplayRole).isValid());
    QVERIFY(!model.data(model.raw(0, 3), Qt::DisplayRole).isValid());
    QVERIFY(model.data(model.raw(0, 3), Qt::TextAlignmentRole).isValid());
    QVERIFY(!model.entryAt(2) && !model.entryAt(-1));
    QCOMPARE(model.entryAt(1)->id, 112);
    QVERIFY(!model.headerData(0, Qt::Vertical, Qt::DisplayRole).isValid());

    model.setEntries({});
    QCOMPARE(model.rowCount(), 0);
}

void ItemLibraryModelsTest::filter_data()
{
    QTest::addColumn<QString>("category");
    QTest::addColumn<QString>("search");
    QTest::addColumn<QList<int>>("ids");

    QTest::newRow("nothing") << QString() << QString() << QList<int>{12, 112, 1203, 77, 500, 9};
    QTest::newRow("all") << "全部" << QString() << QList<int>{12, 112, 1203, 77, 500, 9};
    QTest::newRow("equipment only") << "装备" << QString() << QList<int>{1203, 77};
    QTest::newRow("category is exact") << "装" << QString() << QList<int>{};
    QTest::newRow("digits match ids only") << QString() << "12" << QList<int>{12, 112, 1203};
    QTest::newRow("digits then a letter match names, any case")
        << QString() << "12A" << QList<int>{500, 9};
    QTest::newRow("blanks trimmed")
        << " 全部 " << QStringLiteral("  12  ") << QList<int>{12, 112, 1203};
    QTest::newRow("name in any case") << QString() << "POTION" << QList<int>{112, 500};
    QTest::newRow("name within a category")
        << "宝石" << QStringLiteral("potion") << QList<int>{500};
}

void ItemLibraryModelsTest::filter()
{
    QFETCH(QString, category);
    QFETCH(QString, search);
    QFETCH(QList<int>, ids);

    ItemLibraryListModel model;
    ItemLibraryFilterProxyModel proxy;
    proxy.setSourceModel(&model);
    QAbstractItemModelTester tester(&proxy, QAbstractItemModelTester::FailureReportingMode::Fatal);
    // Filtering before the entries arrive applies to them when they do.
    proxy.setFilter(category, search);
    model.setEntries(library());
    QList<int> shown;
    for (int row = 0; row < proxy.rowCount(); ++row)
        shown << proxy.index(row, 0).data(Qt::UserRole).toInt();
    QCOMPARE(shown, ids);
}

void ItemLibraryModelsTest::sameFilterRefiltersOnce()
{
    ItemLibraryListModel model;
    model.setEntries(library());
    ItemLibraryFilterProxyModel proxy;
    proxy.setSourceModel(&model);
    QCOMPARE(proxy.rowCount(), 6);
    QSignalSpy removed(&proxy, &QAbstractItemModel::rowsRemoved);
    QSignalSpy layouts(&proxy, &QAbstractItemModel::layoutChanged);
    proxy.setFilter(QStringLiteral("物品"), QStringLiteral("Ab"));
    QCOMPARE(proxy.rowCount(), 1);
    const qsizetype changes = removed.count() + layouts.count();
    QVERIFY(changes > 0);
    proxy.setFilter(QStringLiteral(" 物品"), QStringLiteral("Ab "));
    QCOMPARE(removed.count() + layouts.count(), changes);
}

QTEST_MAIN(ItemLibraryModelsTest)
#include "tst_itemlibrarymodels.moc"
