#include "dialogs/DropChangesDialog.h"

#include "dialogs/DocumentFollower.h"

#include "dialogs/Prompts.h"
#include "edit/DropComparison.h"
#include "export/HtmlDropRateExport.h"
#include "models/DropChangeListModel.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

DropChangesDialog::DropChangesDialog(Prompts *prompts, QWidget *parent)
    : QDialog(parent), prompts(prompts)
{
    if (!this->prompts) {
        ownPrompts = std::make_unique<DialogPrompts>();
        this->prompts = ownPrompts.get();
    }
    setObjectName(QStringLiteral("dropChangesDialog"));
    setWindowFlag(Qt::Window);
    setWindowTitle(QCoreApplication::translate("Lootwright", "查看修改"));
    resize(1000, 560);

    auto *layout = new QVBoxLayout(this);
    auto *top = new QHBoxLayout;
    summaryLabel = new QLabel(this);
    summaryLabel->setObjectName(QStringLiteral("summaryLabel"));
    filterEdit = new QLineEdit(this);
    filterEdit->setObjectName(QStringLiteral("filterEdit"));
    filterEdit->setPlaceholderText(QCoreApplication::translate("Lootwright", "按ID或名称筛选"));
    filterEdit->setClearButtonEnabled(true);
    copyButton = new QPushButton(QCoreApplication::translate("Lootwright", "复制列表"), this);
    copyButton->setObjectName(QStringLiteral("copyButton"));
    saveButton = new QPushButton(QCoreApplication::translate("Lootwright", "保存为文本..."), this);
    saveButton->setObjectName(QStringLiteral("saveButton"));
    top->addWidget(summaryLabel, 1);
    top->addWidget(filterEdit);
    top->addWidget(copyButton);
    top->addWidget(saveButton);
    layout->addLayout(top);

    recordModel = new DropChangeListModel(DropChangeListModel::List::Records, this);
    rateModel = new DropChangeListModel(DropChangeListModel::List::Rates, this);
    tabWidget = new QTabWidget(this);
    tabWidget->setObjectName(QStringLiteral("changeTabs"));
    recordView = makeView(recordModel, QStringLiteral("recordsView"));
    rateView = makeView(rateModel, QStringLiteral("ratesView"));
    tabWidget->addTab(recordView, QString());
    tabWidget->addTab(rateView, QString());
    layout->addWidget(tabWidget);
    updateTexts();

    filterTimer = new QTimer(this);
    filterTimer->setSingleShot(true);
    filterTimer->setInterval(180);
    connect(filterTimer, &QTimer::timeout, this, &DropChangesDialog::onFilter);
    connect(filterEdit, &QLineEdit::textChanged, filterTimer, qOverload<>(&QTimer::start));
    connect(copyButton, &QPushButton::clicked, this, &DropChangesDialog::onCopy);
    connect(saveButton, &QPushButton::clicked, this, &DropChangesDialog::onSave);
}

DropChangesDialog::~DropChangesDialog() = default;

QTableView *DropChangesDialog::makeView(DropChangeListModel *model, const QString &name)
{
    auto *view = new QTableView(this);
    view->setObjectName(name);
    view->setModel(model);
    // Millions of rows: fixed row heights and no measuring of contents.
    view->verticalHeader()->hide();
    view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view->setColumnWidth(DropChangeListModel::KindColumn, 110);
    view->horizontalHeader()->setStretchLastSection(true);
    view->setWordWrap(false);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setAlternatingRowColors(true);
    connect(view, &QAbstractItemView::doubleClicked, this,
            [this, model](const QModelIndex &index) { onActivated(model, index); });
    return view;
}

void DropChangesDialog::followDocument(ConfigDocument *document)
{
    const auto compare = [this, document] {
        setDocuments(document->savedMonsters(), document->savedBoxes(), document->monsters(),
                     document->boxes());
    };
    if (followed != document) {
        followed = document;
        ::followDocument(this, document, compare);
    }
    compare();
}

void DropChangesDialog::setDocuments(const MonsterDropData &beforeMonsters,
                                     const DropBoxContentData &beforeBoxes,
                                     const MonsterDropData &afterMonsters,
                                     const DropBoxContentData &afterBoxes)
{
    const auto comparison = std::make_shared<const DropComparison>(
        DropComparison::compare(beforeMonsters, beforeBoxes, afterMonsters, afterBoxes));
    recordModel->setComparison(comparison);
    rateModel->setComparison(comparison);
    updateTexts();
}

DropChangeListModel *DropChangesDialog::currentModel() const
{
    return tabWidget->currentIndex() == 1 ? rateModel : recordModel;
}

void DropChangesDialog::updateTexts()
{
    const qsizetype records = recordModel->totalCount();
    const qsizetype rates = rateModel->totalCount();
    summaryLabel->setText(
        records == 0 && rates == 0
            ? QCoreApplication::translate("Lootwright", "没有修改")
            : QCoreApplication::translate("Lootwright", "记录修改 %1 项，爆率变化 %2 项")
                  .arg(QString::number(records), QString::number(rates)));
    const auto title = [](const QString &name, qsizetype total, int shown) {
        return shown == total ? QStringLiteral("%1 (%2)").arg(name, QString::number(total))
                              : QStringLiteral("%1 (%2/%3)")
                                    .arg(name, QString::number(shown), QString::number(total));
    };
    tabWidget->setTabText(0, title(QCoreApplication::translate("Lootwright", "记录修改"), records,
                                   recordModel->rowCount()));
    tabWidget->setTabText(1, title(QCoreApplication::translate("Lootwright", "爆率变化"), rates,
                                   rateModel->rowCount()));
}

void DropChangesDialog::onActivated(DropChangeListModel *model, const QModelIndex &index)
{
    const auto [monsterId, boxId] = model->targetAt(index.row());
    if (monsterId != -1 || boxId != -1)
        Q_EMIT goToRequested(monsterId, boxId);
}

void DropChangesDialog::onFilter()
{
    recordModel->setFilterText(filterEdit->text());
    rateModel->setFilterText(filterEdit->text());
    updateTexts();
}

void DropChangesDialog::onCopy()
{
    QGuiApplication::clipboard()->setText(currentModel()->shownText());
}

void DropChangesDialog::onSave()
{
    const QString path = prompts->saveFileName(
        this, QCoreApplication::translate("Lootwright", "保存修改列表"), QString(),
        QCoreApplication::translate("Lootwright", "文本文件 (*.txt)"));
    if (path.isEmpty())
        return;
    QString error;
    if (!HtmlDropRateExport::writePage(path, currentModel()->shownText(), error)) {
        prompts->critical(this, QCoreApplication::translate("Lootwright", "保存失败"), error);
        return;
    }
    prompts->information(
        this, QCoreApplication::translate("Lootwright", "保存成功"),
        QCoreApplication::translate("Lootwright", "已保存修改列表到：\n%1").arg(path));
}
