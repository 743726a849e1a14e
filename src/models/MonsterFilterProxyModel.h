#pragma once

#include <QSortFilterProxyModel>
#include <QString>
#include <string>

class MonsterListModel;
struct MonsterDropConfig;

// Filters the monster list by a search text (id digits or name) and by having drops.
class MonsterFilterProxyModel : public QSortFilterProxyModel
{
    Q_OBJECT

public:
    explicit MonsterFilterProxyModel(QObject *parent = nullptr);
    ~MonsterFilterProxyModel() override;

    void setFilterText(const QString &text);
    void setOnlyWithDrops(bool on);

    QString filterText() const { return m_filterText; }
    bool onlyWithDrops() const { return m_onlyWithDrops; }

    const MonsterDropConfig *configAtProxyRow(int row) const;
    int idAtProxyRow(int row) const;

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const override;

private:
    MonsterListModel *monsterSource() const;
    void refilter();

    QString m_filterText;
    std::string m_digitText; // the filter text when it is all digits, else empty
    bool m_onlyWithDrops = false;
    // The source as a monster list, resolved once per source model instead of once per row.
    mutable const QAbstractItemModel *m_castFrom = nullptr;
    mutable MonsterListModel *m_castSource = nullptr;
};
