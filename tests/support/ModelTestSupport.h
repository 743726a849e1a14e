#pragma once

#include "EditFixtures.h"

#include <QAbstractItemModel>
#include <QAbstractItemModelTester>
#include <QColor>
#include <QSignalSpy>
#include <QStringList>
#include <QTest>
#include <QVariant>

#include <limits>

// Shared helpers of the model tests: compact fixtures, a text dump of a model, and the checks
// every model of the editor passes.
namespace ModelTestSupport {

// One cell as text: "~" for an invalid value, a colour as its rgb triple, anything else as text.
inline QString cellText(const QVariant &value)
{
    if (!value.isValid())
        return QStringLiteral("~");
    if (value.userType() == QMetaType::QColor) {
        const QColor color = value.value<QColor>();
        return QStringLiteral("rgb(%1,%2,%3)")
            .arg(color.red())
            .arg(color.green())
            .arg(color.blue());
    }
    return value.toString();
}

// The whole model for one role: cells joined by "|", rows by "\n".
inline QString dumpModel(const QAbstractItemModel &model, int role = Qt::DisplayRole)
{
    QStringList lines;
    for (int row = 0; row < model.rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < model.columnCount(); ++column)
            cells << cellText(model.data(model.index(row, column), role));
        lines << cells.join(QLatin1Char('|'));
    }
    return lines.join(QLatin1Char('\n'));
}

inline QString dumpHeader(const QAbstractItemModel &model, int extraSections = 1)
{
    QStringList cells;
    for (int section = -1; section < model.columnCount() + extraSections; ++section)
        cells << cellText(model.headerData(section, Qt::Horizontal, Qt::DisplayRole));
    return cells.join(QLatin1Char('|'));
}

// A box with the given item ids in its first slots and empty slots up to 100.
inline DropBoxConfig makeBox(int boxId, int weight, const QList<int> &itemIds, bool pad = true)
{
    const DropBoxConfig box = EditFixtures::box(boxId, weight, itemIds);
    return pad ? EditFixtures::padded(box) : box;
}

// A monster with the given box ids in its first slots and -1 up to 20.
inline MonsterDropConfig makeMonster(int monsterId, int monsterValue, const QList<int> &boxIds)
{
    return EditFixtures::padded(EditFixtures::monster(monsterId, monsterValue, boxIds));
}

// A model that can build indexes a view may still hold, including nonsense ones.
template <typename Model> class Probe : public Model
{
public:
    using Model::Model;
    QModelIndex raw(int row, int column) const { return this->createIndex(row, column); }
};

// Indexes outside the current rows, negative ones and one kept from before a reset read as
// nothing and (for the models that can edit or mark rows) have no flags.
template <typename Model>
void checkOutsideIndexes(const Probe<Model> &model, const QModelIndex &stale, bool noFlags = true)
{
    const QModelIndex outside[] = {stale, model.raw(-1, 0), model.raw(0, -1),
                                   model.raw(model.rowCount(), 0), QModelIndex()};
    for (const QModelIndex &index : outside) {
        QCOMPARE(model.data(index, Qt::DisplayRole), QVariant());
        QCOMPARE(model.data(index, Qt::EditRole), QVariant());
        if (noFlags)
            QCOMPARE(model.flags(index), Qt::ItemFlags());
    }
    QCOMPARE(model.data(model.raw(0, model.columnCount()), Qt::DisplayRole), QVariant());
}

// The rate models on a filled model: an unchanged or non-finite multiplier announces nothing;
// a new one one dataChanged over the rate column of every row, with no roles and no reset.
template <typename Model> void checkMultiplier(Model &model, int rateColumn)
{
    QVERIFY(model.rowCount() > 0);
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
    const double start = model.dropMultiplier();
    model.setDropMultiplier(start);
    for (double bad :
         {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
          -std::numeric_limits<double>::infinity()})
        model.setDropMultiplier(bad);
    QCOMPARE(changed.count(), 0);
    QCOMPARE(model.dropMultiplier(), start);
    model.setDropMultiplier(start * 2);
    QCOMPARE(model.dropMultiplier(), start * 2);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.at(0).at(0).value<QModelIndex>(), model.index(0, rateColumn));
    QCOMPARE(changed.at(0).at(1).value<QModelIndex>(),
             model.index(model.rowCount() - 1, rateColumn));
    QCOMPARE(changed.at(0).at(2).value<QList<int>>(), QList<int>());
    QCOMPARE(reset.count(), 0);
}

// The models of one monster's boxes: a null monster or document empties them and forgets the
// monster value.
template <typename Model>
void checkNullArguments(Model &model, MonsterDropConfig monster, DropBoxContentData document)
{
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    model.setMonster(&monster, &document);
    QVERIFY(model.rowCount() > 0);
    model.setMonster(nullptr, &document);
    QCOMPARE(model.rowCount(), 0);
    QCOMPARE(model.monsterValue(), 0);
    model.setMonster(&monster, &document);
    model.setMonster(&monster, nullptr);
    QCOMPARE(model.rowCount(), 0);
    QCOMPARE(model.monsterValue(), 0);
    model.setMonster(nullptr, nullptr);
    QCOMPARE(model.rowCount(), 0);
}

} // namespace ModelTestSupport
