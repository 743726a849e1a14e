#include "EditFixtures.h"

#include "data/NameResolver.h"
#include "dialogs/DropChangesDialog.h"

#include <QSignalSpy>
#include <QTabWidget>
#include <QTableView>
#include <QtTest>

using namespace EditFixtures;

class DropChangesDialogTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void followsDocumentsAndGoesToRows();
};

void DropChangesDialogTest::followsDocumentsAndGoesToRows()
{
    NameResolver::instance().clear();
    const MonsterDropData monsterDoc = monsters({padded(monster(1001, 100, {8}))});
    const DropBoxContentData boxDoc = boxes({padded(box(8, 1000, {5001, 5002}))});
    DropChangesDialog dialog;
    QSignalSpy goTo(&dialog, &DropChangesDialog::goToRequested);
    dialog.setDocuments(monsterDoc, boxDoc, monsterDoc, boxDoc);
    dialog.show();
    QCOMPARE(dialog.recordsView()->model()->rowCount(), 0);

    // An edit while it is open: the weight of box 8 moves both items' rates.
    DropBoxContentData edited = boxDoc;
    edited.boxes[0].boxValue = 500;
    dialog.setDocuments(monsterDoc, boxDoc, monsterDoc, edited);
    QCOMPARE(dialog.tabs()->tabText(0), QStringLiteral("记录修改 (1)"));
    QCOMPARE(dialog.tabs()->tabText(1), QStringLiteral("爆率变化 (2)"));
    QCOMPARE(dialog.ratesView()->model()->rowCount(), 2);

    Q_EMIT dialog.recordsView()->doubleClicked(dialog.recordsView()->model()->index(0, 1));
    Q_EMIT dialog.ratesView()->doubleClicked(dialog.ratesView()->model()->index(1, 1));
    QCOMPARE(goTo.count(), 2);
    QCOMPARE(goTo.at(0), (QList<QVariant>{-1, 8}));
    QCOMPARE(goTo.at(1), (QList<QVariant>{1001, 8}));
}

QTEST_MAIN(DropChangesDialogTest)
#include "tst_dropchangesdialog.moc"
