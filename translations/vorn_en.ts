<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>BackupRestore</name>
    <message>
        <source>源文件 &quot;Vorn.mdb&quot; 不存在，此操作失败!</source>
        <translation>The source file &quot;Vorn.mdb&quot; does not exist; the operation failed!</translation>
    </message>
    <message>
        <source>数据备份失败：
</source>
        <translation>Backup failed:
</translation>
    </message>
    <message>
        <source>    目标文件已存在，是否覆盖它？  </source>
        <translation>The target file already exists. Overwrite it?</translation>
    </message>
    <message>
        <source>源文件%1不存在，此操作失败!</source>
        <translation>The source file %1 does not exist; the operation failed!</translation>
    </message>
    <message>
        <source>恢复数据失败，现有数据库未改变：
</source>
        <translation>Restore failed; the current database is unchanged:
</translation>
    </message>
    <message>
        <source>    请再次确认源文件是否正确，此操作将不能撤销！  </source>
        <translation>Please confirm once more that the source file is right: this cannot be undone!</translation>
    </message>
</context>
<context>
    <name>DomainMessages</name>
    <message>
        <source>Panel尺寸上限内一边可排的成品板太多</source>
        <translation>too many boards along a side within the largest panel</translation>
    </message>
    <message>
        <source>Panel设定中的Panel一边可排的成品板太多</source>
        <translation>too many boards along a side of a preset panel</translation>
    </message>
    <message>
        <source>板材一边可排的Panel太多</source>
        <translation>too many panels along a side of a sheet</translation>
    </message>
    <message>
        <source>Array尺寸上限内一边可排的单元太多</source>
        <translation>too many units along a side within the largest array</translation>
    </message>
    <message>
        <source>所给Panel一边可排的成品板太多</source>
        <translation>too many boards along a side of the given panel</translation>
    </message>
    <message>
        <source>所给Array一边可排的单元太多</source>
        <translation>too many units along a side of the given array</translation>
    </message>
    <message>
        <source>一边可排的件数太多</source>
        <translation>too many pieces along a side</translation>
    </message>
    <message>
        <source>板材设定中的 </source>
        <translation>sheet setting </translation>
    </message>
    <message>
        <source>Panel设定中的 </source>
        <translation>panel preset </translation>
    </message>
    <message>
        <source>，无法在合理时间内算完</source>
        <translation>; the search cannot finish in reasonable time</translation>
    </message>
    <message>
        <source>%1 不是有效的数值</source>
        <translation>%1 is not a valid number</translation>
    </message>
    <message>
        <source>%1 = %2 超出允许范围 %3 ~ %4 %5</source>
        <translation>%1 = %2 is outside the allowed range %3 to %4 %5</translation>
    </message>
    <message>
        <source>%1 = %2 小于允许的最小值 %3</source>
        <translation>%1 = %2 is below the allowed minimum %3</translation>
    </message>
    <message>
        <source>%1 = &apos;%2&apos; 只能是 1 或 2</source>
        <translation>%1 = &apos;%2&apos; can only be 1 or 2</translation>
    </message>
    <message>
        <source>：</source>
        <translation>: </translation>
    </message>
    <message>
        <source>%1（%2，最多 %3）</source>
        <translation>%1 (%2, at most %3)</translation>
    </message>
    <message>
        <source>：这么小的成品板在此Panel尺寸上限内搜索约需 %1 秒、%2 MB（最多 %3 秒、%4 MB）</source>
        <translation>: searching so small a board within this largest panel needs about %1 s and %2 MB (at most %3 s, %4 MB)</translation>
    </message>
    <message>
        <source>；改为 Max_PL = %1、Max_PW = %2 %3 即可</source>
        <translation>; Max_PL = %1 and Max_PW = %2 %3 will do</translation>
    </message>
    <message>
        <source>，或改为一种Panel（PanelNumber = 1）</source>
        <translation>, or one panel kind (PanelNumber = 1)</translation>
    </message>
    <message>
        <source>；改为一种Panel（PanelNumber = 1）即可</source>
        <translation>; one panel kind (PanelNumber = 1) will do</translation>
    </message>
</context>
<context>
    <name>EngineRefusal</name>
    <message>
        <source>   请给出适当的&quot;成品尺寸&quot; ！   </source>
        <translation>Please enter a proper &quot;Board size&quot;!</translation>
    </message>
    <message>
        <source>   请给出适当的&quot;Panel尺寸&quot; ！   </source>
        <translation>Please enter a proper &quot;Panel size&quot;!</translation>
    </message>
    <message>
        <source>   请选定有效板材！！   </source>
        <translation>Please enable a sheet!</translation>
    </message>
    <message>
        <source>   请给出适当的&quot;单元尺寸&quot; ！   </source>
        <translation>Please enter a proper &quot;Unit size&quot;!</translation>
    </message>
    <message>
        <source>   请给出适当的&quot;Arrey尺寸&quot; ！   </source>
        <translation>Please enter a proper &quot;Array size&quot;!</translation>
    </message>
    <message>
        <source>   成品板尺寸不能为&quot;0&quot; ！   </source>
        <translation>The board size cannot be &quot;0&quot;!</translation>
    </message>
    <message>
        <source>   单元尺寸不能为&quot;0&quot; ！   </source>
        <translation>The unit size cannot be &quot;0&quot;!</translation>
    </message>
</context>
<context>
    <name>JobCommands</name>
    <message>
        <source>上传信息有误或不全，请执行 &quot;上传数据&quot; 操作！</source>
        <translation>The plan in the job is wrong or incomplete: double-click a plan to take it into the job!</translation>
    </message>
    <message>
        <source>%1: 只有拼板方案才能导出为 DXF 或坐标表</source>
        <translation>%1: only a panel plan can be exported as DXF or a position list</translation>
    </message>
    <message>
        <source>拼板坐标 CSV (*.csv)</source>
        <translation>Board positions CSV (*.csv)</translation>
    </message>
    <message>
        <source>拼板方案已写入 %1</source>
        <translation>Panel plan written to %1</translation>
    </message>
    <message>
        <source>没有找到拼板方案：</source>
        <translation>No panel plan found: </translation>
    </message>
    <message>
        <source>最小的Panel（Min_PL × Min_PW = %1 × %2 %3）放不进任何有效板材</source>
        <translation>the smallest panel (Min_PL × Min_PW = %1 × %2 %3) fits on no enabled sheet</translation>
    </message>
    <message>
        <source>成品板加板边至少 %1 × %2 %3，超出Panel尺寸上限 Max_PL × Max_PW = %4 × %5 %3</source>
        <translation>the board with its borders needs at least %1 × %2 %3, more than the largest panel Max_PL × Max_PW = %4 × %5 %3</translation>
    </message>
    <message>
        <source>利用率下限 Min_lv = %1% 高于此成品板连同间距、板边在Panel尺寸上限内可达到的最高利用率 %2%</source>
        <translation>the lowest utilization Min_lv = %1% is above the highest this board with its gap and borders reaches within the largest panel, %2%</translation>
    </message>
    <message>
        <source>Panel设定中的尺寸都达不到利用率下限 Min_lv = %1%，或放不进有效板材</source>
        <translation>no preset panel size reaches the lowest utilization Min_lv = %1% or fits on an enabled sheet</translation>
    </message>
    <message>
        <source>Panel尺寸上下限、长宽比 PLPW_ratio 和利用率下限 Min_lv = %1% 之内没有可行的方案</source>
        <translation>no plan lies within the panel size limits, the ratio PLPW_ratio and the lowest utilization Min_lv = %1%</translation>
    </message>
    <message>
        <source>达到利用率下限 Min_lv = %1% 的方案超过 %2 个，内存容纳不下，未列出。请提高 Min_lv，或缩小Panel尺寸上限（Max_PL、Max_PW）。</source>
        <translation>More than %2 plans reach the lowest utilization Min_lv = %1%; they do not fit in memory and are not listed. Raise Min_lv or lower the largest panel (Max_PL, Max_PW).</translation>
    </message>
    <message>
        <source>没有找到Array方案：Array尺寸上下限（Min_SetL × Min_SetW 至 Max_SetL × Max_SetW）之内排不出单元</source>
        <translation>No array plan found: no units fit within the array size limits (Min_SetL × Min_SetW to Max_SetL × Max_SetW)</translation>
    </message>
    <message>
        <source>保存信息有误或不全，请您 &quot;上传数据&quot; 后保存！</source>
        <translation>The job is wrong or incomplete: take a plan into the job (double-click a row), then save!</translation>
    </message>
    <message>
        <source>请给出“部件编号”，保存失败！！</source>
        <translation>Please enter the &quot;Part number&quot;; nothing was saved!</translation>
    </message>
    <message>
        <source>请给出“客户部件编号”，保存失败！！</source>
        <translation>Please enter the &quot;Customer P/N&quot;; nothing was saved!</translation>
    </message>
    <message>
        <source>请给出“板层数”，保存失败！！</source>
        <translation>Please enter the &quot;Layers&quot;; nothing was saved!</translation>
    </message>
    <message>
        <source>请给出“操作员”，保存失败！！</source>
        <translation>Please enter the &quot;Operator&quot;; nothing was saved!</translation>
    </message>
    <message>
        <source>部件已存在，是否覆盖？</source>
        <translation>The part already exists. Overwrite it?</translation>
    </message>
    <message>
        <source>部件未能保存，存档未作任何更改！
</source>
        <translation>The part could not be saved; the archive is unchanged!
</translation>
    </message>
    <message>
        <source>    没有对原数据进行更改！！   </source>
        <translation>Nothing was changed!</translation>
    </message>
    <message>
        <source>部件&quot;%1&quot; 已保存</source>
        <translation>Part &quot;%1&quot; saved</translation>
    </message>
    <message>
        <source>   确实要删除&quot;%1&quot;记录吗？  </source>
        <translation>Do you really want to delete the part &quot;%1&quot;?</translation>
    </message>
    <message>
        <source>部件未能删除，存档未作任何更改！
</source>
        <translation>The part could not be deleted; the archive is unchanged!
</translation>
    </message>
    <message>
        <source>部件&quot;%1&quot; 不存在，此操作失败!</source>
        <translation>Part &quot;%1&quot; does not exist; the operation failed!</translation>
    </message>
    <message>
        <source>部件&quot;%1&quot; 已删除</source>
        <translation>Part &quot;%1&quot; deleted</translation>
    </message>
    <message>
        <source>拼板开料报告_%1_%2.%3</source>
        <translation>Panel_Report_%1_%2.%3</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Note</translation>
    </message>
    <message>
        <source>临时文件夹 %1 无法建立，报表没有导出。</source>
        <translation>The temporary folder %1 cannot be made; the report was not exported.</translation>
    </message>
    <message>
        <source>报表已写入 %1</source>
        <translation>Report written to %1</translation>
    </message>
    <message>
        <source>没有可以打开工作簿的电子表格程序。报表已保存在：
%1</source>
        <translation>No spreadsheet program can open the workbook. The report is saved at:
%1</translation>
    </message>
    <message>
        <source>另存为…</source>
        <translation>Save As...</translation>
    </message>
    <message>
        <source>另存为</source>
        <translation>Save As</translation>
    </message>
    <message>
        <source>Excel 工作簿 (*.xlsx)</source>
        <translation>Excel workbook (*.xlsx)</translation>
    </message>
    <message>
        <source>导出PDF</source>
        <translation>Export PDF</translation>
    </message>
    <message>
        <source>%1: 只有方案的图才能保存为矢量图</source>
        <translation>%1: only the diagrams of a plan can be saved as vector pictures</translation>
    </message>
    <message>
        <source>图片已写入 %1</source>
        <translation>Picture written to %1</translation>
    </message>
</context>
<context>
    <name>NewJob</name>
    <message>
        <source>改用内置值 %1</source>
        <translation>the built-in value %1 is used</translation>
    </message>
    <message>
        <source>该项留空</source>
        <translation>the field is left empty</translation>
    </message>
    <message>
        <source>%1: %2=%3 %4；%5</source>
        <translation>%1: %2=%3 %4; %5</translation>
    </message>
    <message>
        <source>不是数值</source>
        <translation>is not a number</translation>
    </message>
    <message>
        <source>无效（%1）</source>
        <translation>invalid (%1)</translation>
    </message>
    <message>
        <source>%1: PanelNumber=%2 只能是 1 或 2；改用 1</source>
        <translation>%1: PanelNumber=%2 can only be 1 or 2; 1 is used</translation>
    </message>
</context>
<context>
    <name>ParameterPanel</name>
    <message>
        <source>成品尺寸</source>
        <translation>Board size</translation>
    </message>
    <message>
        <source>拼板间距</source>
        <translation>Gap</translation>
    </message>
    <message>
        <source>边距限制</source>
        <translation>Min. margins</translation>
    </message>
    <message>
        <source>左右</source>
        <translation>L/R</translation>
    </message>
    <message>
        <source>上下</source>
        <translation>T/B</translation>
    </message>
    <message>
        <source>Panel种类</source>
        <translation>Panel kinds</translation>
    </message>
    <message>
        <source>最大Panel</source>
        <translation>Max. panel</translation>
    </message>
    <message>
        <source>最小Panel</source>
        <translation>Min. panel</translation>
    </message>
    <message>
        <source>Panel 最大长宽比例</source>
        <translation>Max. panel L/W ratio</translation>
    </message>
    <message>
        <source>最低板材利用率限制</source>
        <translation>Min. sheet utilization</translation>
    </message>
    <message>
        <source>单元尺寸</source>
        <translation>Unit size</translation>
    </message>
    <message>
        <source>边距  左右</source>
        <translation>Rail  L/R</translation>
    </message>
    <message>
        <source>最大成品尺寸</source>
        <translation>Max. array size</translation>
    </message>
    <message>
        <source>最小成品尺寸</source>
        <translation>Min. array size</translation>
    </message>
    <message>
        <source>拼板数量</source>
        <translation>Units/array</translation>
    </message>
    <message>
        <source>利 用 率</source>
        <translation>Utilization</translation>
    </message>
    <message>
        <source>部件编号</source>
        <translation>Part number</translation>
    </message>
    <message>
        <source>客户型号</source>
        <translation>Customer P/N</translation>
    </message>
    <message>
        <source>板  层  数</source>
        <translation>Layers</translation>
    </message>
    <message>
        <source>操  作  员</source>
        <translation>Operator</translation>
    </message>
    <message>
        <source>备注</source>
        <translation>Notes</translation>
    </message>
    <message>
        <source>   请给出一个不小于&quot;1&quot;的数值 ！   </source>
        <translation>Please enter a number not less than &quot;1&quot;!</translation>
    </message>
    <message>
        <source>要进行给定坯板尺寸的拼板请转到“Panel1尺寸”输入数据</source>
        <translation>To panelize a given panel size, enter it under &quot;Panel 1 size&quot;</translation>
    </message>
</context>
<context>
    <name>PartList</name>
    <message>
        <source>报表产生时间:</source>
        <translation>Report created:</translation>
    </message>
    <message>
        <source>报表产生时间：</source>
        <translation>Report created: </translation>
    </message>
    <message>
        <source>部件拼板查询</source>
        <translation>Saved Parts</translation>
    </message>
</context>
<context>
    <name>ReportContent</name>
    <message>
        <source>毫米(mm)</source>
        <translation>Millimetre (mm)</translation>
    </message>
    <message>
        <source>英寸(Inch)</source>
        <translation>Inch</translation>
    </message>
    <message>
        <source>请在默认值设置菜单中设置公司名称</source>
        <translation>Set the company name under Settings &gt; Defaults</translation>
    </message>
</context>
<context>
    <name>ReportPage</name>
    <message>
        <source>拼 板 开 料 报 告</source>
        <translation>PANELIZATION AND SHEET CUTTING REPORT</translation>
    </message>
    <message>
        <source>料号</source>
        <translation>Part No.</translation>
    </message>
    <message>
        <source>客户料号</source>
        <translation>Customer P/N</translation>
    </message>
    <message>
        <source>层数</source>
        <translation>Layers</translation>
    </message>
    <message>
        <source>单位</source>
        <translation>Unit</translation>
    </message>
    <message>
        <source>制作人</source>
        <translation>Prepared by</translation>
    </message>
    <message>
        <source>日期</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>单元尺寸</source>
        <translation>Board size</translation>
    </message>
    <message>
        <source>单元间距</source>
        <translation>Board gap</translation>
    </message>
    <message>
        <source>拼板尺寸</source>
        <translation>Panel size</translation>
    </message>
    <message>
        <source>拼板排版数</source>
        <translation>Boards/panel</translation>
    </message>
    <message>
        <source>拼板板边</source>
        <translation>Panel border</translation>
    </message>
    <message>
        <source>拼板利用率</source>
        <translation>Panel util.</translation>
    </message>
    <message>
        <source>板料尺寸</source>
        <translation>Sheet size</translation>
    </message>
    <message>
        <source>开料数</source>
        <translation>Panels/sheet</translation>
    </message>
    <message>
        <source>板料利用率</source>
        <translation>Sheet util.</translation>
    </message>
    <message>
        <source>备注</source>
        <translation>Notes</translation>
    </message>
    <message>
        <source>拼板资料</source>
        <translation>Panel</translation>
    </message>
    <message>
        <source>拼板排版图</source>
        <translation>Panel layout</translation>
    </message>
    <message>
        <source>开料资料</source>
        <translation>Sheet cutting</translation>
    </message>
    <message>
        <source>工具孔</source>
        <translation>Tooling holes</translation>
    </message>
    <message>
        <source>开料图</source>
        <translation>Sheet cutting plan</translation>
    </message>
    <message>
        <source>工具孔（续）</source>
        <translation>Tooling holes (continued)</translation>
    </message>
    <message>
        <source>拼 板 开 料 报 告（两种拼板）</source>
        <translation>PANELIZATION AND SHEET CUTTING REPORT (TWO PANEL SIZES)</translation>
    </message>
    <message>
        <source>拼板1尺寸</source>
        <translation>Panel 1 size</translation>
    </message>
    <message>
        <source>拼板1排版数</source>
        <translation>Panel 1 boards</translation>
    </message>
    <message>
        <source>拼板1板边</source>
        <translation>Panel 1 border</translation>
    </message>
    <message>
        <source>拼板1利用率</source>
        <translation>Panel 1 util.</translation>
    </message>
    <message>
        <source>拼板2尺寸</source>
        <translation>Panel 2 size</translation>
    </message>
    <message>
        <source>拼板2排版数</source>
        <translation>Panel 2 boards</translation>
    </message>
    <message>
        <source>拼板2板边</source>
        <translation>Panel 2 border</translation>
    </message>
    <message>
        <source>拼板2利用率</source>
        <translation>Panel 2 util.</translation>
    </message>
    <message>
        <source>拼板1资料</source>
        <translation>Panel 1</translation>
    </message>
    <message>
        <source>拼板1排版图</source>
        <translation>Panel 1 layout</translation>
    </message>
    <message>
        <source>拼板2资料</source>
        <translation>Panel 2</translation>
    </message>
    <message>
        <source>拼板2排版图</source>
        <translation>Panel 2 layout</translation>
    </message>
    <message>
        <source>工具孔 拼板1</source>
        <translation>Tooling holes, panel 1</translation>
    </message>
    <message>
        <source>工具孔 拼板2</source>
        <translation>Tooling holes, panel 2</translation>
    </message>
    <message>
        <source>工具孔 拼板1（续）</source>
        <translation>Tooling holes, panel 1 (continued)</translation>
    </message>
    <message>
        <source>工具孔 拼板2（续）</source>
        <translation>Tooling holes, panel 2 (continued)</translation>
    </message>
    <message>
        <source>项目</source>
        <translation>Item</translation>
    </message>
    <message>
        <source>内容</source>
        <translation>Value</translation>
    </message>
    <message>
        <source>拼板1孔号</source>
        <translation>Panel 1 hole no.</translation>
    </message>
    <message>
        <source>拼板1坐标(X,Y)</source>
        <translation>Panel 1 position (X,Y)</translation>
    </message>
    <message>
        <source>拼板1孔径</source>
        <translation>Panel 1 hole dia.</translation>
    </message>
    <message>
        <source>拼板2孔号</source>
        <translation>Panel 2 hole no.</translation>
    </message>
    <message>
        <source>拼板2坐标(X,Y)</source>
        <translation>Panel 2 position (X,Y)</translation>
    </message>
    <message>
        <source>拼板2孔径</source>
        <translation>Panel 2 hole dia.</translation>
    </message>
</context>
<context>
    <name>ReportPrinter</name>
    <message>
        <source>打印失败：打印机 &quot;%1&quot; 无法打印。</source>
        <translation>Printing failed: the printer &quot;%1&quot; cannot print.</translation>
    </message>
    <message>
        <source>御览</source>
        <translation>Print Preview</translation>
    </message>
</context>
<context>
    <name>ReportWorkbook</name>
    <message>
        <source>模板文件 &quot;Exlfile.xlt&quot; 不存在，此操作失败!</source>
        <translation>The template file &quot;Exlfile.xlt&quot; does not exist; the operation failed!</translation>
    </message>
</context>
<context>
    <name>ResultGrid</name>
    <message>
        <source>序号</source>
        <translation>No.</translation>
    </message>
    <message>
        <source>坯板1尺寸</source>
        <translation>Panel 1 size</translation>
    </message>
    <message>
        <source>边距(左右/上下)</source>
        <translation>Border (L/R, T/B)</translation>
    </message>
    <message>
        <source>拼板数</source>
        <translation>Boards/panel</translation>
    </message>
    <message>
        <source>拼版利用率</source>
        <translation>Panel util.</translation>
    </message>
    <message>
        <source>坯板2尺寸</source>
        <translation>Panel 2 size</translation>
    </message>
    <message>
        <source>拼板利用率</source>
        <translation>Panel util.</translation>
    </message>
    <message>
        <source>板材尺寸</source>
        <translation>Sheet size</translation>
    </message>
    <message>
        <source>开料数</source>
        <translation>Panels/sheet</translation>
    </message>
    <message>
        <source>板材利用率</source>
        <translation>Sheet util.</translation>
    </message>
</context>
<context>
    <name>SearchProgress</name>
    <message>
        <source>已用 </source>
        <translation>Elapsed </translation>
    </message>
    <message>
        <source>，剩余约 </source>
        <translation>, about </translation>
    </message>
</context>
<context>
    <name>SettingsWindow</name>
    <message>
        <source>修改尚未保存，确实要放弃吗？</source>
        <translation>The changes are not saved. Discard them?</translation>
    </message>
</context>
<context>
    <name>TDataM1</name>
    <message>
        <source>序号</source>
        <translation>No.</translation>
    </message>
    <message>
        <source>坯板长</source>
        <translation>Panel L</translation>
    </message>
    <message>
        <source>坯板宽</source>
        <translation>Panel W</translation>
    </message>
    <message>
        <source>左右边距</source>
        <translation>Border L/R</translation>
    </message>
    <message>
        <source>宽向边距</source>
        <translation>Border T/B</translation>
    </message>
    <message>
        <source>拼板数</source>
        <translation>Boards/panel</translation>
    </message>
    <message>
        <source>拼版利用率</source>
        <translation>Panel util.</translation>
    </message>
    <message>
        <source>开料数</source>
        <translation>Panels/sheet</translation>
    </message>
    <message>
        <source>板材长</source>
        <translation>Sheet L</translation>
    </message>
    <message>
        <source>板材宽</source>
        <translation>Sheet W</translation>
    </message>
    <message>
        <source>板材利用率</source>
        <translation>Sheet util.</translation>
    </message>
    <message>
        <source>拼板利用率</source>
        <translation>Panel util.</translation>
    </message>
    <message>
        <source>坯板1尺寸</source>
        <translation>Panel 1 size</translation>
    </message>
    <message>
        <source>边距(左右/上下)</source>
        <translation>Border (L/R, T/B)</translation>
    </message>
    <message>
        <source>坯板2尺寸</source>
        <translation>Panel 2 size</translation>
    </message>
    <message>
        <source>板材尺寸</source>
        <translation>Sheet size</translation>
    </message>
    <message>
        <source>X 坐标</source>
        <translation>X</translation>
    </message>
    <message>
        <source>Y 坐标</source>
        <translation>Y</translation>
    </message>
    <message>
        <source>孔 径</source>
        <translation>Hole dia.</translation>
    </message>
    <message>
        <source>基准</source>
        <translation>Reference edge</translation>
    </message>
    <message>
        <source>边尺寸</source>
        <translation>From edge</translation>
    </message>
    <message>
        <source>另向尺寸</source>
        <translation>Along edge</translation>
    </message>
    <message>
        <source>直径</source>
        <translation>Diameter</translation>
    </message>
    <message>
        <source>材料长</source>
        <translation>Sheet length</translation>
    </message>
    <message>
        <source>材料宽</source>
        <translation>Sheet width</translation>
    </message>
    <message>
        <source>有效</source>
        <translation>Use</translation>
    </message>
    <message>
        <source>左右边宽</source>
        <translation>Rail L/R</translation>
    </message>
    <message>
        <source>上下边宽</source>
        <translation>Rail T/B</translation>
    </message>
    <message>
        <source>成品板长</source>
        <translation>Board L</translation>
    </message>
    <message>
        <source>成品板宽</source>
        <translation>Board W</translation>
    </message>
    <message>
        <source>拼版数</source>
        <translation>Units/array</translation>
    </message>
    <message>
        <source>部件编号</source>
        <translation>Part number</translation>
    </message>
    <message>
        <source>客户型号</source>
        <translation>Customer P/N</translation>
    </message>
    <message>
        <source>层数</source>
        <translation>Layers</translation>
    </message>
    <message>
        <source>操作员</source>
        <translation>Operator</translation>
    </message>
    <message>
        <source>单元长</source>
        <translation>Unit L</translation>
    </message>
    <message>
        <source>单元宽</source>
        <translation>Unit W</translation>
    </message>
    <message>
        <source>单元距</source>
        <translation>Unit gap</translation>
    </message>
    <message>
        <source>成品板边L</source>
        <translation>Array rail L</translation>
    </message>
    <message>
        <source>成品板边W</source>
        <translation>Array rail W</translation>
    </message>
    <message>
        <source>成品板拼板数</source>
        <translation>Units/array</translation>
    </message>
    <message>
        <source>成品拼板率</source>
        <translation>Array util.</translation>
    </message>
    <message>
        <source>拼板间距</source>
        <translation>Board gap</translation>
    </message>
    <message>
        <source>Panel1长</source>
        <translation>Panel 1 L</translation>
    </message>
    <message>
        <source>Panel1宽</source>
        <translation>Panel 1 W</translation>
    </message>
    <message>
        <source>Panel1边距L</source>
        <translation>Panel 1 border L</translation>
    </message>
    <message>
        <source>Panel1边距LW</source>
        <translation>Panel 1 border W</translation>
    </message>
    <message>
        <source>Panel1拼板数</source>
        <translation>Panel 1 boards</translation>
    </message>
    <message>
        <source>Panel1拼板利用率</source>
        <translation>Panel 1 util.</translation>
    </message>
    <message>
        <source>Panel2长</source>
        <translation>Panel 2 L</translation>
    </message>
    <message>
        <source>Panel2宽</source>
        <translation>Panel 2 W</translation>
    </message>
    <message>
        <source>Panel2边距L</source>
        <translation>Panel 2 border L</translation>
    </message>
    <message>
        <source>Panel2边距W</source>
        <translation>Panel 2 border W</translation>
    </message>
    <message>
        <source>Panel2拼板数</source>
        <translation>Panel 2 boards</translation>
    </message>
    <message>
        <source>Panel2拼板利用率</source>
        <translation>Panel 2 util.</translation>
    </message>
    <message>
        <source>日期</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>时间</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>成品板尺寸</source>
        <translation>Board size</translation>
    </message>
    <message>
        <source>边距1(左右/上下)</source>
        <translation>Border 1 (L/R, T/B)</translation>
    </message>
    <message>
        <source>边距2(左右/上下)</source>
        <translation>Border 2 (L/R, T/B)</translation>
    </message>
    <message>
        <source>孔径</source>
        <translation>Hole dia.</translation>
    </message>
</context>
<context>
    <name>TForm1</name>
    <message>
        <source>关于 Vorn</source>
        <translation>About Vorn</translation>
    </message>
    <message>
        <source>PCB 拼板与开料规划</source>
        <translation>PCB panelization and sheet cutting</translation>
    </message>
    <message>
        <source>版本：</source>
        <translation>Version:</translation>
    </message>
    <message>
        <source>确  定</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>TForm3</name>
    <message>
        <source>边距(左右/上下)</source>
        <translation>Border (L/R, T/B)</translation>
    </message>
    <message>
        <source>拼板数</source>
        <translation>Boards/panel</translation>
    </message>
    <message>
        <source>拼板利用率</source>
        <translation>Panel util.</translation>
    </message>
    <message>
        <source>部件编号</source>
        <translation>Part number</translation>
    </message>
    <message>
        <source>客户型号</source>
        <translation>Customer P/N</translation>
    </message>
    <message>
        <source>层数</source>
        <translation>Layers</translation>
    </message>
    <message>
        <source>操作员</source>
        <translation>Operator</translation>
    </message>
    <message>
        <source>保存日期</source>
        <translation>Date saved</translation>
    </message>
    <message>
        <source>用户信息</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>单位</source>
        <translation>Unit</translation>
    </message>
    <message>
        <source>示意图显示</source>
        <translation>Show diagrams</translation>
    </message>
    <message>
        <source>数据导出</source>
        <translation>Export list</translation>
    </message>
    <message>
        <source>查看Tooling</source>
        <translation>Show tooling holes</translation>
    </message>
    <message>
        <source>&lt;查询项&gt;</source>
        <translation>&lt;Search in&gt;</translation>
    </message>
    <message>
        <source>&lt;查找内容&gt;</source>
        <translation>&lt;Find what&gt;</translation>
    </message>
    <message>
        <source>查找</source>
        <translation>Find</translation>
    </message>
    <message>
        <source>   此列不能排序        </source>
        <translation>This column cannot be sorted.</translation>
    </message>
    <message>
        <source>     请选择适当的“查询项”！      </source>
        <translation>Please choose a column to search in!</translation>
    </message>
    <message>
        <source>     没有找到 “%1=&apos;%2...&apos;”的纪录！    </source>
        <translation>No part found with %1 = &apos;%2...&apos;!</translation>
    </message>
    <message>
        <source>关闭Tooling</source>
        <translation>Hide tooling holes</translation>
    </message>
    <message>
        <source>文本文件 (Text)  [*.Txt] (*.Txt)</source>
        <translation>Text file [*.Txt] (*.Txt)</translation>
    </message>
    <message>
        <source>Microsoft Excel 工作簿 [*.xlsx] (*.xlsx)</source>
        <translation>Microsoft Excel workbook [*.xlsx] (*.xlsx)</translation>
    </message>
    <message>
        <source>   文件已存在，是否覆盖它？        </source>
        <translation>The file already exists. Overwrite it?</translation>
    </message>
    <message>
        <source>   数据导出成功        </source>
        <translation>The list was exported.</translation>
    </message>
</context>
<context>
    <name>TForm4</name>
    <message>
        <source>图形显示</source>
        <translation>Diagrams</translation>
    </message>
    <message>
        <source>拼板图</source>
        <translation>Panel</translation>
    </message>
    <message>
        <source>Panel2 拼板图</source>
        <translation>Panel 2</translation>
    </message>
    <message>
        <source>开料图</source>
        <translation>Sheet</translation>
    </message>
    <message>
        <source>成品拼板图</source>
        <translation>Array</translation>
    </message>
    <message>
        <source>Panel1拼板图</source>
        <translation>Panel 1</translation>
    </message>
</context>
<context>
    <name>TForm5</name>
    <message>
        <source>板材设定</source>
        <translation>Sheets</translation>
    </message>
    <message>
        <source>保存Updata</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>插入</source>
        <translation>Insert</translation>
    </message>
    <message>
        <source>删除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>退出</source>
        <translation>Exit</translation>
    </message>
</context>
<context>
    <name>TForm6</name>
    <message>
        <source>部件搜索</source>
        <translation>Find Part</translation>
    </message>
    <message>
        <source>筛选：</source>
        <translation>Filter:</translation>
    </message>
    <message>
        <source>部件编号</source>
        <translation>Part number</translation>
    </message>
    <message>
        <source>客户型号</source>
        <translation>Customer P/N</translation>
    </message>
    <message>
        <source>双击选定行到确定！</source>
        <translation>Double-click a row to choose it!</translation>
    </message>
</context>
<context>
    <name>TForm7</name>
    <message>
        <source>Panel设定</source>
        <translation>Panel Presets</translation>
    </message>
    <message>
        <source>退出</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>单位转换</source>
        <translation>Switch unit</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>上插记录</source>
        <translation>Insert a row above</translation>
    </message>
    <message>
        <source>下插记录</source>
        <translation>Insert a row below</translation>
    </message>
    <message>
        <source>删除记录</source>
        <translation>Delete the row</translation>
    </message>
    <message>
        <source>上移记录</source>
        <translation>Move the row up</translation>
    </message>
    <message>
        <source>下移记录</source>
        <translation>Move the row down</translation>
    </message>
</context>
<context>
    <name>TForm8</name>
    <message>
        <source>Tooling 设定</source>
        <translation>Tooling Presets</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>上插记录</source>
        <translation>Insert Above</translation>
    </message>
    <message>
        <source>下插记录</source>
        <translation>Insert Below</translation>
    </message>
    <message>
        <source>删除</source>
        <translation>Delete</translation>
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
        <source>单位转换</source>
        <translation>Switch unit</translation>
    </message>
    <message>
        <source>  示意图</source>
        <translation>Diagram</translation>
    </message>
</context>
<context>
    <name>TForm9</name>
    <message>
        <source>上下</source>
        <translation>T/B</translation>
    </message>
    <message>
        <source>%1: BestPacking=%2 只能是 Off、Routed 或 VScored；改用 Off</source>
        <translation>%1: BestPacking=%2 can only be Off, Routed or VScored; Off is used</translation>
    </message>
    <message>
        <source>默认参数值设置</source>
        <translation>Default Parameters</translation>
    </message>
    <message>
        <source>设为默认值</source>
        <translation>Save as Defaults</translation>
    </message>
    <message>
        <source>撤消编辑</source>
        <translation>Undo Edits</translation>
    </message>
    <message>
        <source>恢复默认值</source>
        <translation>Restore Defaults</translation>
    </message>
    <message>
        <source>退出</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>生产拼板开料参数</source>
        <translation>Panelization parameters</translation>
    </message>
    <message>
        <source>成品尺寸</source>
        <translation>Board size</translation>
    </message>
    <message>
        <source>拼板间距</source>
        <translation>Gap</translation>
    </message>
    <message>
        <source>边距限制</source>
        <translation>Min. margins</translation>
    </message>
    <message>
        <source>左右</source>
        <translation>L/R</translation>
    </message>
    <message>
        <source>Panel种类</source>
        <translation>Panel kinds</translation>
    </message>
    <message>
        <source>最大Panel</source>
        <translation>Max. panel</translation>
    </message>
    <message>
        <source>最小Panel</source>
        <translation>Min. panel</translation>
    </message>
    <message>
        <source>Panel 最大长宽比例</source>
        <translation>Max. panel L/W ratio</translation>
    </message>
    <message>
        <source>最低板材利用率限制</source>
        <translation>Min. sheet utilization</translation>
    </message>
    <message>
        <source>自动Panel</source>
        <translation>Auto panel</translation>
    </message>
    <message>
        <source>设定Panel</source>
        <translation>Presets</translation>
    </message>
    <message>
        <source>获取最佳板材</source>
        <translation>Best sheet</translation>
    </message>
    <message>
        <source>扫描所有板材</source>
        <translation>All sheets</translation>
    </message>
    <message>
        <source>允许异向拼板</source>
        <translation>Turn boards</translation>
    </message>
    <message>
        <source>允许异向开料</source>
        <translation>Turn panels</translation>
    </message>
    <message>
        <source>允许Tooking</source>
        <translation>Tooling holes</translation>
    </message>
    <message>
        <source>交货拼板参数</source>
        <translation>Array parameters</translation>
    </message>
    <message>
        <source>单元尺寸</source>
        <translation>Unit size</translation>
    </message>
    <message>
        <source>边距  左右</source>
        <translation>Rail  L/R</translation>
    </message>
    <message>
        <source>最大成品尺寸</source>
        <translation>Max. array size</translation>
    </message>
    <message>
        <source>最小成品尺寸</source>
        <translation>Min. array size</translation>
    </message>
    <message>
        <source>公司信息</source>
        <translation>Company</translation>
    </message>
    <message>
        <source>公司名称</source>
        <translation>Company name</translation>
    </message>
</context>
<context>
    <name>TVornMF</name>
    <message>
        <source>文件(&amp;F)</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>打开(&amp;O)</source>
        <translation>&amp;Open...</translation>
    </message>
    <message>
        <source>保存(&amp;B)</source>
        <translation>&amp;Save</translation>
    </message>
    <message>
        <source>删除(&amp;D)</source>
        <translation>&amp;Delete</translation>
    </message>
    <message>
        <source>打印&amp;</source>
        <translation>Print</translation>
    </message>
    <message>
        <source>御览(&amp;Y)</source>
        <translation>Print Pre&amp;view</translation>
    </message>
    <message>
        <source>打印(&amp;P)</source>
        <translation>&amp;Print...</translation>
    </message>
    <message>
        <source>导出&amp;</source>
        <translation>Export</translation>
    </message>
    <message>
        <source>导出Excel文档</source>
        <translation>Export Excel Workbook</translation>
    </message>
    <message>
        <source>导出图片</source>
        <translation>Export Picture</translation>
    </message>
    <message>
        <source>导出PDF</source>
        <translation>Export PDF</translation>
    </message>
    <message>
        <source>导出DXF/拼板坐标</source>
        <translation>Export DXF / Board Positions</translation>
    </message>
    <message>
        <source>退出(&amp;E)</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>拼板开料(&amp;C)</source>
        <translation>&amp;Panelize</translation>
    </message>
    <message>
        <source>智能拼板开料(&amp;P)</source>
        <translation>&amp;Auto Panelize and Cut</translation>
    </message>
    <message>
        <source>拼板开料(&amp;S)</source>
        <translation>Panelize and Cut (&amp;Given Panel)</translation>
    </message>
    <message>
        <source>设置(&amp;S)</source>
        <translation>&amp;Settings</translation>
    </message>
    <message>
        <source>Panels  设定</source>
        <translation>Panel Presets</translation>
    </message>
    <message>
        <source>Tooling 设定</source>
        <translation>Tooling Presets</translation>
    </message>
    <message>
        <source>板  材  设定</source>
        <translation>Sheets</translation>
    </message>
    <message>
        <source>默认值  设定</source>
        <translation>Defaults</translation>
    </message>
    <message>
        <source>工具(&amp;T)</source>
        <translation>&amp;Tools</translation>
    </message>
    <message>
        <source>查询</source>
        <translation>Query Saved Parts</translation>
    </message>
    <message>
        <source>边距补偿</source>
        <translation>Border Minimization</translation>
    </message>
    <message>
        <source>上传Panel边距补偿</source>
        <translation>Minimize Borders of the Chosen Panel</translation>
    </message>
    <message>
        <source>所有Panel边距补偿</source>
        <translation>Minimize Borders of All Panels</translation>
    </message>
    <message>
        <source>计算器</source>
        <translation>Calculator</translation>
    </message>
    <message>
        <source>工具栏</source>
        <translation>Tool Bar</translation>
    </message>
    <message>
        <source>数据备份</source>
        <translation>Back Up Data</translation>
    </message>
    <message>
        <source>恢复数据</source>
        <translation>Restore Data</translation>
    </message>
    <message>
        <source>帮助(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>帮  助</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>关于 Vorn</source>
        <translation>About Vorn</translation>
    </message>
    <message>
        <source>退出(&amp;U)</source>
        <translation>&amp;Quit</translation>
    </message>
    <message>
        <source>打 开</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>保 存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>删除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>智能拼板</source>
        <translation>Auto</translation>
    </message>
    <message>
        <source>拼 板</source>
        <translation>Panelize</translation>
    </message>
    <message>
        <source>边最小化</source>
        <translation>Border</translation>
    </message>
    <message>
        <source>查 询</source>
        <translation>Query</translation>
    </message>
    <message>
        <source>打印御览</source>
        <translation>Preview</translation>
    </message>
    <message>
        <source>打 印</source>
        <translation>Print</translation>
    </message>
    <message>
        <source>导 出</source>
        <translation>Export</translation>
    </message>
    <message>
        <source>退出</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>边距最小化上传Panel</source>
        <translation>Minimize borders: chosen panel</translation>
    </message>
    <message>
        <source>边距最小化所有Panel</source>
        <translation>Minimize borders: all panels</translation>
    </message>
    <message>
        <source>Excel文件导出</source>
        <translation>Export Excel workbook</translation>
    </message>
    <message>
        <source>Bmp图片导出</source>
        <translation>Export BMP picture</translation>
    </message>
    <message>
        <source>上下</source>
        <translation>T/B</translation>
    </message>
    <message>
        <source>语言 / Language(&amp;L)</source>
        <translation>&amp;Language</translation>
    </message>
    <message>
        <source>   参   数  </source>
        <translation>Parameters</translation>
    </message>
    <message>
        <source> 成品拼板 </source>
        <translation>Array</translation>
    </message>
    <message>
        <source>   部   件 </source>
        <translation>Part</translation>
    </message>
    <message>
        <source>显示下部</source>
        <translation>Show the lower part</translation>
    </message>
    <message>
        <source>显示上部</source>
        <translation>Show the upper part</translation>
    </message>
    <message>
        <source>成品尺寸</source>
        <translation>Board size</translation>
    </message>
    <message>
        <source>拼板间距</source>
        <translation>Gap</translation>
    </message>
    <message>
        <source>边距限制</source>
        <translation>Min. margins</translation>
    </message>
    <message>
        <source>左右</source>
        <translation>L/R</translation>
    </message>
    <message>
        <source>Panel种类</source>
        <translation>Panel kinds</translation>
    </message>
    <message>
        <source>最大Panel</source>
        <translation>Max. panel</translation>
    </message>
    <message>
        <source>最小Panel</source>
        <translation>Min. panel</translation>
    </message>
    <message>
        <source>Panel 最大长宽比例</source>
        <translation>Max. panel L/W ratio</translation>
    </message>
    <message>
        <source>最低板材利用率限制</source>
        <translation>Min. sheet utilization</translation>
    </message>
    <message>
        <source>自动Panel</source>
        <translation>Auto panel</translation>
    </message>
    <message>
        <source>设定Panel</source>
        <translation>Presets</translation>
    </message>
    <message>
        <source>允许异向拼板</source>
        <translation>Turn boards</translation>
    </message>
    <message>
        <source>允许异向开料</source>
        <translation>Turn panels</translation>
    </message>
    <message>
        <source>允许Tooking</source>
        <translation>Tooling holes</translation>
    </message>
    <message>
        <source>获取最佳板材</source>
        <translation>Best sheet</translation>
    </message>
    <message>
        <source>扫描所有板材</source>
        <translation>All sheets</translation>
    </message>
    <message>
        <source>常规排版</source>
        <translation>Block layout</translation>
    </message>
    <message>
        <source>最优排版：关（按常规方块排列）</source>
        <translation>Best packing: off (boards in blocks)</translation>
    </message>
    <message>
        <source>最优·锣板</source>
        <translation>Best fit·routed</translation>
    </message>
    <message>
        <source>最优排版：锣板（任意排列）</source>
        <translation>Best packing: routed (boards placed freely)</translation>
    </message>
    <message>
        <source>最优·V-CUT</source>
        <translation>Best fit·V-score</translation>
    </message>
    <message>
        <source>最优排版：V-CUT（直通切割）</source>
        <translation>Best packing: V-score (straight cuts through the panel)</translation>
    </message>
    <message>
        <source>最优排版：&quot;拼 板&quot;时（允许异向拼板）寻找比常规排列更多的拼板数。
锣板：任意排列；V-CUT：只用贯穿整板的直线切割</source>
        <translation>Best packing: with &quot;Panelize&quot; (boards turned on panel) look for more boards than the block layout fits.
Routed: boards placed freely; V-score: only straight cuts right through the panel</translation>
    </message>
    <message>
        <source>Panel尺寸</source>
        <translation>Panel size</translation>
    </message>
    <message>
        <source>边  距</source>
        <translation>Border</translation>
    </message>
    <message>
        <source>拼板数量 </source>
        <translation>Boards/panel</translation>
    </message>
    <message>
        <source>拼板利用率</source>
        <translation>Panel util.</translation>
    </message>
    <message>
        <source>板材尺寸</source>
        <translation>Sheet size</translation>
    </message>
    <message>
        <source>开板数量</source>
        <translation>Panels/sheet</translation>
    </message>
    <message>
        <source>板材利用率</source>
        <translation>Sheet util.</translation>
    </message>
    <message>
        <source>单元尺寸</source>
        <translation>Unit size</translation>
    </message>
    <message>
        <source>边距  左右</source>
        <translation>Rail  L/R</translation>
    </message>
    <message>
        <source>最大成品尺寸</source>
        <translation>Max. array size</translation>
    </message>
    <message>
        <source>最小成品尺寸</source>
        <translation>Min. array size</translation>
    </message>
    <message>
        <source>拼板数量</source>
        <translation>Units/array</translation>
    </message>
    <message>
        <source>利 用 率</source>
        <translation>Utilization</translation>
    </message>
    <message>
        <source>到 智 能 拼 板 开 料 处 理</source>
        <translation>Hand over to Auto Panelize and Cut</translation>
    </message>
    <message>
        <source>部件编号</source>
        <translation>Part number</translation>
    </message>
    <message>
        <source>客户型号</source>
        <translation>Customer P/N</translation>
    </message>
    <message>
        <source>板  层  数</source>
        <translation>Layers</translation>
    </message>
    <message>
        <source>操  作  员</source>
        <translation>Operator</translation>
    </message>
    <message>
        <source>日        期</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>备注</source>
        <translation>Notes</translation>
    </message>
    <message>
        <source>示意图</source>
        <translation>Diagram</translation>
    </message>
    <message>
        <source>拼版图</source>
        <translation>Panel</translation>
    </message>
    <message>
        <source>Panel2 拼版图</source>
        <translation>Panel 2</translation>
    </message>
    <message>
        <source>开料图</source>
        <translation>Sheet</translation>
    </message>
    <message>
        <source>成品拼版图</source>
        <translation>Array</translation>
    </message>
    <message>
        <source>“双击”到“上传数据”</source>
        <translation>Double-click a row to take its plan into the job</translation>
    </message>
    <message>
        <source>拼板开料进度：</source>
        <translation>Search progress:</translation>
    </message>
    <message>
        <source>按&quot;Esc&quot;键取消</source>
        <translation>Press Esc to cancel</translation>
    </message>
    <message>
        <source>命令意外出错，未能完成。</source>
        <translation>The command failed unexpectedly and was not completed.</translation>
    </message>
    <message>
        <source>Panel1 拼版图</source>
        <translation>Panel 1</translation>
    </message>
    <message>
        <source>Panel1尺寸</source>
        <translation>Panel 1 size</translation>
    </message>
    <message>
        <source>序号</source>
        <translation>No.</translation>
    </message>
    <message>
        <source>成品板长</source>
        <translation>Board L</translation>
    </message>
    <message>
        <source>成品板宽</source>
        <translation>Board W</translation>
    </message>
    <message>
        <source>左右边宽</source>
        <translation>Rail L/R</translation>
    </message>
    <message>
        <source>上下边宽</source>
        <translation>Rail T/B</translation>
    </message>
    <message>
        <source>拼版数</source>
        <translation>Units/array</translation>
    </message>
    <message>
        <source>Panel2尺寸</source>
        <translation>Panel 2 size</translation>
    </message>
    <message>
        <source>确认取消</source>
        <translation>Confirm Cancel</translation>
    </message>
    <message>
        <source> 确实要取消此操作吗？         </source>
        <translation>Do you really want to cancel the search?</translation>
    </message>
    <message>
        <source>数据备份完成</source>
        <translation>Backup complete</translation>
    </message>
    <message>
        <source>数据恢复完成</source>
        <translation>Restore complete</translation>
    </message>
</context>
<context>
    <name>ToolingTab</name>
    <message>
        <source>返回</source>
        <translation>Back</translation>
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
        <source>上插</source>
        <translation>Insert Above</translation>
    </message>
    <message>
        <source>上插记录</source>
        <translation>Insert a row above</translation>
    </message>
    <message>
        <source>下插</source>
        <translation>Insert Below</translation>
    </message>
    <message>
        <source>下插记录</source>
        <translation>Insert a row below</translation>
    </message>
    <message>
        <source>删除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>刷新</source>
        <translation>Redraw</translation>
    </message>
    <message>
        <source>图像刷新</source>
        <translation>Redraw the picture</translation>
    </message>
</context>
<context>
    <name>WelcomePicture</name>
    <message>
        <source>PCB 拼板与开料规划</source>
        <translation>PCB panelization and sheet cutting</translation>
    </message>
    <message>
        <source>F2 智能拼板开料    F3 给定 Panel 拼板</source>
        <translation>F2 Auto Panelize and Cut    F3 Panelize a Given Panel</translation>
    </message>
</context>
<context>
    <name>vorn::HelpWindow</name>
    <message>
        <source>Vorn 帮助</source>
        <translation>Vorn Help</translation>
    </message>
</context>
</TS>
