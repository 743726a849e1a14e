#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QString>

struct MonsterDropConfig;
struct MonsterDropData;

// All monsters of the name table, ascending by id; rows without drops are greyed out.
// Hands out pointers into the monster document; setDropConfig must run again whenever
// the document's records change in size or are replaced.
class MonsterListModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit MonsterListModel(QObject *parent = nullptr);
    ~MonsterListModel() override;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

    // Refills the rows from the name resolver's monster table.
    void loadMonsters();
    // The monster document to look records up in (may be null); rebuilds the id index.
    void setDropConfig(const MonsterDropData *dropConfig);

    int idAt(int row) const;
    const MonsterDropConfig *configAt(int row) const;
    const MonsterDropConfig *configFor(int monsterId) const;
    bool hasDrops(int row) const;
    // How many records the document holds for this id; configFor gives the first of them.
    int recordCountFor(int monsterId) const;

    // The name the row had when the list was loaded; empty for an out-of-range row.
    // Lets the filter test names without a resolver lookup per row.
    const QString &nameAt(int row) const;

private:
    void rebuildIndex();
    const MonsterDropConfig *recordAt(int row) const;

    QList<int> m_ids;
    QList<QString> m_names;       // per row, taken from the resolver in loadMonsters
    QList<int> m_recordPositions; // per row, the indexed record position or -1
    const MonsterDropData *m_dropConfig = nullptr;
    // monsterId -> position in records, ascending by id and searched by bisection: the same
    // logarithmic lookup as a map, built without an allocation per record.
    struct IndexEntry
    {
        int monsterId;
        int position;    // of the first record of the id
        int recordCount; // records of the id
    };
    QList<IndexEntry> m_index;
    const IndexEntry *indexEntryFor(int monsterId) const;
};
