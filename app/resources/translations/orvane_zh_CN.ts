<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<!-- The program's string table: context "Localizable", the key as the source text. -->
<context>
    <name>Localizable</name>
    <message>
        <source>title</source>
        <extracomment>Stock caption: the stock's name (%s), then its code (%s).</extracomment>
        <translation>%s（%s）</translation>
    </message>
    <message>
        <source>Property1</source>
        <extracomment>Questionnaire, yes/no question 1.</extracomment>
        <translation>您是否在每次买入之前都设好止损价位，并在价格触及时坚决执行？</translation>
    </message>
    <message>
        <source>Property2</source>
        <extracomment>Questionnaire, yes/no question 2.</extracomment>
        <translation>您是否只在股票处于上升趋势时买入，而不去抄底仍在下跌的股票？</translation>
    </message>
    <message>
        <source>Property3</source>
        <extracomment>Questionnaire, yes/no question 3.</extracomment>
        <translation>您是否控制每只股票的仓位，从不把全部资金押在一只股票上？</translation>
    </message>
    <message>
        <source>Property4</source>
        <extracomment>Questionnaire, yes/no question 4.</extracomment>
        <translation>您是否在买入之前就想好了卖出的条件，而不是临时凭感觉决定？</translation>
    </message>
    <message>
        <source>Property5</source>
        <extracomment>Questionnaire, yes/no question 5.</extracomment>
        <translation>您是否能做到不因一两天的涨跌而随意改变自己的交易计划？</translation>
    </message>
    <message>
        <source>Property6</source>
        <extracomment>Questionnaire, yes/no question 6.</extracomment>
        <translation>您是否定期复盘自己的交易，总结盈利和亏损的原因？</translation>
    </message>
    <message>
        <source>Property7</source>
        <extracomment>Questionnaire, yes/no question 7.</extracomment>
        <translation>您是否从不因为听信消息或传闻而买入自己不了解的股票？</translation>
    </message>
    <message>
        <source>answer1</source>
        <extracomment>Questionnaire result for 7 yes answers.</extracomment>
        <translation>您的交易习惯非常好：纪律严明，计划清楚。请继续坚持，严守止损，让利润奔跑。</translation>
    </message>
    <message>
        <source>answer2</source>
        <extracomment>Questionnaire result for 5 or 6 yes answers.</extracomment>
        <translation>您的交易习惯良好，但还有需要改进的地方。请对照回答“否”的问题，逐条完善自己的交易纪律。</translation>
    </message>
    <message>
        <source>answer3</source>
        <extracomment>Questionnaire result for 3 or 4 yes answers.</extracomment>
        <translation>您的交易习惯存在较多不足，风险偏高。建议先做到严格止损、控制仓位，再考虑加大投入。</translation>
    </message>
    <message>
        <source>answer4</source>
        <extracomment>Questionnaire result for 0 to 2 yes answers.</extracomment>
        <translation>您的交易缺乏纪律，亏损的风险很大。建议暂停实盘交易，先制定交易计划，学习止损和仓位管理。</translation>
    </message>
    <message>
        <source>noticeDown2</source>
        <extracomment>Sell-signal notice: group (%s), its falling share (%.1f), stock name (%s), code (%s), the stock's change in percent (%.2f). Ends with a line break. Must equal the built-in text of core/src/StringTable.cpp.</extracomment>
        <translation>%s板块今日%.1f%%的股票下跌，您持有的%s（%s）所在板块走弱，今日涨幅%.2f%%，请注意卖出信号。&#10;</translation>
    </message>
    <message>
        <source>ruleAlertTitle</source>
        <extracomment>Rule alert title: the rule's name (%1).</extracomment>
        <translation>规则提醒：%1</translation>
    </message>
    <message>
        <source>ruleAlertSubtitle</source>
        <extracomment>Rule alert subtitle: the day (%1), the stock's name (%2) and code (%3).</extracomment>
        <translation>%1 %2（%3）新符合规则</translation>
    </message>
    <message>
        <source>ruleAlertText</source>
        <extracomment>Rule alert text: the rule's text (%1), the day's change (%2), the close (%3).</extracomment>
        <translation>规则：%1&#10;涨跌幅 %2，收盘 %3</translation>
    </message>
    <message>
        <source>ruleAlertManySubtitle</source>
        <extracomment>Rule alert for many stocks at once: the day (%1), how many (%2).</extracomment>
        <translation>%1 有 %2 只股票新符合规则</translation>
    </message>
    <message>
        <source>ruleAlertManyText</source>
        <extracomment>Rule alert for many stocks: the rule's text (%1), the first names (%2).</extracomment>
        <translation>规则：%1&#10;%2</translation>
    </message>
    <message>
        <source>ruleScreenFetching</source>
        <extracomment>Screen: while the day's results of the whole market are fetched.</extracomment>
        <translation>正在下载当日全市场结果……</translation>
    </message>
    <message>
        <source>ruleScreenCount</source>
        <extracomment>Screen: the day (%1), stocks screened (%2), stocks meeting the rule (%3).</extracomment>
        <translation>%1 全市场 %2 只股票中，%3 只符合规则</translation>
    </message>
    <message>
        <source>ruleScreenNone</source>
        <extracomment>Screen: the day (%1), stocks screened (%2), the rule's name (%3).</extracomment>
        <translation>%1 全市场 %2 只股票中，没有符合规则“%3”的股票</translation>
    </message>
    <message>
        <source>ruleScreenUndecided</source>
        <extracomment>Screen: stocks a sector condition could not decide (%1).</extracomment>
        <translation>（%1 只股票没有板块数据，无法判断）</translation>
    </message>
    <message>
        <source>ruleScreenFailed</source>
        <extracomment>Screen: why the day's results are missing (%1).</extracomment>
        <translation>无法筛选：%1</translation>
    </message>
    <message>
        <source>ruleScreenNoRule</source>
        <extracomment>Screen: no rule chosen or written.</extracomment>
        <translation>请选择规则，或写出规则的文字</translation>
    </message>
    <message>
        <source>ruleErrorAt</source>
        <extracomment>Rule text: the character where it is wrong (%1) and why (%2).</extracomment>
        <translation>第 %1 个字符：%2</translation>
    </message>
    <message>
        <source>ruleReadAs</source>
        <extracomment>Rule text: the rule as read back (%1).</extracomment>
        <translation>读作：%1</translation>
    </message>
    <message>
        <source>ruleNameMissing</source>
        <extracomment>Rule dialog: a rule is saved without a name.</extracomment>
        <translation>请填写规则名称</translation>
    </message>
    <message>
        <source>ruleSaved</source>
        <extracomment>Rule dialog: the rules were saved to the file (%1).</extracomment>
        <translation>规则已保存到 %1</translation>
    </message>
    <message>
        <source>ruleNotSaved</source>
        <extracomment>Rule dialog: the rules could not be saved (%1).</extracomment>
        <translation>规则没有保存：%1</translation>
    </message>
</context>
</TS>
