#pragma once

#include <QAbstractTableModel>
#include <QVector>

struct DropBoxContentData;
struct MonsterDropConfig;

// Every item a monster can drop, box by box, boxes set apart by shaded separator rows.
// Copies what it shows, so it holds no pointers into the documents.
class DropSummaryModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit DropSummaryModel(QObject *parent = nullptr);
    ~DropSummaryModel() override;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    void setMonster(const MonsterDropConfig *monster, const DropBoxContentData *boxData);

    void setDropMultiplier(double multiplier);
    double dropMultiplier() const { return m_dropMultiplier; }
    int monsterValue() const { return m_monsterValue; }

    static constexpr int RateColumn = 3;

    struct SummaryRow
    {
        int itemId = -1;
        int boxWeight = 0;
        int boxId = -1;
        bool separator = true;
    };

private:
    QVector<SummaryRow> m_rows;
    int m_monsterValue = 0;
    double m_dropMultiplier = 1.0;
};
