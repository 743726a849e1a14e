#pragma once

#include <QAbstractTableModel>

struct DropBoxConfig;

// The item slots of the current box, with the box rate and the item names.
// The item id column is editable and writes straight into the box.
class DropItemTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit DropItemTableModel(QObject *parent = nullptr);
    ~DropItemTableModel() override;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

    void setBox(DropBoxConfig *box);
    DropBoxConfig *box() const { return m_box; }
    void setMonsterValue(int value);
    int monsterValue() const { return m_monsterValue; }

    void setDropMultiplier(double multiplier);
    double dropMultiplier() const { return m_dropMultiplier; }

Q_SIGNALS:
    // After setData wrote an item id into the box (the slot held previousItemId before).
    void itemIdEdited(int row, int previousItemId);

public:
    static constexpr int RateColumn = 0;
    static constexpr int ItemIdColumn = 1;

private:
    DropBoxConfig *m_box = nullptr;
    int m_monsterValue = 0;
    double m_dropMultiplier = 1.0;
};
