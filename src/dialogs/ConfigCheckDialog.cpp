#include "dialogs/ConfigCheckDialog.h"

#include "data/NameResolver.h"
#include "dialogs/DocumentFollower.h"
#include "models/ConfigFindingModel.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

ConfigCheckDialog::ConfigCheckDialog(ConfigDocument *document, std::function<double()> multiplier,
                                     QWidget *parent)
    : QDialog(parent), document(document), multiplier(std::move(multiplier))
{
    setObjectName(QStringLiteral("configCheckDialog"));
    setWindowFlag(Qt::Window);
    setWindowTitle(QCoreApplication::translate("Lootwright", "检查配置"));
    resize(900, 480);

    auto *layout = new QVBoxLayout(this);
    auto *top = new QHBoxLayout;
    summaryLabel = new QLabel(this);
    summaryLabel->setObjectName(QStringLiteral("summaryLabel"));
    recheckButton = new QPushButton(QCoreApplication::translate("Lootwright", "重新检查"), this);
    recheckButton->setObjectName(QStringLiteral("recheckButton"));
    top->addWidget(summaryLabel, 1);
    top->addWidget(recheckButton);
    layout->addLayout(top);

    findingModel = new ConfigFindingModel(this);
    findingsView = new QTableView(this);
    findingsView->setObjectName(QStringLiteral("findingsView"));
    findingsView->setModel(findingModel);
    // Measuring the contents of every row would take long with thousands of findings.
    findingsView->setColumnWidth(0, 130);
    findingsView->horizontalHeader()->setStretchLastSection(true);
    findingsView->verticalHeader()->hide();
    findingsView->setSelectionBehavior(QAbstractItemView::SelectRows);
    findingsView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    findingsView->setAlternatingRowColors(true);
    layout->addWidget(findingsView);

    connect(recheckButton, &QPushButton::clicked, this, &ConfigCheckDialog::recheck);
    followDocument(this, document, [this] { recheck(); });
    connect(findingsView, &QAbstractItemView::doubleClicked, this,
            [this](const QModelIndex &index) {
                if (const ConfigCheck::Finding *finding = findingModel->findingAt(index.row()))
                    Q_EMIT findingActivated(finding->monsterId, finding->boxId);
            });
}

void ConfigCheckDialog::recheck()
{
    showFindings(ConfigCheck::run(document->monsters(), document->boxes(), NameResolver::instance(),
                                  multiplier()));
}

void ConfigCheckDialog::showFindings(const QList<ConfigCheck::Finding> &findings)
{
    summaryLabel->setText(
        findings.isEmpty()
            ? QCoreApplication::translate("Lootwright", "未发现问题")
            : QCoreApplication::translate("Lootwright", "共发现 %1 个问题").arg(findings.size()));
    findingModel->setFindings(findings);
}
