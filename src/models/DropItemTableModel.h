#pragma once

#include <QAbstractTableModel>

struct DropBoxConfig;

// The item slots of the current box, with the box rate and the item names.
// The item id column is editable: an edit is asked of the document, never written here.
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

    void setBox(const DropBoxConfig *box);
    const DropBoxConfig *box() const { return m_box; }
    void setMonsterValue(int value);
    int monsterValue() const { return m_monsterValue; }

    void setDropMultiplier(double multiplier);
    double dropMultiplier() const { return m_dropMultiplier; }

Q_SIGNALS:
    // The user typed an item id into a slot of the box.
    void itemIdEditRequested(int boxId, int row, int itemId);

public:
    static constexpr int RateColumn = 0;
    static constexpr int ItemIdColumn = 1;

private:
    const DropBoxConfig *m_box = nullptr;
    int m_monsterValue = 0;
    double m_dropMultiplier = 1.0;
};
