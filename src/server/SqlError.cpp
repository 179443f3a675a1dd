#include "server/SqlError.h"

#include <map>

namespace server {

namespace {

struct Message {
    const char *text;
    ErrorScope scope;
};

// Numbers and texts as the server reports them. A number missing here is a
// statement-terminating error with the text given at the raise site.
const std::map<int, Message> &messageTable() {
    static const std::map<int, Message> table = {
        {102, {"'%1' 附近有语法错误。%2", ErrorScope::Parse}},
        {156, {"关键字 '%1' 附近有语法错误。%2", ErrorScope::Parse}},
        {105, {"字符串 '%1' 后的引号不完整。", ErrorScope::Parse}},
        {113, {"缺少注释结束标记 '*/'。", ErrorScope::Parse}},
        {170, {"第 1 行: '%1' 附近有语法错误。", ErrorScope::Parse}},
        {103, {"以 '%1' 开头的 标识符 太长。最大长度为 128。", ErrorScope::Parse}},
        {4145, {"在应使用条件的上下文(在 '%1' 附近)中指定了非布尔类型的表达式。", ErrorScope::Parse}},
        {208, {"对象名 '%1' 无效。", ErrorScope::Batch}},
        {207, {"列名 '%1' 无效。", ErrorScope::Batch}},
        {209, {"列名 '%1' 不明确。", ErrorScope::Batch}},
        {4104, {"无法绑定由多个部分组成的标识符 \"%1\"。", ErrorScope::Batch}},
        {245, {"在将 %1 值 '%2' 转换成数据类型 %3 时失败。", ErrorScope::Batch}},
        {8114, {"从数据类型 %1 转换为 %2 时出错。", ErrorScope::Batch}},
        {235, {"无法将 char 值转换为 money。char 值的语法有误。", ErrorScope::Batch}},
        {241, {"从字符串转换日期和/或时间时，转换失败。", ErrorScope::Batch}},
        {242, {"从 char 数据类型到 datetime 数据类型的转换导致 datetime 值越界。", ErrorScope::Batch}},
        {8115, {"将 %1 转换为数据类型 %2 时出现算术溢出错误。", ErrorScope::Statement}},
        {220, {"数据类型 %1 的算术溢出错误，值 = %2。", ErrorScope::Statement}},
        {8134, {"遇到以零作除数错误。", ErrorScope::Statement}},
        {8152, {"将截断字符串或二进制数据。", ErrorScope::Statement}},
        {515, {"不能将值 NULL 插入列 '%1'，表 '%2'；列不允许有 Null 值。INSERT 失败。", ErrorScope::Statement}},
        {2627, {"违反了 PRIMARY KEY 约束 '%1'。不能在对象 '%2' 中插入重复键。", ErrorScope::Statement}},
        {2601, {"不能在具有唯一索引 '%1' 的对象 '%2' 中插入重复键的行。", ErrorScope::Statement}},
        {512,
         {"子查询返回的值不止一个。当子查询跟随在 =、!=、<、<=、>、>= 之后，或子查询用作表达式时，这种情况是不允许的。",
          ErrorScope::Statement}},
        {544, {"当 IDENTITY_INSERT 设置为 OFF 时，不能为表 '%1' 中的标识列插入显式值。", ErrorScope::Statement}},
        {8101,
         {"仅当使用了列列表并且 IDENTITY_INSERT 为 ON 时，才能为表 '%1' 中的标识列指定显式值。",
          ErrorScope::Statement}},
        {8107, {"表 '%1' 的 IDENTITY_INSERT 已经为 ON。无法对表 '%2' 执行 SET 操作。", ErrorScope::Statement}},
        {213, {"列名或所提供值的数目与表定义不匹配。", ErrorScope::Statement}},
        {109,
         {"INSERT 语句中列的数目大于 VALUES 子句中指定的值的数目。VALUES 子句中值的数目必须与 INSERT "
          "语句中指定的列的数目匹配。",
          ErrorScope::Statement}},
        {110,
         {"INSERT 语句中列的数目小于 VALUES 子句中指定的值的数目。VALUES 子句中值的数目必须与 INSERT "
          "语句中指定的列的数目匹配。",
          ErrorScope::Statement}},
        {120,
         {"INSERT 语句的选择列表包含的项少于插入列表中的项。SELECT 语句中值的数目必须与 INSERT 语句中列的数目匹配。",
          ErrorScope::Statement}},
        {121,
         {"INSERT 语句的选择列表包含的项多于插入列表中的项。SELECT 语句中值的数目必须与 INSERT 语句中列的数目匹配。",
          ErrorScope::Statement}},
        {2714, {"数据库中已存在名为 '%1' 的对象。", ErrorScope::Statement}},
        {3701, {"无法对 表 '%1' 执行 删除，因为它不存在，或者您没有所需的权限。", ErrorScope::Statement}},
        {4902, {"找不到对象 \"%1\"，因为它不存在或者您没有所需的权限。", ErrorScope::Statement}},
        {4901,
         {"ALTER TABLE 只允许添加满足下述条件的列: 列可以包含 Null 值；或者列具有指定的 DEFAULT "
          "定义；或者要添加的列是标识列或时间戳列；或者，如果前几个条件均不满足，则表必须为空以允许添加此列。不满足上述"
          "条件，因此无法将列 '%1' 添加到非空表 '%2' 中。",
          ErrorScope::Statement}},
        {5074, {"对象 '%1' 依赖于 列 '%2'。", ErrorScope::Statement}},
        {4922, {"由于一个或多个对象访问此列，ALTER TABLE DROP COLUMN %1 失败。", ErrorScope::Statement}},
        {4924, {"ALTER TABLE ALTER COLUMN 失败，因为列 '%1' 在表 '%2' 中不存在。", ErrorScope::Statement}},
        {3728, {"'%1' 不是约束。", ErrorScope::Statement}},
        {3727, {"未能删除约束。请参阅前面的错误信息。", ErrorScope::Statement}},
        {2705, {"各表中的列名必须唯一。在表 '%1' 中多次指定了列名 '%2'。", ErrorScope::Statement}},
        {1913, {"操作失败，因为在表 '%2' 上已存在名称为 '%1' 的索引或统计信息。", ErrorScope::Statement}},
        {1911, {"列名 '%1' 不存在于目标表或视图中。", ErrorScope::Statement}},
        {1038,
         {"缺少对象或列名，或者对象或列名为空。对于 SELECT INTO 语句，请确保每列均具有名称。", ErrorScope::Statement}},
        {8154, {"表 '%1' 不明确。", ErrorScope::Statement}},
        {8120, {"选择列表中的列 '%1' 无效，因为该列没有包含在聚合函数或 GROUP BY 子句中。", ErrorScope::Statement}},
        {306,
         {"不能比较或排序 text、ntext 和 image 数据类型，除非使用 IS NULL 或 LIKE 运算符。", ErrorScope::Statement}},
        {402, {"数据类型 %1 和 %2 在 %3 运算符中不兼容。", ErrorScope::Statement}},
        {536, {"传递到 %1 函数的长度参数无效。", ErrorScope::Statement}},
        {537, {"传递到 LEFT 或 SUBSTRING 函数的长度参数无效。", ErrorScope::Statement}},
        {195, {"'%1' 不是可以识别的 内置函数名称。", ErrorScope::Batch}},
        {205,
         {"使用 UNION、INTERSECT 或 EXCEPT 运算符合并的所有查询必须在其目标列表中有相同数目的表达式。",
          ErrorScope::Statement}},
        {1222, {"已超过了锁请求超时时段。", ErrorScope::Statement}},
        {3906, {"无法更新数据库 \"%1\"，因为数据库是只读的。", ErrorScope::Statement}},
        {4060, {"无法打开登录所请求的数据库 \"%1\"。登录失败。", ErrorScope::Connection}},
        {18456, {"用户 '%1' 登录失败。", ErrorScope::Connection}},
        {1801, {"数据库 '%1' 已存在。请选择其他数据库名称。", ErrorScope::Statement}},
        {3702, {"无法删除数据库 \"%1\"，因为该数据库当前正在使用。", ErrorScope::Statement}},
        {911, {"数据库 '%1' 不存在。请确保正确地输入了该名称。", ErrorScope::Statement}},
        {226, {"在多语句事务内不允许使用 %1 语句。", ErrorScope::Statement}},
        {8180, {"未能准备语句。", ErrorScope::Statement}},
        {8179, {"%1", ErrorScope::Statement}},
        {1205, {"%1", ErrorScope::Statement}},
        {3621, {"语句已终止。", ErrorScope::Statement}},
        {50000, {"%1", ErrorScope::Statement}},
        {147,
         {"聚合不应出现在 WHERE 子句中，除非该聚合位于 HAVING "
          "子句或选择列表所包含的子查询中，并且要对其进行聚合的列是外部引用。",
          ErrorScope::Statement}},
        {263, {"必须指定要从中选择的表。", ErrorScope::Statement}},
        {1033,
         {"除非另外还指定了 TOP，否则 ORDER BY 子句在视图、内联函数、派生表、子查询和公用表表达式中无效。",
          ErrorScope::Statement}},
        {108, {"ORDER BY 位置号 %1 超出了选择列表中项数的范围。", ErrorScope::Statement}},
        {104,
         {"如果语句中包含 UNION、INTERSECT 或 EXCEPT 运算符，则 ORDER BY 项必须出现在选择列表中。",
          ErrorScope::Statement}},
        {264, {"在 SET 子句或 INSERT 的列列表中多次指定了列名 '%1'。", ErrorScope::Statement}},
        {273, {"不能将显式值插入时间戳列。", ErrorScope::Statement}},
        {8102, {"无法更新标识列 '%1'。", ErrorScope::Statement}},
        {4421, {"派生表 '%1' 不可更新。", ErrorScope::Statement}},
        {3902, {"COMMIT TRANSACTION 请求没有对应的 BEGIN TRANSACTION。", ErrorScope::Statement}},
        {3903, {"ROLLBACK TRANSACTION 请求没有对应的 BEGIN TRANSACTION。", ErrorScope::Statement}},
        {547, {"%1", ErrorScope::Statement}},
        {128, {"在此上下文中不允许使用名称 \"%1\"。此处只允许使用常量、表达式或变量。", ErrorScope::Statement}},
        {2749, {"标识列 '%1' 的数据类型必须是 int、bigint、smallint、tinyint 或 decimal。", ErrorScope::Statement}},
        {2744, {"为表 '%1' 指定了多个标识列。每个表只允许有一个标识列。", ErrorScope::Statement}},
        {8110, {"无法将多个 PRIMARY KEY 约束添加到表 '%1'。", ErrorScope::Statement}},
        {4701, {"找不到对象 \"%1\"，因为它不存在或者您没有所需的权限。", ErrorScope::Statement}},
        {8106, {"表 '%1' 没有标识属性。无法执行 SET 操作。", ErrorScope::Statement}},
        {1088, {"找不到对象 \"%1\"，因为它不存在或者您没有所需的权限。", ErrorScope::Statement}},
        {4928, {"无法更改列 '%1'，因为它是 'IDENTITY'。", ErrorScope::Statement}},
        {1919, {"表中的列 '%1' 的类型不能用作索引中的键列。", ErrorScope::Statement}},
        {1505,
         {"因为发现对象名称 'dbo.%1' 和索引名称 '%2' 有重复的键，所以 CREATE UNIQUE INDEX 语句终止。",
          ErrorScope::Statement}},
        {141, {"向变量赋值的 SELECT 语句不能与数据检索操作结合使用。", ErrorScope::Batch}},
        {134, {"变量名 '%1' 已声明。变量名在查询批次或存储过程内部必须唯一。", ErrorScope::Batch}},
        {2812, {"找不到存储过程 '%1'。", ErrorScope::Statement}},
        {2714, {"数据库中已存在名为 '%1' 的对象。", ErrorScope::Statement}},
        {3701, {"无法对 %1 '%2' 执行删除，因为它不存在，或者您没有所需的权限。", ErrorScope::Statement}},
        {201, {"过程或函数 '%1' 需要参数 '%2'，但未提供该参数。", ErrorScope::Statement}},
        {16915, {"名为 '%1' 的游标已存在。", ErrorScope::Batch}},
        {16916, {"名为 '%1' 的游标不存在。", ErrorScope::Batch}},
        {16905, {"游标已打开。", ErrorScope::Batch}},
        {16917, {"游标未打开。", ErrorScope::Batch}},
        {16924, {"游标提取: INTO 列表中声明的变量数目必须与所选列的数目匹配。", ErrorScope::Statement}},
        {6104, {"不能用 KILL 来终止您自己的进程。", ErrorScope::Statement}},
        {6106, {"进程 ID %1 不是活动的进程 ID。", ErrorScope::Statement}},
        {233, {"与服务器的连接已断开（会话已被终止）。", ErrorScope::Batch}},
        {3234,
         {"逻辑文件 '%1' 不是数据库 '%2' 的一部分。请使用 RESTORE FILELISTONLY 来列出逻辑文件名。",
          ErrorScope::Statement}},
        {3201, {"无法打开备份设备 '%1'。出现操作系统错误 2(系统找不到指定的文件。)。", ErrorScope::Statement}},
        {5133, {"对文件 \"%1\" 的目录查找失败，出现操作系统错误 3(系统找不到指定的路径。)。", ErrorScope::Statement}},
        {3101, {"因为数据库正在使用，所以无法获得对数据库的排他访问权。", ErrorScope::Statement}},
        {3159,
         {"数据库 \"%1\" 的日志尾部尚未备份。如果不想丢失日志，请使用 WITH REPLACE 覆盖该数据库。",
          ErrorScope::Statement}},
        {823, {"操作系统在文件 '%1' 中执行 %2 期间，向 SQL Server 返回了错误 %3。", ErrorScope::Batch}},
        {824,
         {"SQL Server 检测到基于一致性的逻辑 I/O 错误: 页 ID 不正确。在文件 '%1' 中执行 读取 "
          "期间，发生了该错误。这是一个威胁数据库完整性的严重错误条件，必须立即纠正。请执行完整的数据库一致性检查(DBCC "
          "CHECKDB)。",
          ErrorScope::Batch}},
        {5172, {"文件 '%1' 的标头不是有效的数据库文件标头。FILE SIZE 属性不正确。", ErrorScope::Batch}},
        {5120, {"无法打开物理文件 \"%1\"。操作系统错误 %2。", ErrorScope::Batch}},
        {1105,
         {"无法为数据库 '%1' 中的对象 '%2' 分配空间，因为 'PRIMARY' "
          "文件组已满。请删除不需要的文件、删除文件组中的对象、将其他文件添加到文件组或为文件组中的现有文件启用自动增长"
          "，"
          "以便创建所需的空间。",
          ErrorScope::Statement}},
        {5123, {"CREATE FILE 在尝试打开或创建物理文件 '%1' 时遇到操作系统错误 %2。", ErrorScope::Statement}},
        {701, {"内存资源不足，无法运行此查询。", ErrorScope::Batch}},
        {7119, {"尝试将 LOB 增大到超过允许的最大大小 %1 字节。", ErrorScope::Statement}},
        {8623,
         {"查询处理器用尽了内部资源，无法生成查询计划。这种情况很少出现，只有在查询极其复杂或引用了大量表或分区时才会出"
          "现"
          "。请简化查询。",
          ErrorScope::Statement}},
        {191, {"某些语句部分嵌套过深。请重写查询或将其分解为较小的查询。", ErrorScope::Statement}},
        {926, {"无法打开数据库 '%1'。恢复操作已将该数据库标记为 SUSPECT。", ErrorScope::Statement}},
        {927, {"无法打开数据库 '%1'。该数据库正在进行还原。", ErrorScope::Statement}},
        {15123, {"配置选项 '%1' 不存在，也可能是高级选项。", ErrorScope::Statement}},
        {15281,
         {"SQL Server 阻止了对组件 'Ad Hoc Distributed Queries' 的 STATEMENT 'OpenRowset/OpenDatasource' "
          "的访问，因为此组件已作为此服务器安全配置的一部分而被关闭。",
          ErrorScope::Statement}},
        {574, {"在用户事务内不允许使用 %1 语句。", ErrorScope::Statement}},
        {5041, {"在 sysfiles 中找不到文件 '%1'。", ErrorScope::Statement}},
        {137, {"必须声明标量变量 \"%1\"。", ErrorScope::Batch}},
        {116, {"当没有用 EXISTS 引入子查询时，在选择列表中只能指定一个表达式。", ErrorScope::Batch}},
        {8117, {"操作数数据类型 %1 对于 %2 运算符无效。", ErrorScope::Statement}},
        {529, {"不允许从数据类型 %1 显式转换为 %2。", ErrorScope::Statement}},
        {8169, {"从字符串转换为 uniqueidentifier 时失败。", ErrorScope::Statement}},
        {517, {"向 datetime 添加值导致溢出。", ErrorScope::Statement}},
        {2715, {"第 1 个列、参数或变量: 找不到数据类型 %1。", ErrorScope::Batch}},
        {131, {"赋予 列 的大小(%1)超过了任意数据类型的最大允许值(8000)。", ErrorScope::Parse}},
        {2750, {"列或参数 #1: 指定的列精度 %1 大于最大精度 38。", ErrorScope::Parse}},
        {1007, {"值 '%1' 超出了数字表示形式的范围(最大精度为 38)。", ErrorScope::Parse}},
        {8197, {"对象 '%1' 不存在或对此操作无效。", ErrorScope::Statement}},
        {7403, {"未注册 OLE DB 访问接口 \"%1\"。", ErrorScope::Statement}},
        {7303, {"无法初始化链接服务器 \"(null)\" 的 OLE DB 访问接口 \"%1\" 的数据源对象。", ErrorScope::Statement}},
        {7314,
         {"链接服务器 \"(null)\" 的 OLE DB 访问接口 \"%1\" 不包含表 "
          "\"%2\"。该表不存在，或者当前用户没有访问该表的权限。",
          ErrorScope::Statement}},
        {7330, {"%1", ErrorScope::Statement}},
        {174, {"%1 函数要求有 %2 个参数。", ErrorScope::Batch}},
        {8155, {"没有为 '%1' 的列 %2 指定任何列名称。", ErrorScope::Statement}},
        {8144, {"为过程或函数 %1 指定了过多的参数。", ErrorScope::Batch}},
        {1776, {"在被引用表 '%1' 中没有与外键中的引用列的列表匹配的主键或候选键。", ErrorScope::Statement}},
        {4506, {"列名 '%1' 在结果集中重复。", ErrorScope::Statement}},
        {8118,
         {"列 '%1' 在选择列表中无效，因为该列既不包含在聚合函数中，也不包含在 GROUP BY 子句中。",
          ErrorScope::Statement}},
    };
    return table;
}

void replaceAll(std::string &s, const std::string &from, const std::string &to) {
    size_t pos = 0;
    while ((pos = s.find(from, pos)) != std::string::npos) {
        s.replace(pos, from.size(), to);
        pos += to.size();
    }
}

}  // namespace

SqlError::SqlError(int number, const std::string &text) : std::runtime_error(text), number_(number), text_(text) {}

SqlError &SqlError::then(int number, const std::string &text) {
    followUps_.push_back({number, text});
    return *this;
}

ErrorScope SqlError::scope() const {
    auto it = messageTable().find(number_);
    return it == messageTable().end() ? ErrorScope::Statement : it->second.scope;
}

const char *errorTemplate(int number) {
    auto it = messageTable().find(number);
    return it == messageTable().end() ? "" : it->second.text;
}

SqlError makeError(int number, const std::string &a1, const std::string &a2, const std::string &a3) {
    std::string text = errorTemplate(number);
    if (text.empty()) text = a1;
    replaceAll(text, "%1", a1);
    replaceAll(text, "%2", a2);
    replaceAll(text, "%3", a3);
    return SqlError(number, text);
}

}  // namespace server
