#include "data/NameResolver.h"
#include "edit/LogLabels.h"

#include <QtTest>

class LogLabelsTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void monsterLabel_data();
    void monsterLabel();
    void formatIdList_data();
    void formatIdList();
    void logLineKeepsPlaceholders();
};

void LogLabelsTest::monsterLabel_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("expected");
    QTest::newRow("named") << QStringLiteral("赤焰狼王") << "怪物[1001:赤焰狼王]";
    QTest::newRow("padded name") << QStringLiteral("  石像鬼 ") << "怪物[1001:石像鬼]";
    QTest::newRow("blank name") << QStringLiteral("   ") << "怪物[1001]";
    QTest::newRow("unknown") << QString() << "怪物[1001]";
    QTest::newRow("name with %1") << QStringLiteral("a%1b") << "怪物[1001:a%1b]";
}

void LogLabelsTest::monsterLabel()
{
    QFETCH(QString, name);
    QFETCH(QString, expected);
    NameResolver::instance().clear();
    if (!name.isNull())
        NameResolver::instance().monsterNames.insert(1001, name);
    QCOMPARE(LogLabels::monsterLabel(1001), expected);
    QCOMPARE(LogLabels::boxLabel(-1), QStringLiteral("包裹[-1]"));
}

void LogLabelsTest::formatIdList_data()
{
    QTest::addColumn<QList<int>>("ids");
    QTest::addColumn<int>("limit");
    QTest::addColumn<QString>("expected");
    QTest::newRow("empty") << QList<int>{} << 8 << "";
    QTest::newRow("eight of eight")
        << QList<int>{1, 2, 3, 4, 5, 6, 7, 8} << 8 << "1, 2, 3, 4, 5, 6, 7, 8";
    QTest::newRow("nine of eight")
        << QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9} << 8 << "1, 2, 3, 4, 5, 6, 7, 8, ...（共9个）";
    QTest::newRow("negative ids") << QList<int>{-1, 0} << 8 << "-1, 0";
}

void LogLabelsTest::formatIdList()
{
    QFETCH(QList<int>, ids);
    QFETCH(int, limit);
    QFETCH(QString, expected);
    QCOMPARE(LogLabels::formatIdList(ids, limit), expected);
}

void LogLabelsTest::logLineKeepsPlaceholders()
{
    const QDateTime time(QDate(2026, 12, 6), QTime(9, 5, 7));
    QCOMPARE(LogLabels::logLine(time, QStringLiteral("  value %1 → %2 ")),
             QStringLiteral("[2026-12-06 09:05:07]   value %1 → %2 "));
}

QTEST_APPLESS_MAIN(LogLabelsTest)
#include "tst_loglabels.moc"
