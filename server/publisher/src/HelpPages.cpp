#include "orvane/publisher/HelpPages.h"

namespace orvane::server {

std::string doubleCannonHelpPage() {
    return R"(<!DOCTYPE html>
<html lang="zh-CN">
<head><meta charset="utf-8"><title>双炮形态</title></head>
<body>
<h2>双炮形态</h2>
<p>“双炮”是评分榜中类型为 4 的形态：股价在短时间内连续出现两根大阳线，说明有资金持续买入。</p>
<h3>条件</h3>
<ol>
<li>两根大阳线：每一根的收盘价都比前一交易日的收盘价高 5% 以上；</li>
<li>两根大阳线相隔一到三个交易日；</li>
<li>中间的交易日收盘都低于第一根大阳线的收盘价，即回调但没有创新高；</li>
<li>第二根大阳线的收盘价高于第一根，重新向上突破；</li>
<li>第二根大阳线出现在最近五个交易日之内。</li>
</ol>
<p>符合条件的股票同时列在评分榜和“双炮”列表中。</p>
<h3>单炮</h3>
<p>类型为 1 的“单炮”：经过十个交易日的平静整理（每天涨跌都在 3% 以内）之后，最后一天收盘比前一天高 7% 以上。</p>
<h3>提示</h3>
<p>双炮之后常有短暂的整理。结合趋势判断和得分使用：处于上涨趋势、得分较高的双炮更值得关注。所有形态都只是历史价格的技术分析，不构成投资建议。</p>
</body>
</html>
)";
}

}  // namespace orvane::server
