#include "dialogs/ItemSourcesDialog.h"

#include "data/NameResolver.h"
#include "dialogs/DocumentFollower.h"
#include "dialogs/DropChanceChartView.h"
#include "models/ItemSourceTableModel.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSet>
#include <QSortFilterProxyModel>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>
#include <climits>

ItemSourcesDialog::ItemSourcesDialog(ConfigDocument *document, std::function<double()> multiplier,
                                     QWidget *parent)
    : QDialog(parent), document(document), multiplier(std::move(multiplier))
{
    setObjectName(QStringLiteral("itemSourcesDialog"));
    setWindowFlag(Qt::Window);
    resize(1280, 760);

    auto *layout = new QVBoxLayout(this);
    auto *queryLayout = new QHBoxLayout;
    itemIdEdit = new QLineEdit(this);
    itemIdEdit->setObjectName(QStringLiteral("itemIdEdit"));
    itemIdEdit->setPlaceholderText(QCoreApplication::translate("Lootwright", "物品ID"));
    itemIdEdit->setValidator(new QIntValidator(1, INT_MAX, itemIdEdit));
    lookupButton = new QPushButton(QCoreApplication::translate("Lootwright", "查询"), this);
    lookupButton->setObjectName(QStringLiteral("lookupButton"));
    summaryLabel = new QLabel(this);
    summaryLabel->setObjectName(QStringLiteral("summaryLabel"));
    queryLayout->addWidget(itemIdEdit);
    queryLayout->addWidget(lookupButton);
    queryLayout->addWidget(summaryLabel, 1);
    layout->addLayout(queryLayout);

    sourceModel = new ItemSourceTableModel(this);
    sortModel = new QSortFilterProxyModel(this);
    sortModel->setSourceModel(sourceModel);
    sortModel->setSortRole(ItemSourceTableModel::SortRole);
    sourcesView = new QTableView(this);
    sourcesView->setObjectName(QStringLiteral("sourcesView"));
    sourcesView->setModel(sortModel);
    sourcesView->setSortingEnabled(true);
    sourcesView->sortByColumn(ItemSourceTable::RateColumn, Qt::DescendingOrder);
    sourcesView->setSelectionBehavior(QAbstractItemView::SelectRows);
    sourcesView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    sourcesView->setAlternatingRowColors(true);
    sourcesView->verticalHeader()->hide();
    sourcesView->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    chanceChart = new DropChanceChartView(this);
    auto *splitter = new QSplitter(Qt::Vertical, this);
    splitter->addWidget(sourcesView);
    splitter->addWidget(chanceChart);
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 1);
    chanceChart->setMinimumHeight(320);
    layout->addWidget(splitter);

    connect(lookupButton, &QPushButton::clicked, this, &ItemSourcesDialog::onLookup);
    connect(itemIdEdit, &QLineEdit::returnPressed, this, &ItemSourcesDialog::onLookup);
    connect(sourcesView, &QAbstractItemView::doubleClicked, this, &ItemSourcesDialog::onActivated);
    followDocument(this, document, [this] {
        if (shownItemId >= 1)
            showItem(shownItemId);
    });
}

void ItemSourcesDialog::showItem(int itemId)
{
    showSources(itemId, NameResolver::instance().itemName(itemId),
                document->itemSourceIndex().sources(itemId), multiplier());
}

void ItemSourcesDialog::showSources(int itemId, const QString &itemName,
                                    const QList<ItemSourceIndex::Source> &sources,
                                    double multiplier)
{
    shownItemId = itemId;
    itemIdEdit->setText(QString::number(itemId));
    sourceModel->setSources(sources, multiplier);
    QList<DropChanceChartView::Curve> curves;
    for (const ItemSourceIndex::MonsterTotal &total :
         ItemSourceIndex::bestTotals(sourceModel->monsterTotals(), chartMonsters)) {
        const QString name = NameResolver::instance().monsterName(total.monsterId);
        curves.append(
            {name.isEmpty()
                 ? QCoreApplication::translate("Lootwright", "怪物 %1").arg(total.monsterId)
                 : name,
             total.odds});
    }
    chanceChart->setCurves(curves);
    QSet<int> boxes;
    for (const ItemSourceIndex::Source &source : sources)
        boxes.insert(source.boxIndex);
    const QString label = itemName.isEmpty()
                              ? QCoreApplication::translate("Lootwright", "物品 %1").arg(itemId)
                              : QCoreApplication::translate("Lootwright", "物品 %1 %2")
                                    .arg(QString::number(itemId), itemName);
    setWindowTitle(QCoreApplication::translate("Lootwright", "掉落来源 - %1").arg(label));
    summaryLabel->setText(
        sources.isEmpty()
            ? QCoreApplication::translate("Lootwright", "%1：没有包裹含有该物品").arg(label)
            : QCoreApplication::translate("Lootwright", "%1：%2 个包裹，%3 个来源")
                  .arg(label, QString::number(boxes.size()), QString::number(sources.size())));
}

void ItemSourcesDialog::onLookup()
{
    bool ok = false;
    const int id = itemIdEdit->text().toInt(&ok);
    if (ok && id >= 1)
        Q_EMIT itemRequested(id);
}

void ItemSourcesDialog::onActivated(const QModelIndex &index)
{
    const int row = sortModel->mapToSource(index).row();
    if (const ItemSourceIndex::Source *source = sourceModel->sourceAt(row))
        Q_EMIT sourceActivated(source->hasMonster() ? source->monsterId : -1, source->boxId);
    else if (const ItemSourceIndex::MonsterTotal *total = sourceModel->totalAt(row))
        Q_EMIT sourceActivated(total->monsterId, total->boxIds.value(0, -1));
}
