#include "edit/EditResult.h"

#include <QCoreApplication>

namespace EditTexts {

QString noFreeBoxIdText()
{
    return QCoreApplication::translate("Lootwright", "包裹ID已达上限，无法创建新包裹");
}

QString errorTitle()
{
    return QCoreApplication::translate("Lootwright", "错误");
}

QString noticeTitle()
{
    return QCoreApplication::translate("Lootwright", "提示");
}

} // namespace EditTexts
