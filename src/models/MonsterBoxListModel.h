#pragma once

#include <QAbstractTableModel>
#include <QVector>

struct DropBoxConfig;
struct DropBoxContentData;
struct MonsterDropConfig;

// The boxes of one monster, one row per used slot, with weight, rate and item count.
// Holds pointers into the box document; setMonster must run again after the document's
// box list changes in size or is replaced.
class MonsterBoxListModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit MonsterBoxListModel(QObject *parent = nullptr);
    ~MonsterBoxListModel() override;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    void setMonster(const MonsterDropConfig *monster, const DropBoxContentData *boxData);
    const DropBoxConfig *boxAt(int row) const;

    void setDropMultiplier(double multiplier);
    double dropMultiplier() const { return m_dropMultiplier; }
    int monsterValue() const { return m_monsterValue; }

    static constexpr int RateColumn = 2;

private:
    QVector<const DropBoxConfig *> m_boxes;
    int m_monsterValue = 0;
    double m_dropMultiplier = 1.0;
};
