<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>Lootwright</name>
    <message>
        <source>包裹[%1]</source>
        <translation>Box[%1]</translation>
    </message>
    <message>
        <source>%1 的第 %2 个掉落槽位</source>
        <translation>%1, drop slot %2</translation>
    </message>
    <message>
        <source>%1引用了不存在的%2</source>
        <translation>%1 names %2, which does not exist</translation>
    </message>
    <message>
        <source>%1 %2 爆率为 %3，超过 100%</source>
        <translation>%1: %2 has a drop rate of %3, above 100%</translation>
    </message>
    <message>
        <source>怪物ID %1 有掉落记录，但怪物表中没有该怪物（怪物列表中不显示）</source>
        <translation>Monster ID %1 has a drop record but is not in the monster table (not shown in the monster list)</translation>
    </message>
    <message>
        <source>怪物ID %1 有 %2 条掉落记录（编辑时使用第一条）</source>
        <translation>Monster ID %1 has %2 drop records (editing uses the first)</translation>
    </message>
    <message>
        <source>%1 没有被任何怪物引用</source>
        <translation>%1 is not used by any monster</translation>
    </message>
    <message>
        <source>包裹ID %1 出现了 %2 次（编辑器使用第一个，导出使用最后一个）</source>
        <translation>Box ID %1 appears %2 times (the editor uses the first, the export the last)</translation>
    </message>
    <message>
        <source>%1 的权值为 %2（小于 1），被 %3 个怪物引用，爆率无法计算</source>
        <translation>%1 has weight %2 (below 1) and is used by %3 monsters; its drop rate cannot be calculated</translation>
    </message>
    <message>
        <source>物品ID %1 不在任何物品表中（首次出现于%2）</source>
        <translation>Item ID %1 is in no item table (first seen in %2)</translation>
    </message>
    <message>
        <source>不存在的包裹</source>
        <translation>Missing box</translation>
    </message>
    <message>
        <source>无引用的包裹</source>
        <translation>Unused box</translation>
    </message>
    <message>
        <source>重复的包裹ID</source>
        <translation>Duplicate box ID</translation>
    </message>
    <message>
        <source>重复的怪物ID</source>
        <translation>Duplicate monster ID</translation>
    </message>
    <message>
        <source>权值小于1</source>
        <translation>Weight below 1</translation>
    </message>
    <message>
        <source>未知物品</source>
        <translation>Unknown item</translation>
    </message>
    <message>
        <source>未知怪物</source>
        <translation>Unknown monster</translation>
    </message>
    <message>
        <source>爆率超过100%</source>
        <translation>Drop rate above 100%</translation>
    </message>
    <message>
        <source>列数过少: %1</source>
        <translation>Too few columns: %1</translation>
    </message>
    <message>
        <source>ID 解析失败</source>
        <translation>Cannot parse ID</translation>
    </message>
    <message>
        <source>BoxValue 解析失败</source>
        <translation>Cannot parse BoxValue</translation>
    </message>
    <message>
        <source>NotifyId 解析失败</source>
        <translation>Cannot parse NotifyId</translation>
    </message>
    <message>
        <source>ForceOpenFlag 解析失败</source>
        <translation>Cannot parse ForceOpenFlag</translation>
    </message>
    <message>
        <source>ItemId 解析失败（槽 %1）</source>
        <translation>Cannot parse ItemId (slot %1)</translation>
    </message>
    <message>
        <source>Level 解析失败（槽 %1）</source>
        <translation>Cannot parse Level (slot %1)</translation>
    </message>
    <message>
        <source>无法打开文件: %1</source>
        <translation>Cannot open file: %1</translation>
    </message>
    <message>
        <source>读取文件失败: %1</source>
        <translation>Cannot read file: %1</translation>
    </message>
    <message>
        <source>无法写入文件: %1</source>
        <translation>Cannot write file: %1</translation>
    </message>
    <message>
        <source>解析数据行失败（第 %1 行）：%2</source>
        <translation>Cannot parse data line (line %1): %2</translation>
    </message>
    <message>
        <source>物品</source>
        <translation>Item</translation>
    </message>
    <message>
        <source>装备</source>
        <translation>Equipment</translation>
    </message>
    <message>
        <source>宝石</source>
        <translation>Gem</translation>
    </message>
    <message>
        <source>怪物ID</source>
        <translation>Monster ID</translation>
    </message>
    <message>
        <source>怪物名称</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>槽位</source>
        <translation>Slot</translation>
    </message>
    <message>
        <source>怪物价值</source>
        <translation>Value</translation>
    </message>
    <message>
        <source>包裹ID</source>
        <translation>Box ID</translation>
    </message>
    <message>
        <source>包裹权值</source>
        <translation>Weight</translation>
    </message>
    <message>
        <source>爆率</source>
        <translation>Rate</translation>
    </message>
    <message>
        <source>100次击杀概率</source>
        <translation>In 100 Kills</translation>
    </message>
    <message>
        <source>（同ID的前一个包裹生效）</source>
        <translation>(an earlier box with this ID applies)</translation>
    </message>
    <message>
        <source>（无怪物引用）</source>
        <translation>(no monster uses it)</translation>
    </message>
    <message>
        <source>字段数量不足</source>
        <translation>Too few fields</translation>
    </message>
    <message>
        <source>怪物ID解析失败</source>
        <translation>Cannot parse monster ID</translation>
    </message>
    <message>
        <source>Mvalue解析失败</source>
        <translation>Cannot parse Mvalue</translation>
    </message>
    <message>
        <source>掉落类型解析失败</source>
        <translation>Cannot parse drop type</translation>
    </message>
    <message>
        <source>无法打开文件：%1</source>
        <translation>Cannot open file: %1</translation>
    </message>
    <message>
        <source>读取文件失败：%1</source>
        <translation>Cannot read file: %1</translation>
    </message>
    <message>
        <source>无法写入文件：%1</source>
        <translation>Cannot write file: %1</translation>
    </message>
    <message>
        <source>第 %1 行解析失败：%2</source>
        <translation>Cannot parse line %1: %2</translation>
    </message>
    <message>
        <source>备份失败，原文件未被覆盖：无法创建备份目录 %1</source>
        <translation>Backup failed, the original file was not overwritten: cannot create the backup folder %1</translation>
    </message>
    <message>
        <source>备份失败，原文件未被覆盖：无法写入备份文件 %1（%2）</source>
        <translation>Backup failed, the original file was not overwritten: cannot write the backup file %1 (%2)</translation>
    </message>
    <message>
        <source>检查配置</source>
        <translation>Check Configuration</translation>
    </message>
    <message>
        <source>重新检查</source>
        <translation>Check Again</translation>
    </message>
    <message>
        <source>未发现问题</source>
        <translation>No problems found</translation>
    </message>
    <message>
        <source>共发现 %1 个问题</source>
        <translation>%1 problems found</translation>
    </message>
    <message>
        <source>包裹管理器</source>
        <translation>Boxes</translation>
    </message>
    <message>
        <source>删除指定包裹</source>
        <translation>Delete Box by ID</translation>
    </message>
    <message>
        <source>删除指定物品ID</source>
        <translation>Delete Item ID</translation>
    </message>
    <message>
        <source>替换物品ID</source>
        <translation>Replace Item ID</translation>
    </message>
    <message>
        <source>保存包裹配置</source>
        <translation>Save Box Configuration</translation>
    </message>
    <message>
        <source>添加包裹</source>
        <translation>Add Box</translation>
    </message>
    <message>
        <source>删除包裹</source>
        <translation>Delete Box</translation>
    </message>
    <message>
        <source>复制包裹</source>
        <translation>Copy Box</translation>
    </message>
    <message>
        <source>包裹列表</source>
        <translation>Boxes</translation>
    </message>
    <message>
        <source>道具ID筛选:</source>
        <translation>Item ID filter:</translation>
    </message>
    <message>
        <source>输入道具ID，筛选包含该ID的包裹（留空显示全部）</source>
        <translation>Enter an item ID to list the boxes holding it (empty shows all)</translation>
    </message>
    <message>
        <source>拾取绑定</source>
        <translation>Bound</translation>
    </message>
    <message>
        <source>物品数量</source>
        <translation>Items</translation>
    </message>
    <message>
        <source>包裹详情</source>
        <translation>Box Details</translation>
    </message>
    <message>
        <source>强制拾取绑定</source>
        <translation>Force bind on pickup</translation>
    </message>
    <message>
        <source>-1(无) 或 系统编号</source>
        <translation>-1 (none) or system number</translation>
    </message>
    <message>
        <source>包裹ID:</source>
        <translation>Box ID:</translation>
    </message>
    <message>
        <source>包裹权值:</source>
        <translation>Box weight:</translation>
    </message>
    <message>
        <source>拾取绑定:</source>
        <translation>Bind on pickup:</translation>
    </message>
    <message>
        <source>掉落系统编号:</source>
        <translation>Drop system number:</translation>
    </message>
    <message>
        <source>保存当前包裹</source>
        <translation>Save Current Box</translation>
    </message>
    <message>
        <source>物品列表</source>
        <translation>Items</translation>
    </message>
    <message>
        <source>物品ID</source>
        <translation>Item ID</translation>
    </message>
    <message>
        <source>物品名称</source>
        <translation>Item Name</translation>
    </message>
    <message>
        <source>删除选中物品</source>
        <translation>Delete Selected Items</translation>
    </message>
    <message>
        <source>物品库</source>
        <translation>Item Library</translation>
    </message>
    <message>
        <source>搜索物品ID或名称...</source>
        <translation>Search item ID or name...</translation>
    </message>
    <message>
        <source>添加到当前包裹</source>
        <translation>Add to Current Box</translation>
    </message>
    <message>
        <source>关联信息</source>
        <translation>References</translation>
    </message>
    <message>
        <source>保存并关闭</source>
        <translation>Save and Close</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>包裹管理器：</source>
        <translation>Box manager: </translation>
    </message>
    <message>
        <source>是</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>否</source>
        <translation>No</translation>
    </message>
    <message>
        <source>修改包裹</source>
        <translation>Edit Box</translation>
    </message>
    <message>
        <source>删除物品</source>
        <translation>Delete Items</translation>
    </message>
    <message>
        <source>添加物品</source>
        <translation>Add Items</translation>
    </message>
    <message>
        <source>添加到当前包裹（%1个）</source>
        <translation>Add to Current Box (%1)</translation>
    </message>
    <message>
        <source>查看掉落来源</source>
        <translation>Show Drop Sources</translation>
    </message>
    <message>
        <source>请输入要删除的包裹ID：</source>
        <translation>Box ID to delete:</translation>
    </message>
    <message>
        <source>请输入要删除的物品ID：</source>
        <translation>Item ID to delete:</translation>
    </message>
    <message>
        <source>删除物品ID</source>
        <translation>Delete Item ID</translation>
    </message>
    <message>
        <source>被替换的物品ID：</source>
        <translation>Item ID to replace:</translation>
    </message>
    <message>
        <source>替换为物品ID：</source>
        <translation>Replace with item ID:</translation>
    </message>
    <message>
        <source>物品库管理器</source>
        <translation>Item Library</translation>
    </message>
    <message>
        <source>输入ID或名称...</source>
        <translation>Enter ID or name...</translation>
    </message>
    <message>
        <source>分类:</source>
        <translation>Category:</translation>
    </message>
    <message>
        <source>搜索:</source>
        <translation>Search:</translation>
    </message>
    <message>
        <source>收藏夹（拖拽排序 / 右键管理）</source>
        <translation>Favorites (drag to reorder / right-click to manage)</translation>
    </message>
    <message>
        <source>添加到当前选中包裹</source>
        <translation>Add to Selected Box</translation>
    </message>
    <message>
        <source>加入收藏夹</source>
        <translation>Add to Favorites</translation>
    </message>
    <message>
        <source>复制ID到剪贴板</source>
        <translation>Copy ID to Clipboard</translation>
    </message>
    <message>
        <source>物品信息</source>
        <translation>Item Info</translation>
    </message>
    <message>
        <source>ID: %1
名称: %2
分类: %3</source>
        <translation>ID: %1
Name: %2
Category: %3</translation>
    </message>
    <message>
        <source>上移</source>
        <translation>Move Up</translation>
    </message>
    <message>
        <source>下移</source>
        <translation>Move Down</translation>
    </message>
    <message>
        <source>置顶</source>
        <translation>Move to Top</translation>
    </message>
    <message>
        <source>置底</source>
        <translation>Move to Bottom</translation>
    </message>
    <message>
        <source>从收藏夹移除</source>
        <translation>Remove from Favorites</translation>
    </message>
    <message>
        <source>全部</source>
        <translation>All</translation>
    </message>
    <message>
        <source>查询</source>
        <translation>Look Up</translation>
    </message>
    <message>
        <source>物品 %1</source>
        <translation>Item %1</translation>
    </message>
    <message>
        <source>物品 %1 %2</source>
        <translation>Item %1 %2</translation>
    </message>
    <message>
        <source>掉落来源 - %1</source>
        <translation>Drop Sources - %1</translation>
    </message>
    <message>
        <source>%1：没有包裹含有该物品</source>
        <translation>%1: no box holds this item</translation>
    </message>
    <message>
        <source>%1：%2 个包裹，%3 个来源</source>
        <translation>%1: %2 boxes, %3 sources</translation>
    </message>
    <message>
        <source>勾选表示修改此项</source>
        <translation>Tick to change this field</translation>
    </message>
    <message>
        <source>编辑怪物属性</source>
        <translation>Edit Monster Attributes</translation>
    </message>
    <message>
        <source>编辑怪物掉落属性：</source>
        <translation>Edit monster drop attributes:</translation>
    </message>
    <message>
        <source>属性设置</source>
        <translation>Attributes</translation>
    </message>
    <message>
        <source>启用掉落</source>
        <translation>Drops enabled</translation>
    </message>
    <message>
        <source>个人掉落</source>
        <translation>Personal drop</translation>
    </message>
    <message>
        <source>队伍掉落</source>
        <translation>Team drop</translation>
    </message>
    <message>
        <source>是否掉落:</source>
        <translation>Drops:</translation>
    </message>
    <message>
        <source>掉落类型:</source>
        <translation>Drop type:</translation>
    </message>
    <message>
        <source>怪物价值:</source>
        <translation>Monster value:</translation>
    </message>
    <message>
        <source>编辑单个怪物掉落属性：</source>
        <translation>Edit one monster&apos;s drop attributes:</translation>
    </message>
    <message>
        <source>批量编辑 %1 个怪物（勾选左侧复选框表示修改该项）：</source>
        <translation>Edit %1 monsters (tick a box on the left to change that field):</translation>
    </message>
    <message>
        <source>修改包裹ID</source>
        <translation>Change Box ID</translation>
    </message>
    <message>
        <source>修改包裹权值</source>
        <translation>Change Box Weight</translation>
    </message>
    <message>
        <source>修改拾取绑定</source>
        <translation>Change Bind on Pickup</translation>
    </message>
    <message>
        <source>修改广播ID</source>
        <translation>Change Broadcast ID</translation>
    </message>
    <message>
        <source>%1：%2 → %3（注意：仅修改ID不会自动同步所有引用）</source>
        <translation>%1: %2 → %3 (note: changing only the ID does not update what refers to it)</translation>
    </message>
    <message>
        <source>%1：%2 权值 %3 → %4</source>
        <translation>%1: %2 weight %3 → %4</translation>
    </message>
    <message>
        <source>%1：%2 拾取绑定 %3 → %4</source>
        <translation>%1: %2 bind on pickup %3 → %4</translation>
    </message>
    <message>
        <source>%1：%2 广播ID %3 → %4</source>
        <translation>%1: %2 broadcast ID %3 → %4</translation>
    </message>
    <message>
        <source>请先选择要复制的包裹</source>
        <translation>Select the box to copy first</translation>
    </message>
    <message>
        <source>%1：复制包裹[%2] → 包裹[%3]（权值=%4，物品槽位=%5）</source>
        <translation>%1: copied Box[%2] → Box[%3] (weight=%4, item slots=%5)</translation>
    </message>
    <message>
        <source>复制包裹[%1] → 包裹[%2]（权值=%3，物品槽位=%4）</source>
        <translation>Copied Box[%1] → Box[%2] (weight=%3, item slots=%4)</translation>
    </message>
    <message>
        <source>删除包裹：未选择包裹</source>
        <translation>Delete box: no box selected</translation>
    </message>
    <message>
        <source>%1：删除包裹[%2]（权值=%3，物品槽位=%4）</source>
        <translation>%1: deleted Box[%2] (weight=%3, item slots=%4)</translation>
    </message>
    <message>
        <source>删除包裹[%1]（权值=%2，物品槽位=%3）</source>
        <translation>Deleted Box[%1] (weight=%2, item slots=%3)</translation>
    </message>
    <message>
        <source>当前未选中包裹或物品已存在</source>
        <translation>No box is selected, or the items are already in it</translation>
    </message>
    <message>
        <source> ...（共%1个）</source>
        <translation> ... (%1 in all)</translation>
    </message>
    <message>
        <source>%1：包裹[%2] 添加物品 %3 个：%4%5</source>
        <translation>%1: Box[%2] added %3 items: %4%5</translation>
    </message>
    <message>
        <source>已添加 %1 个物品到当前包裹</source>
        <translation>Added %1 items to the current box</translation>
    </message>
    <message>
        <source>请先选择一个包裹</source>
        <translation>Select a box first</translation>
    </message>
    <message>
        <source>请先选择要删除的物品</source>
        <translation>Select the items to delete first</translation>
    </message>
    <message>
        <source>找不到选中的包裹配置</source>
        <translation>The selected box was not found</translation>
    </message>
    <message>
        <source>选中的都是空槽位，无需删除</source>
        <translation>The selected slots are all empty; nothing to delete</translation>
    </message>
    <message>
        <source>确认删除</source>
        <translation>Confirm Delete</translation>
    </message>
    <message>
        <source>确定要删除选中的 %1 个物品吗？</source>
        <translation>Delete the %1 selected items?</translation>
    </message>
    <message>
        <source>%1：包裹[%2] 删除物品 %3 个：%4</source>
        <translation>%1: Box[%2] deleted %3 items: %4</translation>
    </message>
    <message>
        <source>删除成功</source>
        <translation>Deleted</translation>
    </message>
    <message>
        <source>已删除 %1 个物品</source>
        <translation>Deleted %1 items</translation>
    </message>
    <message>
        <source>已加入收藏夹：新增 %1 个（选中 %2 个）</source>
        <translation>Added to favorites: %1 new (%2 selected)</translation>
    </message>
    <message>
        <source>收藏夹已包含所选物品（选中 %1 个）</source>
        <translation>The favorites already hold the selected items (%1 selected)</translation>
    </message>
    <message>
        <source>保存失败</source>
        <translation>Save Failed</translation>
    </message>
    <message>
        <source>未加载怪物配置信息</source>
        <translation>No monster configuration loaded</translation>
    </message>
    <message>
        <source>未找到使用包裹 ID %1 的怪物</source>
        <translation>No monster uses box ID %1</translation>
    </message>
    <message>
        <source>使用包裹 ID %1 的怪物列表:

</source>
        <translation>Monsters using box ID %1:

</translation>
    </message>
    <message>
        <source>注意：包裹ID已由 %1 改为 %2，以下怪物仍引用旧ID %1（引用未随之修改）:

</source>
        <translation>Note: the box ID changed from %1 to %2; these monsters still use the old ID %1 (their references were not changed):

</translation>
    </message>
    <message>
        <source>当前选中的包裹不存在（可能已被删除）</source>
        <translation>The selected box no longer exists (it may have been deleted)</translation>
    </message>
    <message>
        <source>包裹ID必须为正整数</source>
        <translation>The box ID must be a positive integer</translation>
    </message>
    <message>
        <source>包裹ID %1 已存在，请换一个ID</source>
        <translation>Box ID %1 already exists; choose another ID</translation>
    </message>
    <message>
        <source>包裹权值必须为非负整数</source>
        <translation>The box weight must be a non-negative integer</translation>
    </message>
    <message>
        <source>掉落系统编号必须为整数（可留空表示 -1）</source>
        <translation>The drop system number must be an integer (leave it empty for -1)</translation>
    </message>
    <message>
        <source>找不到要复制的包裹</source>
        <translation>The box to copy was not found</translation>
    </message>
    <message>
        <source>请先在物品库选择要添加的物品</source>
        <translation>Select the items to add in the item library first</translation>
    </message>
    <message>
        <source>没有添加任何物品（可能已存在或无效）</source>
        <translation>No items were added (already present or invalid)</translation>
    </message>
    <message>
        <source>已删除包裹：ID=%1（权值=%2，槽位=%3）</source>
        <translation>Deleted box: ID=%1 (weight=%2, slots=%3)</translation>
    </message>
    <message>
        <source>
已从 %1 个怪物中移除引用（共 %2 处）</source>
        <translation>
Removed its references from %1 monsters (%2 in all)</translation>
    </message>
    <message>
        <source>删除包裹失败：未找到包裹ID %1</source>
        <translation>Deleting the box failed: box ID %1 not found</translation>
    </message>
    <message>
        <source>删除包裹：包裹ID无效：%1</source>
        <translation>Delete box: invalid box ID: %1</translation>
    </message>
    <message>
        <source>删除包裹：找不到包裹ID %1</source>
        <translation>Delete box: box ID %1 not found</translation>
    </message>
    <message>
        <source>物品ID必须为正整数</source>
        <translation>The item ID must be a positive integer</translation>
    </message>
    <message>
        <source>未找到物品ID %1</source>
        <translation>Item ID %1 not found</translation>
    </message>
    <message>
        <source>删除完成</source>
        <translation>Deletion Complete</translation>
    </message>
    <message>
        <source>已从 %1 个槽位删除物品ID %2（涉及 %3 个包裹）</source>
        <translation>Deleted item ID %2 from %1 slots (in %3 boxes)</translation>
    </message>
    <message>
        <source>请输入合法的物品ID（正整数）</source>
        <translation>Enter a valid item ID (a positive integer)</translation>
    </message>
    <message>
        <source>旧物品ID与新物品ID相同，无需替换</source>
        <translation>The old and new item IDs are the same; nothing to replace</translation>
    </message>
    <message>
        <source>未找到旧物品ID %1</source>
        <translation>Old item ID %1 not found</translation>
    </message>
    <message>
        <source>替换完成</source>
        <translation>Replacement Complete</translation>
    </message>
    <message>
        <source>已替换 %1 个槽位：%2 → %3</source>
        <translation>Replaced %1 slots: %2 → %3</translation>
    </message>
    <message>
        <source>请选择一个怪物进行复制</source>
        <translation>Select a monster to copy</translation>
    </message>
    <message>
        <source>选中的怪物没有掉落配置</source>
        <translation>The selected monster has no drop configuration</translation>
    </message>
    <message>
        <source>复制成功</source>
        <translation>Copied</translation>
    </message>
    <message>
        <source>怪物掉落配置已复制到剪贴板</source>
        <translation>The monster&apos;s drop configuration was copied to the clipboard</translation>
    </message>
    <message>
        <source>剪贴板中的数据格式不正确</source>
        <translation>The clipboard data has the wrong format</translation>
    </message>
    <message>
        <source>剪贴板中的数据不完整</source>
        <translation>The clipboard data is incomplete</translation>
    </message>
    <message>
        <source>请先选择要粘贴的怪物</source>
        <translation>Select the monsters to paste to first</translation>
    </message>
    <message>
        <source>粘贴失败</source>
        <translation>Paste Failed</translation>
    </message>
    <message>
        <source>确认粘贴</source>
        <translation>Confirm Paste</translation>
    </message>
    <message>
        <source>确定要将怪物 %1 的掉落配置粘贴到 %2 个选中的怪物吗？</source>
        <translation>Paste the drop configuration of monster %1 to the %2 selected monsters?</translation>
    </message>
    <message>
        <source>粘贴爆率：%1 → %2 个怪物（mValue=%3，类型=%4，掉包数=%5）</source>
        <translation>Paste drops: %1 → %2 monsters (mValue=%3, type=%4, boxes=%5)</translation>
    </message>
    <message>
        <source>%1：创建掉落配置（mValue=%2，类型=%3，掉包数=%4）</source>
        <translation>%1: created drop configuration (mValue=%2, type=%3, boxes=%4)</translation>
    </message>
    <message>
        <source>%1：怪物价值 %2 → %3</source>
        <translation>%1: monster value %2 → %3</translation>
    </message>
    <message>
        <source>%1：掉落类型 %2 → %3</source>
        <translation>%1: drop type %2 → %3</translation>
    </message>
    <message>
        <source>%1：掉包数 %2 → %3</source>
        <translation>%1: boxes %2 → %3</translation>
    </message>
    <message>
        <source>粘贴成功</source>
        <translation>Pasted</translation>
    </message>
    <message>
        <source>已将怪物 %1 的掉落配置粘贴到 %2 个怪物</source>
        <translation>Pasted the drop configuration of monster %1 to %2 monsters</translation>
    </message>
    <message>
        <source>当前没有选中的包裹或怪物</source>
        <translation>No box or monster is selected</translation>
    </message>
    <message>
        <source>请输入有效的目标爆率</source>
        <translation>Enter a valid target drop rate</translation>
    </message>
    <message>
        <source>怪物价值必须大于0，请先设置怪物价值</source>
        <translation>The monster value must be above 0; set the monster value first</translation>
    </message>
    <message>
        <source>计算出的包裹权值无效，请检查参数</source>
        <translation>The calculated box weight is invalid; check the values</translation>
    </message>
    <message>
        <source>找不到对应的包裹配置</source>
        <translation>The box was not found</translation>
    </message>
    <message>
        <source>%1：应用目标爆率 %2%%（实际≈%3%%），包裹[%4] 被 %5 个怪物共用，已复制为包裹[%6]（权值 %7 → %8）</source>
        <translation>%1: applied target rate %2%% (actual ≈%3%%); Box[%4] is shared by %5 monsters, copied to Box[%6] (weight %7 → %8)</translation>
    </message>
    <message>
        <source>%1：应用目标爆率 %2%%（实际≈%3%%），包裹[%4] 权值 %5 → %6</source>
        <translation>%1: applied target rate %2%% (actual ≈%3%%), Box[%4] weight %5 → %6</translation>
    </message>
    <message>
        <source>统一怪物价值</source>
        <translation>Unify Monster Value</translation>
    </message>
    <message>
        <source>请输入统一的怪物价值:</source>
        <translation>Monster value for all selected:</translation>
    </message>
    <message>
        <source>%1：怪物价值 %2 → %3（原价值为0，无法保持爆率）</source>
        <translation>%1: monster value %2 → %3 (the old value was 0, the rates could not be kept)</translation>
    </message>
    <message>
        <source>%1：怪物价值 %2 → %3（已尽量保持爆率不变）</source>
        <translation>%1: monster value %2 → %3 (rates kept as closely as possible)</translation>
    </message>
    <message>
        <source>请先选择要编辑的怪物</source>
        <translation>Select the monsters to edit first</translation>
    </message>
    <message>
        <source>统一的怪物价值必须大于0</source>
        <translation>The monster value must be above 0</translation>
    </message>
    <message>
        <source>统一怪物价值：目标=%1，选择=%2，直接调整包裹=%3，复制新包裹=%4，跳过(原价值为0)=%5</source>
        <translation>Unify monster value: target=%1, selected=%2, boxes adjusted=%3, boxes copied=%4, skipped (old value 0)=%5</translation>
    </message>
    <message>
        <source>操作成功</source>
        <translation>Done</translation>
    </message>
    <message>
        <source>已统一 %1 个怪物的价值为 %2。
直接调整包裹 %3 个，复制新包裹 %4 个。
有 %5 个怪物因原价值为0无法保持爆率。</source>
        <translation>Set the value of %1 monsters to %2.
Adjusted %3 boxes, copied %4 new boxes.
%5 monsters could not keep their rates because their old value was 0.</translation>
    </message>
    <message>
        <source>包裹ID已达上限，无法创建新包裹</source>
        <translation>No box ID left; cannot create a new box</translation>
    </message>
    <message>
        <source>错误</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>设置文件 %1 格式错误</source>
        <translation>The settings file %1 is malformed</translation>
    </message>
    <message>
        <source>设置文件 %1 无法写入</source>
        <translation>The settings file %1 cannot be written</translation>
    </message>
    <message>
        <source>收藏夹未能保存，更改只在本次运行中有效。
原因：%1</source>
        <translation>The favorites could not be saved; the change lasts only until the program closes.
Reason: %1</translation>
    </message>
    <message>
        <source>怪物[%1]</source>
        <translation>Monster[%1]</translation>
    </message>
    <message>
        <source>怪物[%1:%2]</source>
        <translation>Monster[%1:%2]</translation>
    </message>
    <message>
        <source>怪物[未选择]</source>
        <translation>Monster[none selected]</translation>
    </message>
    <message>
        <source>...（共%1个）</source>
        <translation>... (%1 in all)</translation>
    </message>
    <message>
        <source>修改怪物价值</source>
        <translation>Change Monster Value</translation>
    </message>
    <message>
        <source>请输入新的怪物价值:</source>
        <translation>New monster value:</translation>
    </message>
    <message>
        <source>修改成功</source>
        <translation>Changed</translation>
    </message>
    <message>
        <source>已修改 %1 个怪物的价值为 %2</source>
        <translation>Set the value of %1 monsters to %2</translation>
    </message>
    <message>
        <source>修改怪物掉落类型</source>
        <translation>Change Drop Type</translation>
    </message>
    <message>
        <source>请选择掉落类型:</source>
        <translation>Drop type:</translation>
    </message>
    <message>
        <source>已修改 %1 个怪物的掉落类型为 %2</source>
        <translation>Set the drop type of %1 monsters to %2</translation>
    </message>
    <message>
        <source>确认清空</source>
        <translation>Confirm Clear</translation>
    </message>
    <message>
        <source>确定要清空 %1 个怪物的掉包配置吗？此操作不可恢复！</source>
        <translation>Clear the drop boxes of %1 monsters? This cannot be reverted!</translation>
    </message>
    <message>
        <source>%1：清空掉包配置（原有效掉包 %2 个，已重置为 9 个空槽位）</source>
        <translation>%1: cleared drop boxes (%2 boxes before, reset to 9 empty slots)</translation>
    </message>
    <message>
        <source>已清空 %1 个怪物的掉包配置</source>
        <translation>Cleared the drop boxes of %1 monsters</translation>
    </message>
    <message>
        <source>选中的怪物都有掉落包，无需设置</source>
        <translation>All selected monsters already have drop boxes; nothing to set</translation>
    </message>
    <message>
        <source>确认设置</source>
        <translation>Confirm</translation>
    </message>
    <message>
        <source>确定要将 %1 个没有掉落包的怪物设置为有掉落包吗？

注意：此操作将为这些怪物添加一个默认的空掉落包配置。</source>
        <translation>Give the %1 monsters without drop boxes drop boxes?

Note: this adds a default, empty drop box configuration to them.</translation>
    </message>
    <message>
        <source>%1：设置为有掉落（创建掉落配置：mValue=%2，类型=%3，默认掉落包=1）</source>
        <translation>%1: set to drop (created drop configuration: mValue=%2, type=%3, default box=1)</translation>
    </message>
    <message>
        <source>%1：设置为有掉落（补齐默认掉落包：1 + 8个空槽位）</source>
        <translation>%1: set to drop (filled in the default boxes: 1 + 8 empty slots)</translation>
    </message>
    <message>
        <source>设置成功</source>
        <translation>Set</translation>
    </message>
    <message>
        <source>已将 %1 个怪物设置为有掉落包</source>
        <translation>%1 monsters now have drop boxes</translation>
    </message>
    <message>
        <source>选中的怪物都没有掉落包，无需设置</source>
        <translation>None of the selected monsters has drop boxes; nothing to set</translation>
    </message>
    <message>
        <source>确定要将 %1 个有掉落包的怪物设置为无掉落吗？

注意：此操作将删除这些怪物的掉落配置，不可恢复！</source>
        <translation>Set the %1 monsters with drop boxes to drop nothing?

Note: this deletes their drop configuration and cannot be reverted!</translation>
    </message>
    <message>
        <source>%1：设置为无掉落（已删除掉落配置）</source>
        <translation>%1: set to no drops (drop configuration deleted)</translation>
    </message>
    <message>
        <source>已将 %1 个怪物设置为无掉落</source>
        <translation>%1 monsters now drop nothing</translation>
    </message>
    <message>
        <source>%1：禁用掉落（已删除掉落配置）</source>
        <translation>%1: drops disabled (drop configuration deleted)</translation>
    </message>
    <message>
        <source>%1：启用掉落，类型=%2，怪物价值=%3，掉包数=%4</source>
        <translation>%1: drops enabled, type=%2, monster value=%3, boxes=%4</translation>
    </message>
    <message>
        <source>已修改 %1 个怪物的掉落属性</source>
        <translation>Changed the drop attributes of %1 monsters</translation>
    </message>
    <message>
        <source>Lootwright - 四栏布局[*]</source>
        <translation>Lootwright - Four-Column Layout[*]</translation>
    </message>
    <message>
        <source>包裹操作</source>
        <translation>Box Actions</translation>
    </message>
    <message>
        <source>复制此包裹</source>
        <translation>Copy This Box</translation>
    </message>
    <message>
        <source>删除此包裹</source>
        <translation>Delete This Box</translation>
    </message>
    <message>
        <source>物品操作</source>
        <translation>Item Actions</translation>
    </message>
    <message>
        <source>删除此物品</source>
        <translation>Delete This Item</translation>
    </message>
    <message>
        <source>粘贴怪物爆率</source>
        <translation>Paste Monster Drops</translation>
    </message>
    <message>
        <source>显示爆率</source>
        <translation>Show Rates</translation>
    </message>
    <message>
        <source>不显示爆率</source>
        <translation>Hide Rates</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>导出爆率表</source>
        <translation>Export Drop Rates</translation>
    </message>
    <message>
        <source>导出HTML是否显示爆率列？</source>
        <translation>Show the drop rate column in the exported HTML?</translation>
    </message>
    <message>
        <source>导出爆率表到HTML</source>
        <translation>Export Drop Rates to HTML</translation>
    </message>
    <message>
        <source>HTML 文件 (*.html)</source>
        <translation>HTML files (*.html)</translation>
    </message>
    <message>
        <source>配置文件 (*.txt);;所有文件 (*.*)</source>
        <translation>Configuration files (*.txt);;All files (*.*)</translation>
    </message>
    <message>
        <source>配置已保存

请将以下文件上传到服务器相应目录并重启服务：
1. MonsterDropBoxs.txt → qirn/Server/Config/
2. DropBoxContent.txt → qirn/Server/Config/

重启服务器后配置才会生效！</source>
        <translation>Configuration saved

Upload these files to the server&apos;s folders and restart the service:
1. MonsterDropBoxs.txt → qirn/Server/Config/
2. DropBoxContent.txt → qirn/Server/Config/

The configuration takes effect only after the server restarts!</translation>
    </message>
    <message>
        <source>打开怪物掉落配置</source>
        <translation>Open Monster Drop Configuration</translation>
    </message>
    <message>
        <source>加载失败</source>
        <translation>Load Failed</translation>
    </message>
    <message>
        <source>无法加载怪物配置：
%1</source>
        <translation>Cannot load the monster configuration:
%1</translation>
    </message>
    <message>
        <source>加载成功</source>
        <translation>Loaded</translation>
    </message>
    <message>
        <source>成功加载 %1 个怪物掉落配置</source>
        <translation>Loaded %1 monster drop records</translation>
    </message>
    <message>
        <source>打开包裹内容配置</source>
        <translation>Open Box Content Configuration</translation>
    </message>
    <message>
        <source>无法加载包裹配置：
%1</source>
        <translation>Cannot load the box configuration:
%1</translation>
    </message>
    <message>
        <source>成功加载 %1 个包裹配置</source>
        <translation>Loaded %1 boxes</translation>
    </message>
    <message>
        <source>保存怪物掉落配置</source>
        <translation>Save Monster Drop Configuration</translation>
    </message>
    <message>
        <source>怪物掉落配置已修改但没有文件，未保存。</source>
        <translation>The monster drop configuration changed but has no file; it was not saved.</translation>
    </message>
    <message>
        <source>保存包裹内容配置</source>
        <translation>Save Box Content Configuration</translation>
    </message>
    <message>
        <source>包裹内容配置已修改但没有文件，未保存。</source>
        <translation>The box content configuration changed but has no file; it was not saved.</translation>
    </message>
    <message>
        <source>没有已加载的配置文件，无需保存</source>
        <translation>No configuration file is loaded; nothing to save</translation>
    </message>
    <message>
        <source>无法保存怪物配置：
%1</source>
        <translation>Cannot save the monster configuration:
%1</translation>
    </message>
    <message>
        <source>无法保存包裹配置：
%1</source>
        <translation>Cannot save the box configuration:
%1</translation>
    </message>
    <message>
        <source>保存配置：%1</source>
        <translation>Saved configuration: %1</translation>
    </message>
    <message>
        <source>；</source>
        <translation>; </translation>
    </message>
    <message>
        <source>保存成功</source>
        <translation>Saved</translation>
    </message>
    <message>
        <source>另存怪物掉落配置：%1</source>
        <translation>Saved the monster drop configuration as: %1</translation>
    </message>
    <message>
        <source>显示全部</source>
        <translation>Show All</translation>
    </message>
    <message>
        <source>只显示有掉落</source>
        <translation>Drops Only</translation>
    </message>
    <message>
        <source>已清空操作日志</source>
        <translation>Operation log cleared</translation>
    </message>
    <message>
        <source>已复制操作日志到剪贴板</source>
        <translation>Operation log copied to the clipboard</translation>
    </message>
    <message>
        <source>汇总操作</source>
        <translation>Summary Actions</translation>
    </message>
    <message>
        <source>怪物[%1] 不在怪物列表中（怪物表中没有该怪物）</source>
        <translation>Monster[%1] is not in the monster list (the monster table lacks it)</translation>
    </message>
    <message>
        <source>包裹[%1] 没有被任何怪物引用，无法在主窗口中选中</source>
        <translation>Box[%1] is not used by any monster and cannot be selected in the main window</translation>
    </message>
    <message>
        <source>怪物操作</source>
        <translation>Monster Actions</translation>
    </message>
    <message>
        <source>清空怪物掉包</source>
        <translation>Clear Monster Drop Boxes</translation>
    </message>
    <message>
        <source>复制怪物爆率</source>
        <translation>Copy Monster Drops</translation>
    </message>
    <message>
        <source>设置为有掉落</source>
        <translation>Set to Drop</translation>
    </message>
    <message>
        <source>设置为无掉落</source>
        <translation>Set to No Drops</translation>
    </message>
    <message>
        <source>设置目标爆率</source>
        <translation>Set Target Drop Rate</translation>
    </message>
    <message>
        <source>%1（%2条记录，显示第一条）</source>
        <translation>%1 (%2 records, showing the first)</translation>
    </message>
    <message>
        <source>队伍</source>
        <translation>Team</translation>
    </message>
    <message>
        <source>个人</source>
        <translation>Personal</translation>
    </message>
    <message>
        <source>无配置</source>
        <translation>Not configured</translation>
    </message>
    <message>
        <source>打开怪物掉落配置...</source>
        <translation>Open Monster Drop Configuration...</translation>
    </message>
    <message>
        <source>打开包裹内容配置...</source>
        <translation>Open Box Content Configuration...</translation>
    </message>
    <message>
        <source>包裹管理器...</source>
        <translation>Box Manager...</translation>
    </message>
    <message>
        <source>物品库管理器...</source>
        <translation>Item Library...</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>另存为...</source>
        <translation>Save As...</translation>
    </message>
    <message>
        <source>导出爆率表到HTML...</source>
        <translation>Export Drop Rates to HTML...</translation>
    </message>
    <message>
        <source>退出</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>编辑怪物属性...</source>
        <translation>Edit Monster Attributes...</translation>
    </message>
    <message>
        <source>文件</source>
        <translation>File</translation>
    </message>
    <message>
        <source>编辑</source>
        <translation>Edit</translation>
    </message>
    <message>
        <source>工具</source>
        <translation>Tools</translation>
    </message>
    <message>
        <source>加载爆率</source>
        <translation>Load Rates</translation>
    </message>
    <message>
        <source>自动加载程序目录下的配置文件</source>
        <translation>Load the configuration files from the program&apos;s folder</translation>
    </message>
    <message>
        <source>保存爆率</source>
        <translation>Save Rates</translation>
    </message>
    <message>
        <source>保存当前的爆率配置</source>
        <translation>Save the current drop configuration</translation>
    </message>
    <message>
        <source>导出爆率</source>
        <translation>Export Rates</translation>
    </message>
    <message>
        <source>导出爆率表到HTML文件</source>
        <translation>Export the drop rates to an HTML file</translation>
    </message>
    <message>
        <source>怪物列表</source>
        <translation>Monsters</translation>
    </message>
    <message>
        <source>搜索怪物ID或名称...</source>
        <translation>Search monster ID or name...</translation>
    </message>
    <message>
        <source>怪物ID:</source>
        <translation>Monster ID:</translation>
    </message>
    <message>
        <source>包裹数量:</source>
        <translation>Boxes:</translation>
    </message>
    <message>
        <source>包裹价值:</source>
        <translation>Box value:</translation>
    </message>
    <message>
        <source>是否绑定:</source>
        <translation>Bound:</translation>
    </message>
    <message>
        <source>强制绑定</source>
        <translation>Force bind</translation>
    </message>
    <message>
        <source>掉落广播编号:</source>
        <translation>Drop broadcast ID:</translation>
    </message>
    <message>
        <source>-1(无) 或广播ID</source>
        <translation>-1 (none) or broadcast ID</translation>
    </message>
    <message>
        <source>当前爆率(%):</source>
        <translation>Current rate (%):</translation>
    </message>
    <message>
        <source>目标爆率(%):</source>
        <translation>Target rate (%):</translation>
    </message>
    <message>
        <source>应用</source>
        <translation>Apply</translation>
    </message>
    <message>
        <source>根据目标爆率自动计算并修改包裹权值</source>
        <translation>Calculate the box weight from the target rate and set it</translation>
    </message>
    <message>
        <source>物品详情</source>
        <translation>Item Details</translation>
    </message>
    <message>
        <source>操作日志</source>
        <translation>Operation Log</translation>
    </message>
    <message>
        <source>清空日志</source>
        <translation>Clear Log</translation>
    </message>
    <message>
        <source>复制日志</source>
        <translation>Copy Log</translation>
    </message>
    <message>
        <source>物品管理器</source>
        <translation>Items</translation>
    </message>
    <message>
        <source>打开物品库管理器（含收藏夹）</source>
        <translation>Open the item library (with favorites)</translation>
    </message>
    <message>
        <source>打开包裹管理器</source>
        <translation>Open the box manager</translation>
    </message>
    <message>
        <source>这里会记录对爆率配置的修改操作，例如：对怪物ID/名称的爆率进行了什么变更。</source>
        <translation>Changes to the drop configuration are logged here, e.g. how the drop rates of which monster ID/name changed.</translation>
    </message>
    <message>
        <source>全掉落汇总</source>
        <translation>All Drops</translation>
    </message>
    <message>
        <source>撤销</source>
        <translation>Undo</translation>
    </message>
    <message>
        <source>重做</source>
        <translation>Redo</translation>
    </message>
    <message>
        <source>撤销：%1</source>
        <translation>Undo: %1</translation>
    </message>
    <message>
        <source>重做：%1</source>
        <translation>Redo: %1</translation>
    </message>
    <message>
        <source>修改物品ID</source>
        <translation>Change Item ID</translation>
    </message>
    <message>
        <source>未保存的修改</source>
        <translation>Unsaved Changes</translation>
    </message>
    <message>
        <source>配置已修改，是否先保存？</source>
        <translation>The configuration has changed. Save it first?</translation>
    </message>
    <message>
        <source>不保存</source>
        <translation>Don&apos;t Save</translation>
    </message>
    <message>
        <source>类别</source>
        <translation>Kind</translation>
    </message>
    <message>
        <source>说明</source>
        <translation>Description</translation>
    </message>
    <message>
        <source>名称</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>分类</source>
        <translation>Category</translation>
    </message>
    <message>
        <source>物品数</source>
        <translation>Items</translation>
    </message>
    <message>
        <source>等级</source>
        <translation>Level</translation>
    </message>
    <message>
        <source>请先加载怪物掉落配置和包裹内容配置</source>
        <translation>Load the monster drop and box content configurations first</translation>
    </message>
    <message>
        <source>未找到可导出的掉落数据</source>
        <translation>No drop data to export</translation>
    </message>
    <message>
        <source>导出失败</source>
        <translation>Export Failed</translation>
    </message>
    <message>
        <source>导出成功</source>
        <translation>Exported</translation>
    </message>
    <message>
        <source>已导出爆率表到：
%1</source>
        <translation>Drop rates exported to:
%1</translation>
    </message>
    <message>
        <source>设置</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>语言</source>
        <translation>Language</translation>
    </message>
    <message>
        <source>语言设置未能保存：设置文件 %1 无法写入</source>
        <translation>The language could not be saved: the settings file %1 cannot be written</translation>
    </message>
    <message>
        <source>界面语言将在重新启动后生效。</source>
        <translation>The interface language changes after a restart.</translation>
    </message>
    <message>
        <source>读取出错</source>
        <translation>read error</translation>
    </message>
    <message>
        <source>写入出错</source>
        <translation>write error</translation>
    </message>
    <message>
        <source>磁盘空间或系统资源不足</source>
        <translation>out of disk space or system resources</translation>
    </message>
    <message>
        <source>无法打开</source>
        <translation>cannot open</translation>
    </message>
    <message>
        <source>无法删除</source>
        <translation>cannot delete</translation>
    </message>
    <message>
        <source>无法重命名</source>
        <translation>cannot rename</translation>
    </message>
    <message>
        <source>无法改变文件大小</source>
        <translation>cannot change the file size</translation>
    </message>
    <message>
        <source>没有权限</source>
        <translation>permission denied</translation>
    </message>
    <message>
        <source>文件操作失败（错误代码 %1）</source>
        <translation>file operation failed (error code %1)</translation>
    </message>
    <message>
        <source>%1（%2）</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>文件未打开</source>
        <translation>file not open</translation>
    </message>
    <message>
        <source>写入不完整：应写入 %1 字节，文件只有 %2 字节</source>
        <translation>incomplete write: %1 bytes expected, the file has %2</translation>
    </message>
    <message>
        <source>%1 有 %2 个包裹在第 %3 个掉落槽位之后，文件只保存 %3 个槽位，重新加载后会丢失</source>
        <translation>%1 has %2 boxes after drop slot %3; the file keeps only %3 slots, so they are lost on reloading</translation>
    </message>
    <message>
        <source>%1 有 %2 个物品在第 %3 个物品槽位之后，文件只保存 %3 个槽位，重新加载后会丢失</source>
        <translation>%1 has %2 items after item slot %3; the file keeps only %3 slots, so they are lost on reloading</translation>
    </message>
    <message>
        <source>掉落槽位超过20个</source>
        <translation>Over 20 drop slots</translation>
    </message>
    <message>
        <source>物品槽位超过100个</source>
        <translation>Over 100 item slots</translation>
    </message>
    <message>
        <source>无法替换文件：%1</source>
        <translation>Cannot replace file: %1</translation>
    </message>
    <message>
        <source>无法替换文件：%1（%2）</source>
        <translation>Cannot replace file: %1 (%2)</translation>
    </message>
    <message>
        <source>。另一个文件已经替换且无法还原，下次加载时会完成这次保存。</source>
        <translation>. The other file was already replaced and cannot be restored; the next load completes this save.</translation>
    </message>
    <message>
        <source>50%需击杀</source>
        <translation>Kills for 50%</translation>
    </message>
    <message>
        <source>90%需击杀</source>
        <translation>Kills for 90%</translation>
    </message>
    <message>
        <source>99%需击杀</source>
        <translation>Kills for 99%</translation>
    </message>
    <message>
        <source>合计</source>
        <translation>Total</translation>
    </message>
    <message>
        <source>无法读取 %1：%2</source>
        <translation>Cannot read %1: %2</translation>
    </message>
    <message>
        <source>复制时 %1 的大小发生了变化</source>
        <translation>The size of %1 changed while it was copied</translation>
    </message>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
    <message>
        <source>无法写入保存日志：%1</source>
        <translation>Cannot write the save journal: %1</translation>
    </message>
    <message>
        <source>已删除无法读取的保存日志：%1</source>
        <translation>Deleted an unreadable save journal: %1</translation>
    </message>
    <message>
        <source>无法完成上次中断的保存：无法替换 %1（%2）</source>
        <translation>Cannot complete the interrupted save: cannot replace %1 (%2)</translation>
    </message>
    <message>
        <source>已完成上次中断的保存：%1</source>
        <translation>Completed the interrupted save: %1</translation>
    </message>
    <message>
        <source>上次中断的保存只能部分完成，请检查：%1</source>
        <translation>The interrupted save could only be partly completed, please check: %1</translation>
    </message>
    <message>
        <source>已放弃上次未完成的保存，文件保持原样：%1</source>
        <translation>Discarded the unfinished save, the files are unchanged: %1</translation>
    </message>
    <message>
        <source>%1
%2 次击杀：至少掉落一次的概率 %3</source>
        <translation>%1
%2 kills: chance of at least one drop %3</translation>
    </message>
    <message>
        <source>击杀次数</source>
        <translation>Kills</translation>
    </message>
    <message>
        <source>查看修改</source>
        <translation>Changes</translation>
    </message>
    <message>
        <source>按ID或名称筛选</source>
        <translation>Filter by ID or name</translation>
    </message>
    <message>
        <source>复制列表</source>
        <translation>Copy List</translation>
    </message>
    <message>
        <source>保存为文本...</source>
        <translation>Save as Text...</translation>
    </message>
    <message>
        <source>没有修改</source>
        <translation>No changes</translation>
    </message>
    <message>
        <source>记录修改 %1 项，爆率变化 %2 项</source>
        <translation>%1 record changes, %2 rate changes</translation>
    </message>
    <message>
        <source>记录修改</source>
        <translation>Records</translation>
    </message>
    <message>
        <source>爆率变化</source>
        <translation>Rates</translation>
    </message>
    <message>
        <source>保存修改列表</source>
        <translation>Save Change List</translation>
    </message>
    <message>
        <source>文本文件 (*.txt)</source>
        <translation>Text files (*.txt)</translation>
    </message>
    <message>
        <source>已保存修改列表到：
%1</source>
        <translation>Saved the change list to:
%1</translation>
    </message>
    <message>
        <source>怪物 %1</source>
        <translation>Monster %1</translation>
    </message>
    <message>
        <source>模拟击杀 - 怪物[%1%2]</source>
        <translation>Simulate Kills - Monster[%1%2]</translation>
    </message>
    <message>
        <source>新种子</source>
        <translation>New Seed</translation>
    </message>
    <message>
        <source>运行模拟</source>
        <translation>Run</translation>
    </message>
    <message>
        <source>随机种子</source>
        <translation>Seed</translation>
    </message>
    <message>
        <source>首次掉落物品</source>
        <translation>First-drop item</translation>
    </message>
    <message>
        <source>玩家数</source>
        <translation>Players</translation>
    </message>
    <message>
        <source>种子无效：应为 0 到 18446744073709551615 的整数，未运行模拟</source>
        <translation>Invalid seed: it must be a whole number from 0 to 18446744073709551615; the simulation did not run</translation>
    </message>
    <message>
        <source>该怪物没有可掉落的物品</source>
        <translation>This monster drops no items</translation>
    </message>
    <message>
        <source> 首次掉落：</source>
        <translation> first drop: </translation>
    </message>
    <message>
        <source>（不超过）</source>
        <translation> (at most)</translation>
    </message>
    <message>
        <source>%1 次击杀：%2 名玩家（%3）</source>
        <translation>%1 kills: %2 players (%3)</translation>
    </message>
    <message>
        <source>文件已被其他程序修改：%1</source>
        <translation>File changed by another program: %1</translation>
    </message>
    <message>
        <source>无法创建目录：%1</source>
        <translation>Cannot create directory: %1</translation>
    </message>
    <message>
        <source>剪贴板中的掉落配置在第 %1 个槽位之后还有 %2 个包裹，怪物最多只有 %1 个掉落槽位</source>
        <translation>The drops on the clipboard have %2 more boxes after slot %1; a monster has at most %1 drop slots</translation>
    </message>
    <message>
        <source>怪物文件表头</source>
        <translation>Monster file header</translation>
    </message>
    <message>
        <source>包裹文件表头</source>
        <translation>Box file header</translation>
    </message>
    <message>
        <source>包裹文件注释</source>
        <translation>Box file comments</translation>
    </message>
    <message>
        <source>新增怪物</source>
        <translation>Monster added</translation>
    </message>
    <message>
        <source>删除怪物</source>
        <translation>Monster removed</translation>
    </message>
    <message>
        <source>掉落类型</source>
        <translation>Drop Type</translation>
    </message>
    <message>
        <source>掉落槽位</source>
        <translation>Drop slot</translation>
    </message>
    <message>
        <source>槽位数</source>
        <translation>Slot count</translation>
    </message>
    <message>
        <source>重复怪物</source>
        <translation>Repeated monster</translation>
    </message>
    <message>
        <source>新增包裹</source>
        <translation>Box added</translation>
    </message>
    <message>
        <source>广播ID</source>
        <translation>Broadcast ID</translation>
    </message>
    <message>
        <source>物品槽位</source>
        <translation>Item slots</translation>
    </message>
    <message>
        <source>重复包裹</source>
        <translation>Repeated box</translation>
    </message>
    <message>
        <source>爆率改变</source>
        <translation>Rate changed</translation>
    </message>
    <message>
        <source>新掉落</source>
        <translation>New drop</translation>
    </message>
    <message>
        <source>不再掉落</source>
        <translation>No longer dropped</translation>
    </message>
    <message>
        <source>空</source>
        <translation>empty</translation>
    </message>
    <message>
        <source>空(%1)</source>
        <translation>empty (%1)</translation>
    </message>
    <message>
        <source>%1：%2 → %3</source>
        <translation>%1: %2 → %3</translation>
    </message>
    <message>
        <source>%1第%2行</source>
        <translation>%1 line %2</translation>
    </message>
    <message>
        <source>包裹文件注释行内容有改动（%1 行）</source>
        <translation>Box file comment lines changed (%1 lines)</translation>
    </message>
    <message>
        <source>包裹文件注释行</source>
        <translation>Box file comment lines</translation>
    </message>
    <message>
        <source>%1 行</source>
        <translation>%1 lines</translation>
    </message>
    <message>
        <source>%1 %2：怪物价值 %3，掉落类型 %4，包裹 %5</source>
        <translation>%1 %2: value %3, drop type %4, boxes %5</translation>
    </message>
    <message>
        <source>新增掉落记录</source>
        <translation>drop record added</translation>
    </message>
    <message>
        <source>删除掉落记录</source>
        <translation>drop record removed</translation>
    </message>
    <message>
        <source>无</source>
        <translation>none</translation>
    </message>
    <message>
        <source> 怪物价值</source>
        <translation> value</translation>
    </message>
    <message>
        <source> 掉落类型</source>
        <translation> drop type</translation>
    </message>
    <message>
        <source> 槽位</source>
        <translation> slot </translation>
    </message>
    <message>
        <source> 槽位数</source>
        <translation> slot count</translation>
    </message>
    <message>
        <source>%1 重复的记录有改动：共 %2 条（只有第一条生效）</source>
        <translation>%1 repeated records changed: %2 in all (only the first takes effect)</translation>
    </message>
    <message>
        <source>%1 重复记录：%2 条 → %3 条（只有第一条生效）</source>
        <translation>%1 repeated records: %2 → %3 (only the first takes effect)</translation>
    </message>
    <message>
        <source>%1 %2：权值 %3，物品 %4 个</source>
        <translation>%1 %2: weight %3, %4 items</translation>
    </message>
    <message>
        <source>新增</source>
        <translation>added</translation>
    </message>
    <message>
        <source>删除</source>
        <translation>removed</translation>
    </message>
    <message>
        <source> 权值</source>
        <translation> weight</translation>
    </message>
    <message>
        <source> 广播ID</source>
        <translation> broadcast ID</translation>
    </message>
    <message>
        <source> 拾取绑定</source>
        <translation> bound</translation>
    </message>
    <message>
        <source>添加</source>
        <translation>add</translation>
    </message>
    <message>
        <source>（%1 个槽位）</source>
        <translation> (%1 slots)</translation>
    </message>
    <message>
        <source> 物品的槽位或等级有改动（物品不变）</source>
        <translation> item slots or grades changed (same items)</translation>
    </message>
    <message>
        <source>%1 重复的包裹有改动：共 %2 个（只有第一个生效）</source>
        <translation>%1 repeated boxes changed: %2 in all (only the first takes effect)</translation>
    </message>
    <message>
        <source>%1 重复：%2 个 → %3 个（只有第一个生效）</source>
        <translation>%1 repeated: %2 → %3 (only the first takes effect)</translation>
    </message>
    <message>
        <source>不掉落</source>
        <translation>not dropped</translation>
    </message>
    <message>
        <source>（1/</source>
        <translation> (1/</translation>
    </message>
    <message>
        <source>%1 的 %2 个掉落槽位已全部使用，无法再加入包裹</source>
        <translation>All %2 drop slots of %1 are used; no more boxes can be added</translation>
    </message>
    <message>
        <source>包裹[%1] 最多只能有 %2 个物品槽位：还有 %3 个空位，无法添加 %4 个物品</source>
        <translation>Box[%1] has at most %2 item slots: %3 are free, %4 items cannot be added</translation>
    </message>
    <message>
        <source>物品[%1]</source>
        <translation>Item[%1]</translation>
    </message>
    <message>
        <source>物品[%1:%2]</source>
        <translation>Item[%1:%2]</translation>
    </message>
    <message>
        <source>查看掉落曲线</source>
        <translation>Drop Curve</translation>
    </message>
    <message>
        <source>查看修改...</source>
        <translation>Review Changes...</translation>
    </message>
    <message>
        <source>文件已被其他程序修改，已重新加载：%1</source>
        <translation>File changed by another program, reloaded: %1</translation>
    </message>
    <message>
        <source>已重新加载 %1（其他程序修改了它）</source>
        <translation>Reloaded %1 (another program changed it)</translation>
    </message>
    <message>
        <source>从磁盘重新加载</source>
        <translation>Reload from Disk</translation>
    </message>
    <message>
        <source>保留我的修改</source>
        <translation>Keep My Changes</translation>
    </message>
    <message>
        <source>%1 已被其他程序修改%2</source>
        <translation>%1 was changed by another program%2</translation>
    </message>
    <message>
        <source>，而这里有未保存的修改。</source>
        <translation>, and there are unsaved changes here.</translation>
    </message>
    <message>
        <source>，但无法读取。</source>
        <translation>, but it cannot be read.</translation>
    </message>
    <message>
        <source>重新加载将丢弃 %1 未保存的修改，是否继续？</source>
        <translation>Reloading discards the unsaved changes to %1. Continue?</translation>
    </message>
    <message>
        <source>重新加载</source>
        <translation>Reload</translation>
    </message>
    <message>
        <source>从磁盘重新加载：%1</source>
        <translation>Reloaded from disk: %1</translation>
    </message>
    <message>
        <source>文件已被修改</source>
        <translation>Files Changed</translation>
    </message>
    <message>
        <source>以下文件在上次读取或保存之后已被其他程序修改：
%1

覆盖将丢失其他程序所做的修改。</source>
        <translation>These files were changed by another program after they were last read or saved:
%1

Overwriting loses the other program&apos;s changes.</translation>
    </message>
    <message>
        <source>覆盖</source>
        <translation>Overwrite</translation>
    </message>
    <message>
        <source>恢复未保存的修改</source>
        <translation>Recover Unsaved Changes</translation>
    </message>
    <message>
        <source>上次编辑未正常结束，留下 %1 项未保存的修改；但以下文件在那之后已被修改，这些修改无法恢复，只能丢弃：
%2</source>
        <translation>The last session did not end normally and left %1 unsaved changes; but these files have changed since, so the changes cannot be recovered, only discarded:
%2</translation>
    </message>
    <message>
        <source>丢弃</source>
        <translation>Discard</translation>
    </message>
    <message>
        <source>丢弃上次未保存的修改：%1 项（文件已被修改）</source>
        <translation>Discarded the last session&apos;s unsaved changes: %1 (the files had changed)</translation>
    </message>
    <message>
        <source>上次编辑未正常结束，留下 %1 项未保存的修改。

恢复：重新应用这些修改（不写入文件，可以撤销）。
丢弃：删除这些修改。</source>
        <translation>The last session did not end normally and left %1 unsaved changes.

Recover: apply them again (nothing is written; they can be undone).
Discard: delete them.</translation>
    </message>
    <message>
        <source>

恢复日志的末尾已损坏，只能恢复损坏之前的修改。</source>
        <translation>

The end of the recovery journal is damaged; only the changes before the damage can be recovered.</translation>
    </message>
    <message>
        <source>恢复</source>
        <translation>Recover</translation>
    </message>
    <message>
        <source>丢弃上次未保存的修改：%1 项</source>
        <translation>Discarded the last session&apos;s unsaved changes: %1</translation>
    </message>
    <message>
        <source>恢复上次未保存的修改：%1 项</source>
        <translation>Recovered the last session&apos;s unsaved changes: %1</translation>
    </message>
    <message>
        <source>有一项修改与文件现在的内容不符，恢复在此停止；已恢复之前的 %1 项修改。</source>
        <translation>A change does not fit the files as they are now, so recovery stopped there; the %1 changes before it were recovered.</translation>
    </message>
    <message>
        <source>恢复日志的末尾已损坏：已恢复损坏之前的 %1 项修改。</source>
        <translation>The end of the recovery journal is damaged: the %1 changes before the damage were recovered.</translation>
    </message>
    <message>
        <source>导出CSV...</source>
        <translation>Export CSV...</translation>
    </message>
    <message>
        <source>模拟击杀</source>
        <translation>Simulate Kills</translation>
    </message>
    <message>
        <source>导出CSV</source>
        <translation>Export CSV</translation>
    </message>
    <message>
        <source>导出CSV是否包含爆率列？</source>
        <translation>Include the rate columns in the CSV?</translation>
    </message>
    <message>
        <source>导出爆率表到CSV</source>
        <translation>Export Drop Rates to CSV</translation>
    </message>
    <message>
        <source>CSV 文件 (*.csv)</source>
        <translation>CSV files (*.csv)</translation>
    </message>
    <message>
        <source>请先选择一个有掉落配置的怪物</source>
        <translation>Please select a monster with drops first</translation>
    </message>
    <message>
        <source>掉落曲线 - %1 %2</source>
        <translation>Drop Curve - %1 %2</translation>
    </message>
    <message>
        <source>期望次数</source>
        <translation>Expected</translation>
    </message>
    <message>
        <source>模拟次数</source>
        <translation>Simulated</translation>
    </message>
    <message>
        <source>合计爆率</source>
        <translation>Total Rate</translation>
    </message>
    <message>
        <source>期望数量</source>
        <translation>Expected Copies</translation>
    </message>
    <message>
        <source>模拟数量</source>
        <translation>Simulated Copies</translation>
    </message>
    <message>
        <source>首次掉落所需击杀</source>
        <translation>Kills to First Drop</translation>
    </message>
    <message>
        <source>占比</source>
        <translation>Share</translation>
    </message>
    <message>
        <source>超过 %1</source>
        <translation>over %1</translation>
    </message>
    <message>
        <source>从不掉落</source>
        <translation>never dropped</translation>
    </message>
    <message>
        <source>从不</source>
        <translation>never</translation>
    </message>
    <message>
        <source>%1 名玩家：该物品每次击杀的掉落概率为 0</source>
        <translation>%1 players: the item&apos;s chance per kill is 0</translation>
    </message>
    <message>
        <source>%1 名玩家：平均 %2 次（期望 %3 次），中位数 %4 次</source>
        <translation>%1 players: mean %2 kills (expected %3), median %4</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>打开配置目录</source>
        <translation>Open Configuration Folder</translation>
    </message>
    <message>
        <source>最近打开</source>
        <translation>Recent Folders</translation>
    </message>
    <message>
        <source>配置目录不存在，已从最近打开列表中移除：
%1</source>
        <translation>The folder no longer exists and was removed from the recent list:
%1</translation>
    </message>
    <message>
        <source>已打开配置目录：%1 个怪物掉落配置，%2 个包裹配置</source>
        <translation>Folder opened: %1 monster drop records, %2 boxes</translation>
    </message>
    <message>
        <source>（无）</source>
        <translation>(none)</translation>
    </message>
    <message>
        <source>未打开配置目录：请用 文件 → 打开配置目录... 或 文件 → 最近打开</source>
        <translation>No folder open: use File → Open Configuration Folder... or File → Recent Folders</translation>
    </message>
    <message>
        <source>配置目录：%1</source>
        <translation>Folder: %1</translation>
    </message>
    <message>
        <source>打开配置目录...</source>
        <translation>Open Configuration Folder...</translation>
    </message>
    <message>
        <source>清除列表</source>
        <translation>Clear List</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>Lootwright：游戏服务器怪物爆率配置编辑器</source>
        <translation>Lootwright: monster drop rate editor for game servers</translation>
    </message>
    <message>
        <source>要打开的配置目录（缺省为程序旁的 config 目录，没有时为最近打开的目录）</source>
        <translation>The configuration folder to open (by default the config folder beside the program, or else the most recent folder)</translation>
    </message>
    <message>
        <source>只能指定一个配置目录</source>
        <translation>Give at most one configuration folder</translation>
    </message>
    <message>
        <source>配置目录不存在：%1</source>
        <translation>No such configuration folder: %1</translation>
    </message>
</context>
</TS>
