#include "edit/EditResult.h"

namespace EditTexts {

QString noFreeBoxIdText()
{
    return QStringLiteral("包裹ID已达上限，无法创建新包裹");
}

QString errorTitle()
{
    return QStringLiteral("错误");
}

QString noticeTitle()
{
    return QStringLiteral("提示");
}

} // namespace EditTexts
