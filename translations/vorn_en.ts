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
    <name>vorn::HelpWindow</name>
    <message>
        <source>Vorn 帮助</source>
        <translation>Vorn Help</translation>
    </message>
</context>
</TS>
