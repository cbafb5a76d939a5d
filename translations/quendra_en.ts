<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>Application</name>
    <message>
        <source>Quendra 主机配置软件</source>
        <translation>Quendra Host Configuration</translation>
    </message>
</context>
<context>
    <name>ConfigWords</name>
    <message>
        <source>无法读取此文件</source>
        <translation>This file cannot be read</translation>
    </message>
    <message>
        <source>文件太大（%1字节），不是主机配置文件</source>
        <translation>The file is too large (%1 bytes) to be a host configuration file</translation>
    </message>
    <message>
        <source>不是JSON格式（第%1字节处有误）</source>
        <translation>Not JSON (error at byte %1)</translation>
    </message>
    <message>
        <source>不是主机配置文件</source>
        <translation>Not a host configuration file</translation>
    </message>
    <message>
        <source>文件格式版本%1不被支持</source>
        <translation>File format version %1 is not supported</translation>
    </message>
    <message>
        <source>未知的名称</source>
        <translation>Unknown name</translation>
    </message>
    <message>
        <source>值的类型不对</source>
        <translation>Wrong type of value</translation>
    </message>
    <message>
        <source>数值超出范围</source>
        <translation>Value out of range</translation>
    </message>
    <message>
        <source>文字超过%1个字节</source>
        <translation>Text longer than %1 bytes</translation>
    </message>
    <message>
        <source>含有设备不能显示的字符</source>
        <translation>Contains characters the device cannot show</translation>
    </message>
    <message>
        <source>不是十六进制数</source>
        <translation>Not a hexadecimal number</translation>
    </message>
    <message>
        <source>地址格式不正确</source>
        <translation>Invalid address format</translation>
    </message>
    <message>
        <source>长度为%1，应为%2</source>
        <translation>Length %1, should be %2</translation>
    </message>
    <message>
        <source>记录中既没有fields也没有image</source>
        <translation>The record has neither fields nor image</translation>
    </message>
    <message>
        <source>配置文件有误：%1</source>
        <translation>Error in the configuration file: %1</translation>
    </message>
    <message>
        <source>位置：%1</source>
        <translation>Where: %1</translation>
    </message>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
    <message>
        <source>重复</source>
        <translation>given twice</translation>
    </message>
    <message>
        <source>不是mac、ip、name，也不是字段路径（如network.hostAddress）</source>
        <translation>Neither mac, ip, name nor a field path (such as network.hostAddress)</translation>
    </message>
    <message>
        <source>没有这个参数组</source>
        <translation>No such parameter group</translation>
    </message>
    <message>
        <source>缺少记录序号（如channels[0].name1）</source>
        <translation>The record number is missing (such as channels[0].name1)</translation>
    </message>
    <message>
        <source>此参数组只有一条记录，不带序号</source>
        <translation>This group has one record and takes no number</translation>
    </message>
    <message>
        <source>记录序号超出范围</source>
        <translation>Record number out of range</translation>
    </message>
    <message>
        <source>此参数组没有这个字段</source>
        <translation>This group has no such field</translation>
    </message>
    <message>
        <source>文件太大，不是主机表格</source>
        <translation>The file is too large to be a table of hosts</translation>
    </message>
    <message>
        <source>第%1行既不是UTF-8也不是GBK文字</source>
        <translation>Line %1 is neither UTF-8 nor GBK text</translation>
    </message>
    <message>
        <source>第%1行开始的引号没有结束</source>
        <translation>The quote opened on line %1 never closes</translation>
    </message>
    <message>
        <source>第1行没有mac列</source>
        <translation>Row 1 has no mac column</translation>
    </message>
    <message>
        <source>未知的列名“%1”：%2</source>
        <translation>Unknown column &quot;%1&quot;: %2</translation>
    </message>
    <message>
        <source>列名“%1”重复</source>
        <translation>Column &quot;%1&quot; is given twice</translation>
    </message>
    <message>
        <source>单元格没有列名</source>
        <translation>The cell has no column name</translation>
    </message>
    <message>
        <source>不是MAC地址</source>
        <translation>Not a MAC address</translation>
    </message>
    <message>
        <source>这台主机在第%1行已经有了</source>
        <translation>This host is already in row %1</translation>
    </message>
    <message>
        <source>与第%1行的主机IP相同</source>
        <translation>Same IP as the host in row %1</translation>
    </message>
    <message>
        <source>与第%1行的主机终端地址相同</source>
        <translation>Same terminal address as the host in row %1</translation>
    </message>
    <message>
        <source>表格文件有误：%1</source>
        <translation>Error in the table file: %1</translation>
    </message>
    <message>
        <source>位置：第%1行，%2列（%3）</source>
        <translation>Where: row %1, column %2 (%3)</translation>
    </message>
    <message>
        <source>位置：第%1行</source>
        <translation>Where: row %1</translation>
    </message>
    <message>
        <source>无</source>
        <translation>None</translation>
    </message>
    <message>
        <source>主机不再应答：已写入%1；未写入%2</source>
        <translation>The host stopped answering: written %1; not written %2</translation>
    </message>
    <message>
        <source>主机不再应答：已读取%1；未读取%2</source>
        <translation>The host stopped answering: read %1; not read %2</translation>
    </message>
    <message>
        <source>主机不再应答：未读取%1</source>
        <translation>The host stopped answering: not read %1</translation>
    </message>
</context>
<context>
    <name>FieldLabels</name>
    <message>
        <source>IP获取方式：</source>
        <translation>Address mode:</translation>
    </message>
    <message>
        <source>静态IP：</source>
        <translation>Static IP:</translation>
    </message>
    <message>
        <source>网关地址：</source>
        <translation>Gateway:</translation>
    </message>
    <message>
        <source>子网掩码：</source>
        <translation>Subnet mask:</translation>
    </message>
    <message>
        <source>最大连接数量：</source>
        <translation>Max. connections:</translation>
    </message>
    <message>
        <source>服务器1 源端口：</source>
        <translation>Server 1 Source port:</translation>
    </message>
    <message>
        <source>服务器1 监听端口：</source>
        <translation>Server 1 Listening port:</translation>
    </message>
    <message>
        <source>服务器1 服务器地址：</source>
        <translation>Server 1 Server address:</translation>
    </message>
    <message>
        <source>服务器2 源端口：</source>
        <translation>Server 2 Source port:</translation>
    </message>
    <message>
        <source>服务器2 监听端口：</source>
        <translation>Server 2 Listening port:</translation>
    </message>
    <message>
        <source>服务器2 服务器地址：</source>
        <translation>Server 2 Server address:</translation>
    </message>
    <message>
        <source>终端地址：</source>
        <translation>Terminal address:</translation>
    </message>
    <message>
        <source>服务器数量：</source>
        <translation>Server count:</translation>
    </message>
    <message>
        <source>登陆帧间隔时间：</source>
        <translation>Login frame interval:</translation>
    </message>
    <message>
        <source>心跳包间隔时间：</source>
        <translation>Heartbeat interval:</translation>
    </message>
    <message>
        <source>数据帧间隔时间：</source>
        <translation>Data frame interval:</translation>
    </message>
    <message>
        <source>ModBus通信波特率：</source>
        <translation>ModBus baud rate:</translation>
    </message>
    <message>
        <source>通道启用数量：</source>
        <translation>Channels enabled:</translation>
    </message>
    <message>
        <source>正常数据记录间隔(分钟)：</source>
        <translation>Normal recording interval (min):</translation>
    </message>
    <message>
        <source>告警数据记录间隔(分钟)：</source>
        <translation>Alarm recording interval (min):</translation>
    </message>
    <message>
        <source>存储类型：</source>
        <translation>Recording type:</translation>
    </message>
    <message>
        <source>启用</source>
        <translation>Enabled</translation>
    </message>
    <message>
        <source>经度：</source>
        <translation>Longitude:</translation>
    </message>
    <message>
        <source>维度：</source>
        <translation>Latitude:</translation>
    </message>
    <message>
        <source>登陆帧间隔：</source>
        <translation>Login frame interval:</translation>
    </message>
    <message>
        <source>心跳帧间隔：</source>
        <translation>Heartbeat interval:</translation>
    </message>
    <message>
        <source>数据帧间隔：</source>
        <translation>Data frame interval:</translation>
    </message>
    <message>
        <source>GPRS目标地址或域名：</source>
        <translation>GPRS target address or domain:</translation>
    </message>
    <message>
        <source>GPRS目标端口：</source>
        <translation>GPRS target port:</translation>
    </message>
    <message>
        <source>告警目标手机号码(已填写)</source>
        <translation>Alarm phone numbers (filled in)</translation>
    </message>
    <message>
        <source>告警目标手机号码1：</source>
        <translation>Alarm phone number 1:</translation>
    </message>
    <message>
        <source>告警目标手机号码2：</source>
        <translation>Alarm phone number 2:</translation>
    </message>
    <message>
        <source>告警目标手机号码3：</source>
        <translation>Alarm phone number 3:</translation>
    </message>
    <message>
        <source>告警目标手机号码4：</source>
        <translation>Alarm phone number 4:</translation>
    </message>
    <message>
        <source>告警目标手机号码5：</source>
        <translation>Alarm phone number 5:</translation>
    </message>
    <message>
        <source>报警短信发送间隔：</source>
        <translation>Alarm SMS interval:</translation>
    </message>
    <message>
        <source>GPRS工作类型：</source>
        <translation>GPRS work type:</translation>
    </message>
    <message>
        <source>数据表格是否显示</source>
        <translation>Show data table</translation>
    </message>
    <message>
        <source>标头 使用</source>
        <translation>Header Use</translation>
    </message>
    <message>
        <source>标尾 使用</source>
        <translation>Footer Use</translation>
    </message>
    <message>
        <source>LED屏X尺寸：</source>
        <translation>LED width (X):</translation>
    </message>
    <message>
        <source>LED屏Y尺寸：</source>
        <translation>LED height (Y):</translation>
    </message>
    <message>
        <source>通道显示数量：</source>
        <translation>Channels shown:</translation>
    </message>
    <message>
        <source>列数：</source>
        <translation>Columns:</translation>
    </message>
    <message>
        <source>LED屏刷新间隔(S)：</source>
        <translation>Refresh interval (s):</translation>
    </message>
    <message>
        <source>标头：</source>
        <translation>Header:</translation>
    </message>
    <message>
        <source>标尾：</source>
        <translation>Footer:</translation>
    </message>
    <message>
        <source>通道数据来源：</source>
        <translation>Data source:</translation>
    </message>
    <message>
        <source>模拟量1(温度)上限：</source>
        <translation>Analog 1 (temperature) upper limit:</translation>
    </message>
    <message>
        <source>模拟量1(温度)下限：</source>
        <translation>Analog 1 (temperature) lower limit:</translation>
    </message>
    <message>
        <source>模拟量1 A:</source>
        <translation>Analog 1 A:</translation>
    </message>
    <message>
        <source>模拟量1 B:</source>
        <translation>Analog 1 B:</translation>
    </message>
    <message>
        <source>模拟量1(温度)控制回差：</source>
        <translation>Analog 1 (temperature) hysteresis:</translation>
    </message>
    <message>
        <source>模拟量1名称：</source>
        <translation>Analog 1 name:</translation>
    </message>
    <message>
        <source>模拟量1单位：</source>
        <translation>Analog 1 unit:</translation>
    </message>
    <message>
        <source>模拟量2(湿度)上限：</source>
        <translation>Analog 2 (humidity) upper limit:</translation>
    </message>
    <message>
        <source>模拟量2(湿度)下限：</source>
        <translation>Analog 2 (humidity) lower limit:</translation>
    </message>
    <message>
        <source>模拟量2 A:</source>
        <translation>Analog 2 A:</translation>
    </message>
    <message>
        <source>模拟量2 B:</source>
        <translation>Analog 2 B:</translation>
    </message>
    <message>
        <source>模拟量2(湿度)控制回差：</source>
        <translation>Analog 2 (humidity) hysteresis:</translation>
    </message>
    <message>
        <source>模拟量2名称：</source>
        <translation>Analog 2 name:</translation>
    </message>
    <message>
        <source>模拟量2单位：</source>
        <translation>Analog 2 unit:</translation>
    </message>
    <message>
        <source>上限1 关联继电器：</source>
        <translation>Upper limit 1 Linked relay:</translation>
    </message>
    <message>
        <source>下限1 关联继电器：</source>
        <translation>Lower limit 1 Linked relay:</translation>
    </message>
    <message>
        <source>上限2 关联继电器：</source>
        <translation>Upper limit 2 Linked relay:</translation>
    </message>
    <message>
        <source>下限2 关联继电器：</source>
        <translation>Lower limit 2 Linked relay:</translation>
    </message>
    <message>
        <source>数据属性：</source>
        <translation>Data type:</translation>
    </message>
    <message>
        <source>报警延时(S)：</source>
        <translation>Alarm delay (s):</translation>
    </message>
    <message>
        <source>模拟量1 发生允许短信报警</source>
        <translation>Analog 1 SMS on alarm</translation>
    </message>
    <message>
        <source>模拟量2 发生允许短信报警</source>
        <translation>Analog 2 SMS on alarm</translation>
    </message>
    <message>
        <source>模拟量1 复归允许短信报警</source>
        <translation>Analog 1 SMS on restore</translation>
    </message>
    <message>
        <source>模拟量2 复归允许短信报警</source>
        <translation>Analog 2 SMS on restore</translation>
    </message>
    <message>
        <source>ModBus从站地址：</source>
        <translation>ModBus slave address:</translation>
    </message>
    <message>
        <source>ModBus设备类型：</source>
        <translation>ModBus device type:</translation>
    </message>
    <message>
        <source>寄存器起始地址：</source>
        <translation>First register:</translation>
    </message>
    <message>
        <source>寄存器个数：</source>
        <translation>Register count:</translation>
    </message>
    <message>
        <source>继电器工作模式：</source>
        <translation>Work mode:</translation>
    </message>
    <message>
        <source>继电器启动间隔：</source>
        <translation>Start interval:</translation>
    </message>
    <message>
        <source>继电器启动时长：</source>
        <translation>Start duration:</translation>
    </message>
    <message>
        <source>网口参数</source>
        <translation>Network parameters</translation>
    </message>
    <message>
        <source>基础参数</source>
        <translation>Base parameters</translation>
    </message>
    <message>
        <source>GPRS参数</source>
        <translation>GPRS parameters</translation>
    </message>
    <message>
        <source>LED屏参数</source>
        <translation>LED parameters</translation>
    </message>
    <message>
        <source>通道%1</source>
        <translation>Channel %1</translation>
    </message>
    <message>
        <source>槽位%1</source>
        <translation>Slot %1</translation>
    </message>
    <message>
        <source>继电器%1</source>
        <translation>Relay %1</translation>
    </message>
    <message>
        <source>通道参数</source>
        <translation>Channel parameters</translation>
    </message>
    <message>
        <source>ModBus参数</source>
        <translation>ModBus parameters</translation>
    </message>
    <message>
        <source>继电器参数</source>
        <translation>Relay parameters</translation>
    </message>
    <message>
        <source>ModBus槽位%1</source>
        <translation>ModBus slot %1</translation>
    </message>
    <message>
        <source>无线槽位%1</source>
        <translation>Wireless slot %1</translation>
    </message>
    <message>
        <source>机载温湿度</source>
        <translation>On-board temperature/humidity</translation>
    </message>
    <message>
        <source>机载大气压力</source>
        <translation>On-board air pressure</translation>
    </message>
    <message>
        <source>机载光照度</source>
        <translation>On-board illuminance</translation>
    </message>
    <message>
        <source>机载交流电压</source>
        <translation>On-board AC voltage</translation>
    </message>
    <message>
        <source>机载直流电压</source>
        <translation>On-board DC voltage</translation>
    </message>
    <message>
        <source>机载4-20mA电流%1</source>
        <translation>On-board 4-20 mA current %1</translation>
    </message>
    <message>
        <source>外部开关量%1</source>
        <translation>External switch %1</translation>
    </message>
    <message>
        <source>本机剩余电量</source>
        <translation>Host battery level</translation>
    </message>
    <message>
        <source>本机供电状态</source>
        <translation>Host power state</translation>
    </message>
    <message>
        <source>当前降雨量</source>
        <translation>Current rainfall</translation>
    </message>
    <message>
        <source>上一日降雨量</source>
        <translation>Previous day&apos;s rainfall</translation>
    </message>
    <message>
        <source>瞬时雨量</source>
        <translation>Instant rainfall</translation>
    </message>
    <message>
        <source>累计降雨量</source>
        <translation>Total rainfall</translation>
    </message>
    <message>
        <source>ModBus保留槽位%1</source>
        <translation>ModBus reserved slot %1</translation>
    </message>
    <message>
        <source>无线%1剩余电量</source>
        <translation>Wireless %1 battery level</translation>
    </message>
    <message>
        <source>否</source>
        <translation>No</translation>
    </message>
    <message>
        <source>是</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>StaticIP</source>
        <translation>StaticIP</translation>
    </message>
    <message>
        <source>DHCP/autoIP</source>
        <translation>DHCP/autoIP</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Off</translation>
    </message>
    <message>
        <source>开启</source>
        <translation>On</translation>
    </message>
    <message>
        <source>自动</source>
        <translation>Automatic</translation>
    </message>
    <message>
        <source>传输模式</source>
        <translation>Transmission</translation>
    </message>
    <message>
        <source>短信报警模式</source>
        <translation>SMS alarms</translation>
    </message>
    <message>
        <source>传输与短信报警同时模式</source>
        <translation>Transmission and SMS alarms</translation>
    </message>
    <message>
        <source>模拟量1启用模拟量2启用</source>
        <translation>Analog 1 on, analog 2 on</translation>
    </message>
    <message>
        <source>模拟量1启用模拟量2禁用</source>
        <translation>Analog 1 on, analog 2 off</translation>
    </message>
    <message>
        <source>模拟量1禁用模拟量2启用</source>
        <translation>Analog 1 off, analog 2 on</translation>
    </message>
    <message>
        <source>32位无符号</source>
        <translation>32-bit unsigned</translation>
    </message>
    <message>
        <source>32位有符号</source>
        <translation>32-bit signed</translation>
    </message>
    <message>
        <source>浮点型数据</source>
        <translation>Floating point</translation>
    </message>
    <message>
        <source>开关量类型</source>
        <translation>Switch</translation>
    </message>
    <message>
        <source>温湿度变送器</source>
        <translation>Temperature/humidity transmitter</translation>
    </message>
    <message>
        <source>K17控制器</source>
        <translation>K17 controller</translation>
    </message>
    <message>
        <source>空调控制器</source>
        <translation>Air conditioning controller</translation>
    </message>
    <message>
        <source>20WLux光照</source>
        <translation>20WLux light sensor</translation>
    </message>
    <message>
        <source>通用采集设备</source>
        <translation>Generic acquisition device</translation>
    </message>
    <message>
        <source>通用控制器</source>
        <translation>Generic controller</translation>
    </message>
    <message>
        <source>远程控制</source>
        <translation>Remote control</translation>
    </message>
    <message>
        <source>自动控制</source>
        <translation>Automatic control</translation>
    </message>
    <message>
        <source>定时控制</source>
        <translation>Timed control</translation>
    </message>
    <message>
        <source>机载水浸状态</source>
        <translation>On-board water sensor</translation>
    </message>
    <message>
        <source>无</source>
        <translation>None</translation>
    </message>
</context>
<context>
    <name>FileChooser</name>
    <message>
        <source>主机配置文件 (*.json);;所有文件 (*)</source>
        <translation>Host configuration files (*.json);;All files (*)</translation>
    </message>
    <message>
        <source>PDF文件 (*.pdf);;网页文件 (*.html)</source>
        <translation>PDF files (*.pdf);;Web pages (*.html)</translation>
    </message>
    <message>
        <source>表格文件 (*.csv);;所有文件 (*)</source>
        <translation>Tables (*.csv);;All files (*)</translation>
    </message>
</context>
<context>
    <name>HelpText</name>
    <message>
        <source>  本软件适用于：Quendra产品的参数配置。<byte value="xd"/>
单击&quot;搜索&quot;按钮搜索设备，设备出现在设备列表后，双击设备更新信息到右边信息框中修改参数后，点击&quot;配置参数&quot;按钮，设备将保存参数并自动重启<byte value="xd"/>
注意事项:<byte value="xd"/>
1、确保软件与设备在同一局域网内<byte value="xd"/>
2、请确定当前PC只使用一个网卡<byte value="xd"/>
3、请按照 搜索-&gt;双击选中并读取-&gt;配置参数 的步骤来操作<byte value="xd"/>
</source>
        <translation>  This software configures the parameters of Quendra products.<byte value="xd"/>
Press &quot;Search&quot; to find the devices. When a device appears in the device list, double-click it to read its settings into the tabs on the right; after changing parameters, press the write button of the tab: the device saves the parameters and restarts by itself<byte value="xd"/>
Notes:<byte value="xd"/>
1. Make sure the software and the devices are in the same LAN<byte value="xd"/>
2. Make sure this PC uses only one network adapter<byte value="xd"/>
3. Follow the steps Search -&gt; double-click to select and read -&gt; write the parameters<byte value="xd"/>
</translation>
    </message>
</context>
<context>
    <name>HostReport</name>
    <message>
        <source>未读取</source>
        <translation>Not read</translation>
    </message>
    <message>
        <source>主机名称</source>
        <translation>Host name</translation>
    </message>
    <message>
        <source>MAC地址</source>
        <translation>MAC address</translation>
    </message>
    <message>
        <source>IP地址</source>
        <translation>IP address</translation>
    </message>
    <message>
        <source>固件版本</source>
        <translation>Firmware version</translation>
    </message>
    <message>
        <source>读取时间</source>
        <translation>Read at</translation>
    </message>
    <message>
        <source>读取工具</source>
        <translation>Read by</translation>
    </message>
    <message>
        <source>全部通道</source>
        <translation>All channels</translation>
    </message>
    <message>
        <source>启用的通道（通道启用数量：%1）</source>
        <translation>Enabled channels (channels enabled: %1)</translation>
    </message>
    <message>
        <source>签字</source>
        <translation>Signatures</translation>
    </message>
    <message>
        <source>调试人：</source>
        <translation>Commissioned by:</translation>
    </message>
    <message>
        <source>日期：</source>
        <translation>Date:</translation>
    </message>
    <message>
        <source>验收人：</source>
        <translation>Accepted by:</translation>
    </message>
    <message>
        <source>主机调试报告</source>
        <translation>Host commissioning report</translation>
    </message>
    <message>
        <source>报告文件名要以 .pdf 或 .html 结尾</source>
        <translation>A report file name must end in .pdf or .html</translation>
    </message>
    <message>
        <source>没有字体，不能生成PDF</source>
        <translation>No fonts: a PDF cannot be made</translation>
    </message>
    <message>
        <source>主机名称：%1&#x3000;MAC地址：%2&#x3000;IP地址：%3</source>
        <translation>Host name: %1   MAC address: %2   IP address: %3</translation>
    </message>
    <message>
        <source>第%1页，共%2页</source>
        <translation>Page %1 of %2</translation>
    </message>
</context>
<context>
    <name>JobProgress</name>
    <message>
        <source>读取</source>
        <translation>Reading</translation>
    </message>
    <message>
        <source>写入</source>
        <translation>Writing</translation>
    </message>
    <message>
        <source>校验</source>
        <translation>Verifying</translation>
    </message>
</context>
<context>
    <name>MeaningText</name>
    <message>
        <source>网口参数</source>
        <translation>network parameters</translation>
    </message>
    <message>
        <source>基础参数</source>
        <translation>base parameters</translation>
    </message>
    <message>
        <source>GPRS参数</source>
        <translation>GPRS parameters</translation>
    </message>
    <message>
        <source>LED屏参数</source>
        <translation>LED parameters</translation>
    </message>
    <message>
        <source>通道%1</source>
        <translation>channel %1</translation>
    </message>
    <message>
        <source>ModBus槽位%1</source>
        <translation>ModBus slot %1</translation>
    </message>
    <message>
        <source>继电器%1</source>
        <translation>relay %1</translation>
    </message>
    <message>
        <source>数据报太短</source>
        <translation>datagram too short</translation>
    </message>
    <message>
        <source>帧头错误</source>
        <translation>wrong frame marker</translation>
    </message>
    <message>
        <source>长度字段错误</source>
        <translation>wrong length field</translation>
    </message>
    <message>
        <source>校验和错误</source>
        <translation>wrong frame sum</translation>
    </message>
    <message>
        <source>未知命令</source>
        <translation>unknown command</translation>
    </message>
    <message>
        <source>隧道长度为0</source>
        <translation>tunnel length 0</translation>
    </message>
    <message>
        <source>隧道长度超出数据报</source>
        <translation>tunnel longer than the datagram</translation>
    </message>
    <message>
        <source>CRC错误</source>
        <translation>wrong CRC</translation>
    </message>
    <message>
        <source>隧道起始字节错误</source>
        <translation>wrong tunnel start byte</translation>
    </message>
    <message>
        <source>未知隧道命令</source>
        <translation>unknown tunnel command</translation>
    </message>
    <message>
        <source>记录不完整</source>
        <translation>record incomplete</translation>
    </message>
    <message>
        <source>搜索请求</source>
        <translation>Search request</translation>
    </message>
    <message>
        <source>读取网络参数 发往 %1</source>
        <translation>Read network parameters to %1</translation>
    </message>
    <message>
        <source>写入网络参数 发往 %1</source>
        <translation>Write network parameters to %1</translation>
    </message>
    <message>
        <source>网络参数恢复出厂 发往 %1</source>
        <translation>Network factory reset to %1</translation>
    </message>
    <message>
        <source>写入MAC %1 发往 %2</source>
        <translation>Write MAC %1 to %2</translation>
    </message>
    <message>
        <source>隧道写入 %1 发往 %2</source>
        <translation>Tunnel write %1 to %2</translation>
    </message>
    <message>
        <source>隧道读取 %1 发往 %2</source>
        <translation>Tunnel read %1 to %2</translation>
    </message>
    <message>
        <source>搜索应答 来自 %1 IP %2 版本%3 名称 %4</source>
        <translation>Search answer from %1 IP %2 version %3 name %4</translation>
    </message>
    <message>
        <source>网络参数应答 来自 %1</source>
        <translation>Network parameters answer from %1</translation>
    </message>
    <message>
        <source>隧道数据 %1 来自 %2 版本%3</source>
        <translation>Tunnel data %1 from %2 version %3</translation>
    </message>
    <message>
        <source>写入确认 %1 来自 %2 版本%3</source>
        <translation>Write acknowledged %1 from %2 version %3</translation>
    </message>
    <message>
        <source>版本被拒绝 来自 %1 版本%2</source>
        <translation>Version refused from %1 version %2</translation>
    </message>
    <message>
        <source>格式错误，已丢弃：%1</source>
        <translation>Malformed, dropped: %1</translation>
    </message>
</context>
<context>
    <name>PageContext</name>
    <message>
        <source>警告</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>请先搜索到设备,双击选中,再读取参数</source>
        <translation>Search for the device and double-click it before reading parameters</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>%1含有设备不能显示的字符</source>
        <translation>%1 contains characters the device cannot show</translation>
    </message>
    <message>
        <source>表格编辑…</source>
        <translation>Table…</translation>
    </message>
</context>
<context>
    <name>TransportMessages</name>
    <message>
        <source>套接字错误,请检查错误并重新打开软件</source>
        <translation>Socket error; check it and start the software again</translation>
    </message>
    <message>
        <source>设置规则失败1</source>
        <translation>Setting a socket option failed (1)</translation>
    </message>
    <message>
        <source>设置规则失败2</source>
        <translation>Setting a socket option failed (2)</translation>
    </message>
    <message>
        <source>已经绑定过此IP,无需再次绑定</source>
        <translation>This IP is bound already; it need not be bound again</translation>
    </message>
    <message>
        <source>套接字创建失败</source>
        <translation>Creating the socket failed</translation>
    </message>
    <message>
        <source>设置socket规则失败</source>
        <translation>Setting the socket option failed</translation>
    </message>
    <message>
        <source>设置socket规则失败2</source>
        <translation>Setting the socket option failed (2)</translation>
    </message>
    <message>
        <source>绑定SOCKET出错</source>
        <translation>Binding the socket failed</translation>
    </message>
    <message>
        <source>端口被占用</source>
        <translation>The port is in use</translation>
    </message>
</context>
<context>
    <name>quendra::AboutBox</name>
    <message>
        <source>关于Quendra配置软件</source>
        <translation>About Quendra Configuration</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Quendra主机配置软件V%1</source>
        <translation>Quendra Host Configuration V%1</translation>
    </message>
</context>
<context>
    <name>quendra::BasePage</name>
    <message>
        <source>读取基础参数</source>
        <translation>Read base parameters</translation>
    </message>
    <message>
        <source>写入基础参数</source>
        <translation>Write base parameters</translation>
    </message>
    <message>
        <source>允许编辑所有参数</source>
        <translation>Allow editing all parameters</translation>
    </message>
    <message>
        <source>读取设备参数成功！<byte value="xd"/>
</source>
        <translation>Device parameters read successfully!<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>下载设备参数成功！<byte value="xd"/>
</source>
        <translation>Device parameters written successfully!<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>读取设备参数失败<byte value="xd"/>
</source>
        <translation>Reading the device parameters failed<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>网络运行参数</source>
        <translation>Network operation</translation>
    </message>
    <message>
        <source>秒</source>
        <translation>s</translation>
    </message>
    <message>
        <source>标定坐标值</source>
        <translation>Coordinates</translation>
    </message>
    <message>
        <source>监控主机存储参数</source>
        <translation>Host recording</translation>
    </message>
    <message>
        <source>读取设备参数...<byte value="xd"/>
</source>
        <translation>Reading device parameters...<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>请先&quot;读取设备参数&quot;然后进行修改再进行配置</source>
        <translation>First read the base parameters, then change and write them</translation>
    </message>
    <message>
        <source>设置参数... <byte value="xd"/>
</source>
        <translation>Writing parameters... <byte value="xd"/>
</translation>
    </message>
    <message>
        <source>终端地址要为8位长度</source>
        <translation>The terminal address must be 8 characters long</translation>
    </message>
    <message>
        <source>终端地址要为8位十六进制数</source>
        <translation>The terminal address must be 8 hexadecimal digits</translation>
    </message>
    <message>
        <source>终端地址错误</source>
        <translation>Terminal address error</translation>
    </message>
</context>
<context>
    <name>quendra::BatchProgress</name>
    <message>
        <source>正在读取通道%1参数</source>
        <translation>Reading channel %1</translation>
    </message>
    <message>
        <source>通道%1参数读取成功!</source>
        <translation>Channel %1 read!</translation>
    </message>
    <message>
        <source>通道%1参数读取失败<byte value="xd"/>
</source>
        <translation>Reading channel %1 failed<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>---通道参数读取成功!---</source>
        <translation>---Channels read!---</translation>
    </message>
    <message>
        <source>通道参数读取失败......</source>
        <translation>Reading the channels failed......</translation>
    </message>
    <message>
        <source>正在写入通道%1参数</source>
        <translation>Writing channel %1</translation>
    </message>
    <message>
        <source>通道%1参数写入成功!</source>
        <translation>Channel %1 written!</translation>
    </message>
    <message>
        <source>通道%1参数写入失败<byte value="xd"/>
</source>
        <translation>Writing channel %1 failed<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>---通道参数写入成功!---</source>
        <translation>---Channels written!---</translation>
    </message>
    <message>
        <source>通道参数写入失败......</source>
        <translation>Writing the channels failed......</translation>
    </message>
    <message>
        <source>正在读取继电器%1参数</source>
        <translation>Reading relay %1</translation>
    </message>
    <message>
        <source>读取继电器%1参数失败<byte value="xd"/>
</source>
        <translation>Reading relay %1 failed<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>---继电器参数读取成功!---</source>
        <translation>---Relays read!---</translation>
    </message>
    <message>
        <source>继电器参数读取失败......</source>
        <translation>Reading the relays failed......</translation>
    </message>
    <message>
        <source>正在写入继电器%1参数</source>
        <translation>Writing relay %1</translation>
    </message>
    <message>
        <source>写入继电器%1参数失败<byte value="xd"/>
</source>
        <translation>Writing relay %1 failed<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>---继电器参数写入成功!---</source>
        <translation>---Relays written!---</translation>
    </message>
    <message>
        <source>继电器参数写入失败......</source>
        <translation>Writing the relays failed......</translation>
    </message>
    <message>
        <source>正在读取ModBus%1参数</source>
        <translation>Reading ModBus slot %1</translation>
    </message>
    <message>
        <source>读取ModBus%1参数失败<byte value="xd"/>
</source>
        <translation>Reading ModBus slot %1 failed<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>---ModBus参数读取成功!---</source>
        <translation>---ModBus slots read!---</translation>
    </message>
    <message>
        <source>ModBus参数读取失败......</source>
        <translation>Reading the ModBus slots failed......</translation>
    </message>
    <message>
        <source>正在写入ModBus%1参数</source>
        <translation>Writing ModBus slot %1</translation>
    </message>
    <message>
        <source>写入ModBus%1参数失败<byte value="xd"/>
</source>
        <translation>Writing ModBus slot %1 failed<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>---ModBus参数写入成功!---</source>
        <translation>---ModBus slots written!---</translation>
    </message>
    <message>
        <source>ModBus参数写入失败......</source>
        <translation>Writing the ModBus slots failed......</translation>
    </message>
    <message>
        <source>已选择其他主机，通道参数读取已取消</source>
        <translation>Another host was selected: channel read cancelled</translation>
    </message>
    <message>
        <source>已选择其他主机，通道参数写入已取消</source>
        <translation>Another host was selected: channel write cancelled</translation>
    </message>
    <message>
        <source>已选择其他主机，继电器参数读取已取消</source>
        <translation>Another host was selected: relay read cancelled</translation>
    </message>
    <message>
        <source>已选择其他主机，继电器参数写入已取消</source>
        <translation>Another host was selected: relay write cancelled</translation>
    </message>
    <message>
        <source>已选择其他主机，ModBus参数读取已取消</source>
        <translation>Another host was selected: ModBus read cancelled</translation>
    </message>
    <message>
        <source>已选择其他主机，ModBus参数写入已取消</source>
        <translation>Another host was selected: ModBus write cancelled</translation>
    </message>
</context>
<context>
    <name>quendra::ChannelPage</name>
    <message>
        <source>模拟量%1</source>
        <translation>Analog %1</translation>
    </message>
    <message>
        <source>通道</source>
        <translation>Channel </translation>
    </message>
    <message>
        <source>通道号：</source>
        <translation>Channel:</translation>
    </message>
    <message>
        <source>发生允许短信报警</source>
        <translation>SMS on alarm</translation>
    </message>
    <message>
        <source>复归允许短信报警</source>
        <translation>SMS on restore</translation>
    </message>
    <message>
        <source>关联继电器：</source>
        <translation>Linked relay:</translation>
    </message>
    <message>
        <source>上限%1</source>
        <translation>Upper limit %1</translation>
    </message>
    <message>
        <source>下限%1</source>
        <translation>Lower limit %1</translation>
    </message>
    <message>
        <source>输出=Ax+B</source>
        <translation>Output = Ax+B</translation>
    </message>
    <message>
        <source>A:</source>
        <translation>A:</translation>
    </message>
    <message>
        <source>B:</source>
        <translation>B:</translation>
    </message>
    <message>
        <source>允许编辑所有参数</source>
        <translation>Allow editing all parameters</translation>
    </message>
    <message>
        <source>读取通道参数</source>
        <translation>Read channels</translation>
    </message>
    <message>
        <source>设置通道参数</source>
        <translation>Write channels</translation>
    </message>
    <message>
        <source>警告</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>请先读取通道参数，再配置!</source>
        <translation>Read the channels first, then write them!</translation>
    </message>
    <message>
        <source>报警内容：</source>
        <translation>Alarm text:</translation>
    </message>
    <message>
        <source>复归内容：</source>
        <translation>Restore text:</translation>
    </message>
</context>
<context>
    <name>quendra::CloneDialog</name>
    <message>
        <source>开始复制</source>
        <translation>Start copying</translation>
    </message>
    <message>
        <source>复制到其他主机</source>
        <translation>Copy to other hosts</translation>
    </message>
    <message>
        <source>来源</source>
        <translation>Source</translation>
    </message>
    <message>
        <source>所选主机的配置（已读取）</source>
        <translation>Configuration of the selected host (read)</translation>
    </message>
    <message>
        <source>打开的配置文件</source>
        <translation>Opened configuration file</translation>
    </message>
    <message>
        <source>目标主机</source>
        <translation>Target hosts</translation>
    </message>
    <message>
        <source>参数组</source>
        <translation>Parameter groups</translation>
    </message>
    <message>
        <source>主机</source>
        <translation>Host</translation>
    </message>
    <message>
        <source>结果</source>
        <translation>Result</translation>
    </message>
    <message>
        <source>复制结果</source>
        <translation>Copy results</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>等待</source>
        <translation>Waiting</translation>
    </message>
    <message>
        <source>正在%1 %2</source>
        <translation>%1 %2</translation>
    </message>
    <message>
        <source>固件版本不支持，未写入</source>
        <translation>Firmware version not supported; nothing written</translation>
    </message>
    <message>
        <source>没有应答，未写入</source>
        <translation>No answer; nothing written</translation>
    </message>
    <message>
        <source>已校验（写入%1条记录）</source>
        <translation>Verified (%1 records written)</translation>
    </message>
    <message>
        <source>已校验（无需写入）</source>
        <translation>Verified (nothing to write)</translation>
    </message>
    <message>
        <source>失败：%1</source>
        <translation>Failed: %1</translation>
    </message>
    <message>
        <source>%1：%2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>（各主机保留自己的IP）</source>
        <translation> (each host keeps its own IP)</translation>
    </message>
    <message>
        <source>已取消</source>
        <translation>Cancelled</translation>
    </message>
    <message>
        <source>读回不同：%1</source>
        <translation>Read back differs: %1</translation>
    </message>
    <message>
        <source>另一程序正在写入此主机（%1，用户%2，进程%3，%4起），未写入</source>
        <translation>Another program is writing to this host (%1, user %2, process %3, since %4); not written</translation>
    </message>
    <message>
        <source>历史记录未能保存，未写入</source>
        <translation>History entry could not be saved; nothing written</translation>
    </message>
</context>
<context>
    <name>quendra::CompareDialog</name>
    <message>
        <source>写入前比较</source>
        <translation>Compare before writing</translation>
    </message>
    <message>
        <source>记录</source>
        <translation>Record</translation>
    </message>
    <message>
        <source>参数</source>
        <translation>Parameter</translation>
    </message>
    <message>
        <source>主机当前值</source>
        <translation>Value on the host</translation>
    </message>
    <message>
        <source>新值</source>
        <translation>New value</translation>
    </message>
    <message>
        <source>不同之处</source>
        <translation>Differences</translation>
    </message>
    <message>
        <source>(页面上不显示的字节)</source>
        <translation>(bytes not shown on the pages)</translation>
    </message>
    <message>
        <source>写入</source>
        <translation>Write</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message numerus="yes">
        <source>以下参数将写入主机（共%n处不同）：</source>
        <translation>
            <numerusform>These parameters will be written to the host (%n difference):</numerusform>
            <numerusform>These parameters will be written to the host (%n differences):</numerusform>
        </translation>
    </message>
    <message>
        <source>替换主机：写入IP和终端地址</source>
        <translation>Replace host: write the IP and terminal address</translation>
    </message>
    <message>
        <source>%1（未写入：保持本机标识）</source>
        <translation>%1 (not written: this host&apos;s identity is kept)</translation>
    </message>
    <message>
        <source>未写入：保持本机标识</source>
        <translation>Not written: this host&apos;s identity is kept</translation>
    </message>
</context>
<context>
    <name>quendra::ConfigActions</name>
    <message>
        <source>警告</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>请先搜索到设备,双击选中,再读取参数</source>
        <translation>Search for the device and double-click it before reading parameters</translation>
    </message>
    <message>
        <source>保存配置</source>
        <translation>Save configuration</translation>
    </message>
    <message>
        <source>保存配置已取消</source>
        <translation>Saving the configuration was cancelled</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>无法保存配置文件%1：%2</source>
        <translation>Cannot save the configuration file %1: %2</translation>
    </message>
    <message>
        <source>配置未保存</source>
        <translation>Configuration not saved</translation>
    </message>
    <message>
        <source>配置已保存：%1</source>
        <translation>Configuration saved: %1</translation>
    </message>
    <message>
        <source>以下记录没有读到：%1</source>
        <translation>These records were not read: %1</translation>
    </message>
    <message>
        <source>打开配置</source>
        <translation>Open configuration</translation>
    </message>
    <message>
        <source>已打开配置文件：%1</source>
        <translation>Configuration file opened: %1</translation>
    </message>
    <message>
        <source>来自主机：%1</source>
        <translation>From host: %1</translation>
    </message>
    <message>
        <source>写入全部...</source>
        <translation>Write all...</translation>
    </message>
    <message>
        <source>写入全部</source>
        <translation>Write all</translation>
    </message>
    <message>
        <source>未写入</source>
        <translation>Not written</translation>
    </message>
    <message>
        <source>主机的配置与要写入的相同，无需写入</source>
        <translation>The host already holds this configuration; nothing to write</translation>
    </message>
    <message>
        <source>写入完成，%1条记录已读回校验</source>
        <translation>Written; %1 records read back and verified</translation>
    </message>
    <message>
        <source>以下记录未能写入或校验：%1</source>
        <translation>These records could not be written or verified: %1</translation>
    </message>
    <message>
        <source>其余%1条记录已读回校验</source>
        <translation>The other %1 records were read back and verified</translation>
    </message>
    <message>
        <source>恢复历史配置...</source>
        <translation>Restore an earlier configuration...</translation>
    </message>
    <message>
        <source>请先读取所选主机的配置，或打开配置文件</source>
        <translation>Read the configuration of the selected host first, or open a configuration file</translation>
    </message>
    <message>
        <source>复制完成：%1台主机已校验，%2台失败</source>
        <translation>Copying done: %1 hosts verified, %2 failed</translation>
    </message>
    <message>
        <source>固件版本不支持，%1</source>
        <translation>Firmware version not supported, %1</translation>
    </message>
    <message>
        <source>主机没有应答，%1</source>
        <translation>The host did not answer, %1</translation>
    </message>
    <message>
        <source>未保存</source>
        <translation>not saved</translation>
    </message>
    <message>
        <source>写入%1...</source>
        <translation>Writing %1...</translation>
    </message>
    <message>
        <source>写入%1</source>
        <translation>Write %1</translation>
    </message>
    <message>
        <source>导出报告</source>
        <translation>Export report</translation>
    </message>
    <message>
        <source>导出报告已取消</source>
        <translation>Report export cancelled</translation>
    </message>
    <message>
        <source>未导出报告</source>
        <translation>No report exported</translation>
    </message>
    <message>
        <source>无法导出报告%1：%2</source>
        <translation>Cannot export the report %1: %2</translation>
    </message>
    <message>
        <source>报告已导出：%1</source>
        <translation>Report exported: %1</translation>
    </message>
    <message>
        <source>网口参数来自另一台主机，未写入</source>
        <translation>Network settings from another host: not written</translation>
    </message>
    <message>
        <source>以下记录读回的值与写入的不同：%1</source>
        <translation>These records read back otherwise than written: %1</translation>
    </message>
    <message>
        <source>请先搜索主机</source>
        <translation>Search for hosts first</translation>
    </message>
    <message>
        <source>已选择其他主机，%1</source>
        <translation>Another host was selected; %1</translation>
    </message>
    <message>
        <source>历史记录未能保存（%1），%2</source>
        <translation>History entry could not be saved (%1); %2</translation>
    </message>
</context>
<context>
    <name>quendra::DeviceList</name>
    <message>
        <source>监控主机列表</source>
        <translation>Hosts found</translation>
    </message>
</context>
<context>
    <name>quendra::DeviceListModel</name>
    <message>
        <source>设备IP</source>
        <translation>Device IP</translation>
    </message>
    <message>
        <source>设备名称</source>
        <translation>Device name</translation>
    </message>
    <message>
        <source>MAC地址</source>
        <translation>MAC address</translation>
    </message>
    <message>
        <source>固件版本</source>
        <translation>Firmware</translation>
    </message>
    <message>
        <source>另一台主机也以此IP（%1）应答</source>
        <translation>Another host also answers with this IP (%1)</translation>
    </message>
    <message>
        <source>此主机（MAC %1）还以另一个IP应答</source>
        <translation>This host (MAC %1) also answers with another IP</translation>
    </message>
    <message>
        <source>冲突</source>
        <translation>Conflict</translation>
    </message>
    <message>
        <source>IP重复</source>
        <translation>IP shared</translation>
    </message>
    <message>
        <source>多个IP</source>
        <translation>Several IPs</translation>
    </message>
</context>
<context>
    <name>quendra::FleetTableDialog</name>
    <message>
        <source>允许编辑所有参数</source>
        <translation>Allow editing all parameters</translation>
    </message>
    <message>
        <source>主机总表</source>
        <translation>Fleet table</translation>
    </message>
    <message>
        <source>参数组</source>
        <translation>Parameter groups</translation>
    </message>
    <message>
        <source>读取</source>
        <translation>Read</translation>
    </message>
    <message>
        <source>写入</source>
        <translation>Writing</translation>
    </message>
    <message>
        <source>导出CSV…</source>
        <translation>Export CSV…</translation>
    </message>
    <message>
        <source>导入CSV…</source>
        <translation>Import CSV…</translation>
    </message>
    <message>
        <source>基准配置…</source>
        <translation>Baseline…</translation>
    </message>
    <message>
        <source>%1台主机；按“读取”读取它们的参数</source>
        <translation>%1 hosts; press &quot;Read&quot; to read their settings</translation>
    </message>
    <message>
        <source>Ctrl+C 复制，Ctrl+V 粘贴，Ctrl+D 向下填充，Ctrl+Z 撤销</source>
        <translation>Ctrl+C copy, Ctrl+V paste, Ctrl+D fill down, Ctrl+Z undo</translation>
    </message>
    <message>
        <source>已修改</source>
        <translation>changed</translation>
    </message>
    <message>
        <source>与多数主机或基准配置不同</source>
        <translation>differs from most hosts or from the baseline</translation>
    </message>
    <message>
        <source>IP或终端地址重复</source>
        <translation>IP or terminal address shared</translation>
    </message>
    <message>
        <source>进度</source>
        <translation>Progress</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>已粘贴，%1个单元格有改变</source>
        <translation>Pasted, %1 cells changed</translation>
    </message>
    <message>
        <source>；%1个不可编辑的单元格未改变</source>
        <translation>; %1 cells that cannot be edited were left as they were</translation>
    </message>
    <message>
        <source>修改</source>
        <translation>Edits</translation>
    </message>
    <message>
        <source>%1的%2“%3”与另一台主机相同，没有写入任何主机。请先改正标红的单元格。</source>
        <translation>%2 &quot;%3&quot; of %1 is the same as another host&apos;s; nothing was written to any host. Correct the cells marked red first.</translation>
    </message>
    <message>
        <source>表格中没有修改，无需写入</source>
        <translation>Nothing was changed in the table: nothing to write</translation>
    </message>
    <message>
        <source>正在%1 %2</source>
        <translation>%1 %2</translation>
    </message>
    <message>
        <source>等待</source>
        <translation>Waiting</translation>
    </message>
    <message>
        <source>正在读取%1台主机...</source>
        <translation>Reading %1 hosts...</translation>
    </message>
    <message>
        <source>正在写入%1台主机...</source>
        <translation>Writing %1 hosts...</translation>
    </message>
    <message>
        <source>固件版本不支持</source>
        <translation>Firmware version not supported</translation>
    </message>
    <message>
        <source>没有应答</source>
        <translation>No answer</translation>
    </message>
    <message>
        <source>已取消</source>
        <translation>Cancelled</translation>
    </message>
    <message>
        <source>已读取</source>
        <translation>Read</translation>
    </message>
    <message>
        <source>未读到：%1</source>
        <translation>Not read: %1</translation>
    </message>
    <message>
        <source>已校验（写入%1条记录）</source>
        <translation>Verified (%1 records written)</translation>
    </message>
    <message>
        <source>已校验（无需写入）</source>
        <translation>Verified (nothing to write)</translation>
    </message>
    <message>
        <source>失败：%1</source>
        <translation>Failed: %1</translation>
    </message>
    <message>
        <source>读回不同：%1</source>
        <translation>Read back differs: %1</translation>
    </message>
    <message>
        <source>%1，未写入</source>
        <translation>%1, not written</translation>
    </message>
    <message>
        <source>读取完成：%1台主机已读取，%2台未读全</source>
        <translation>Read: %1 hosts read, %2 not completely</translation>
    </message>
    <message>
        <source>写入完成：%1台主机已校验，%2台失败</source>
        <translation>Written: %1 hosts verified, %2 failed</translation>
    </message>
    <message>
        <source>导出CSV</source>
        <translation>Export CSV</translation>
    </message>
    <message>
        <source>无法保存%1：%2</source>
        <translation>Cannot save %1: %2</translation>
    </message>
    <message>
        <source>已导出：%1</source>
        <translation>Exported: %1</translation>
    </message>
    <message>
        <source>导入CSV</source>
        <translation>Import CSV</translation>
    </message>
    <message>
        <source>%1（第%2行）</source>
        <translation>%1 (row %2)</translation>
    </message>
    <message>
        <source>已导入%1：%2个单元格有改变，尚未写入</source>
        <translation>Imported %1: %2 cells changed, not written yet</translation>
    </message>
    <message>
        <source>以下主机不在表中，未导入：%1</source>
        <translation>These hosts are not in the table and were not imported: %1</translation>
    </message>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
    <message>
        <source>%1个单元格未导入：所在主机或记录还没有读取（请先“读取”），或按数据属性不可编辑</source>
        <translation>%1 cells were not imported: their host or record has not been read (press &quot;Read&quot; first), or the data property locks them</translation>
    </message>
    <message>
        <source>基准配置</source>
        <translation>Baseline configuration</translation>
    </message>
    <message>
        <source>基准配置：%1</source>
        <translation>Baseline: %1</translation>
    </message>
    <message>
        <source>历史记录未能保存</source>
        <translation>The history entry could not be saved</translation>
    </message>
</context>
<context>
    <name>quendra::FleetTableModel</name>
    <message>
        <source>与多数主机不同（多数为%1）</source>
        <translation>Differs from most hosts (most hold %1)</translation>
    </message>
    <message>
        <source>与基准配置不同（基准为%1）</source>
        <translation>Differs from the baseline (which holds %1)</translation>
    </message>
    <message>
        <source>另一台主机也使用此IP</source>
        <translation>Another host uses this IP too</translation>
    </message>
    <message>
        <source>另一台主机也使用此终端地址</source>
        <translation>Another host uses this terminal address too</translation>
    </message>
    <message>
        <source>%1  %2</source>
        <translation>%1  %2</translation>
    </message>
</context>
<context>
    <name>quendra::GprsPage</name>
    <message>
        <source>GPRS无线参数</source>
        <translation>GPRS wireless</translation>
    </message>
    <message>
        <source>S</source>
        <translation>s</translation>
    </message>
    <message>
        <source>单位：分钟（0-1000）</source>
        <translation>Unit: minutes (0-1000)</translation>
    </message>
    <message>
        <source>读取GPRS参数</source>
        <translation>Read GPRS parameters</translation>
    </message>
    <message>
        <source>下载GPRS参数</source>
        <translation>Write GPRS parameters</translation>
    </message>
    <message>
        <source>允许编辑所有参数</source>
        <translation>Allow editing all parameters</translation>
    </message>
    <message>
        <source>读取GPRS无线参数成功！<byte value="xd"/>
</source>
        <translation>GPRS parameters read successfully!<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>下载GPRS无线参数成功！<byte value="xd"/>
</source>
        <translation>GPRS parameters written successfully!<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>读取GPRS无线参数失败<byte value="xd"/>
</source>
        <translation>Reading the GPRS parameters failed<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>读取GPRS运行参数...<byte value="xd"/>
</source>
        <translation>Reading GPRS parameters...<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>请先&quot;读取GPRS参数&quot;然后进行修改再进行配置</source>
        <translation>First read the GPRS parameters, then change and write them</translation>
    </message>
    <message>
        <source>设置GPRS无线参数... <byte value="xd"/>
</source>
        <translation>Writing GPRS parameters... <byte value="xd"/>
</translation>
    </message>
    <message>
        <source>%1不能大于255</source>
        <translation>%1 cannot be greater than 255</translation>
    </message>
    <message>
        <source>请选择%1</source>
        <translation>Please choose the %1</translation>
    </message>
</context>
<context>
    <name>quendra::HistoryDialog</name>
    <message>
        <source>恢复...</source>
        <translation>Restore...</translation>
    </message>
    <message>
        <source>历史记录</source>
        <translation>History</translation>
    </message>
    <message>
        <source>写入前的配置</source>
        <translation>Configurations before writes</translation>
    </message>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>主机%1还没有历史记录。</source>
        <translation>Host %1 has no history yet.</translation>
    </message>
    <message>
        <source>主机%1写入前的配置：</source>
        <translation>Configurations of host %1 before writes:</translation>
    </message>
</context>
<context>
    <name>quendra::InfoLogView</name>
    <message>
        <source>信息提示区</source>
        <translation>Information</translation>
    </message>
</context>
<context>
    <name>quendra::JobProgress</name>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>正在%1 %2</source>
        <translation>%1 %2</translation>
    </message>
</context>
<context>
    <name>quendra::LedPage</name>
    <message>
        <source>使用</source>
        <translation>Use</translation>
    </message>
    <message>
        <source>标头</source>
        <translation>Header</translation>
    </message>
    <message>
        <source>标尾</source>
        <translation>Footer</translation>
    </message>
    <message>
        <source>读取LED屏参数</source>
        <translation>Read LED parameters</translation>
    </message>
    <message>
        <source>下载LED屏参数</source>
        <translation>Write LED parameters</translation>
    </message>
    <message>
        <source>读取LED屏参数成功！<byte value="xd"/>
</source>
        <translation>LED parameters read successfully!<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>下载LED屏参数成功！<byte value="xd"/>
</source>
        <translation>LED parameters written successfully!<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>读取LED屏参数失败<byte value="xd"/>
</source>
        <translation>Reading the LED parameters failed<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>读取LED参数...<byte value="xd"/>
</source>
        <translation>Reading LED parameters...<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>请先&quot;读取LED显示屏参数&quot;然后进行修改再进行配置</source>
        <translation>First read the LED parameters, then change and write them</translation>
    </message>
    <message>
        <source>设置LED显示屏参数... <byte value="xd"/>
</source>
        <translation>Writing LED parameters... <byte value="xd"/>
</translation>
    </message>
</context>
<context>
    <name>quendra::LedPreview</name>
    <message>
        <source>LED屏预览</source>
        <translation>LED screen preview</translation>
    </message>
    <message>
        <source>没有屏幕尺寸</source>
        <translation>No screen size</translation>
    </message>
    <message>
        <source>%1×%2像素</source>
        <translation>%1×%2 pixels</translation>
    </message>
    <message>
        <source>，%1个通道%2列，每屏%3行，共%4屏</source>
        <translation>, %1 channels in %2 columns, %3 rows a screen, %4 screens</translation>
    </message>
    <message>
        <source>通道%1</source>
        <translation>Channel %1</translation>
    </message>
</context>
<context>
    <name>quendra::MainDialog</name>
    <message>
        <source>电脑网卡IP</source>
        <translation>PC address</translation>
    </message>
    <message>
        <source>电脑网卡IP 端口</source>
        <translation>PC address port</translation>
    </message>
    <message>
        <source>搜索</source>
        <translation>Search</translation>
    </message>
    <message>
        <source>监控主机列表</source>
        <translation>Hosts found</translation>
    </message>
    <message>
        <source>信息提示区</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>关于 Quendra(&amp;A)...</source>
        <translation>&amp;About Quendra...</translation>
    </message>
    <message>
        <source>网口参数 </source>
        <translation>Network</translation>
    </message>
    <message>
        <source>GPRS参数 </source>
        <translation>GPRS</translation>
    </message>
    <message>
        <source>基础参数 </source>
        <translation>Base</translation>
    </message>
    <message>
        <source>通道参数 </source>
        <translation>Channels</translation>
    </message>
    <message>
        <source>ModBus参数</source>
        <translation>ModBus</translation>
    </message>
    <message>
        <source>继电器参数</source>
        <translation>Relays</translation>
    </message>
    <message>
        <source>LED屏参数</source>
        <translation>LED</translation>
    </message>
    <message>
        <source>警告</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>此版本设备不能使用该软件,请使用其他版本软件</source>
        <translation>This software cannot work with this device version; please use another version</translation>
    </message>
    <message>
        <source>搜索...<byte value="xd"/>
</source>
        <translation>Searching...<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>搜索到设备<byte value="xd"/>
</source>
        <translation>Device found<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>读取参数...<byte value="xd"/>
</source>
        <translation>Reading parameters...<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>保存配置...</source>
        <translation>Save configuration...</translation>
    </message>
    <message>
        <source>打开配置...</source>
        <translation>Open configuration...</translation>
    </message>
    <message>
        <source>写入全部...</source>
        <translation>Write all...</translation>
    </message>
    <message>
        <source>历史记录...</source>
        <translation>History...</translation>
    </message>
    <message>
        <source>复制到其他主机...</source>
        <translation>Copy to other hosts...</translation>
    </message>
    <message>
        <source>通信记录...</source>
        <translation>Traffic...</translation>
    </message>
    <message>
        <source>导出报告...</source>
        <translation>Export report...</translation>
    </message>
    <message>
        <source>Quendra 主机配置软件 V%1</source>
        <translation>Quendra Host Configuration V%1</translation>
    </message>
    <message>
        <source>主机总表...</source>
        <translation>Fleet table...</translation>
    </message>
</context>
<context>
    <name>quendra::ModbusPage</name>
    <message>
        <source>槽位</source>
        <translation>Slot </translation>
    </message>
    <message>
        <source>ModBus-RTU主站参数</source>
        <translation>ModBus-RTU master</translation>
    </message>
    <message>
        <source>ModBus槽位：</source>
        <translation>ModBus slot:</translation>
    </message>
    <message>
        <source>读取ModBus参数</source>
        <translation>Read ModBus parameters</translation>
    </message>
    <message>
        <source>写入ModBus参数</source>
        <translation>Write ModBus parameters</translation>
    </message>
    <message>
        <source>警告</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>请先读取ModBus参数，再配置!</source>
        <translation>Read the ModBus parameters first, then write them!</translation>
    </message>
</context>
<context>
    <name>quendra::NetworkPage</name>
    <message>
        <source>服务器%1</source>
        <translation>Server %1</translation>
    </message>
    <message>
        <source>目标服务器网络参数</source>
        <translation>Target servers</translation>
    </message>
    <message>
        <source>写MAC</source>
        <translation>Write MAC</translation>
    </message>
    <message>
        <source>写入网络参数</source>
        <translation>Write network parameters</translation>
    </message>
    <message>
        <source>网络恢复出厂</source>
        <translation>Network factory reset</translation>
    </message>
    <message>
        <source>读取网络参数成功！<byte value="xd"/>
</source>
        <translation>Network parameters read successfully!<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>读取网络参数失败<byte value="xd"/>
</source>
        <translation>Reading the network parameters failed<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>监听端口：</source>
        <translation>Listening port:</translation>
    </message>
    <message>
        <source>服务器地址：</source>
        <translation>Server address:</translation>
    </message>
    <message>
        <source>源端口：</source>
        <translation>Source port:</translation>
    </message>
    <message>
        <source>设备本地网络参数</source>
        <translation>Device network</translation>
    </message>
    <message>
        <source>MAC地址：</source>
        <translation>MAC address:</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>%1格式不正确,应为以&quot;.&quot;分隔的四个0~255的十进制数,例如192.168.0.9</source>
        <translation>%1 is not valid: it must be four decimal numbers 0~255 separated by &quot;.&quot;, for example 192.168.0.9</translation>
    </message>
    <message>
        <source>%1超过%2个字节(一个汉字占两个字节),请缩短</source>
        <translation>%1 is longer than %2 bytes (a Chinese character takes two); please shorten it</translation>
    </message>
    <message>
        <source>设置参数... <byte value="xd"/>
</source>
        <translation>Writing parameters... <byte value="xd"/>
</translation>
    </message>
    <message>
        <source>网络参数已下发，请重新搜索设备，双击设备列表来验证是否下发成功</source>
        <translation>The network parameters were sent. Search again and double-click the device in the list to check that they were taken</translation>
    </message>
    <message>
        <source>恢复出厂设置...<byte value="xd"/>
</source>
        <translation>Restoring factory settings...<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>不合格的MAC地址格式!!!<byte value="xd"/>
</source>
        <translation>Invalid MAC address format!!!<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>写入MAC地址...<byte value="xd"/>
</source>
        <translation>Writing MAC address...<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>没有读到这台主机的网络参数，请在主机列表中重新双击该主机，读到后再写入</source>
        <translation>This host&apos;s network settings have not been read. Double-click the host in the host list again, and write once they have been read.</translation>
    </message>
</context>
<context>
    <name>quendra::PageWriter</name>
    <message>
        <source>主机不再应答</source>
        <translation>the host no longer answers</translation>
    </message>
    <message>
        <source>另一程序正在写入此主机（%1，用户%2，进程%3）</source>
        <translation>another program is writing to this host (%1, user %2, process %3)</translation>
    </message>
    <message>
        <source>%1保持本机：%2</source>
        <translation>%1 kept as this host&apos;s: %2</translation>
    </message>
    <message>
        <source>页面上不显示的字节保持本机</source>
        <translation>bytes not shown on the page kept as this host&apos;s</translation>
    </message>
    <message>
        <source>，</source>
        <translation>, </translation>
    </message>
    <message>
        <source>网络恢复出厂</source>
        <translation>Network factory reset</translation>
    </message>
    <message>
        <source>写MAC</source>
        <translation>Write MAC</translation>
    </message>
    <message>
        <source>%1写入</source>
        <translation>%1 write</translation>
    </message>
    <message>
        <source>下载网络参数成功！</source>
        <translation>Network settings written and verified!</translation>
    </message>
    <message>
        <source>历史记录未能保存（%1），没有写入</source>
        <translation>the history entry could not be saved (%1), nothing written</translation>
    </message>
    <message>
        <source>固件版本不支持</source>
        <translation>firmware version not supported</translation>
    </message>
    <message>
        <source>已取消</source>
        <translation>cancelled</translation>
    </message>
    <message>
        <source>页面上不显示的字节</source>
        <translation>bytes not shown on the page</translation>
    </message>
    <message>
        <source>读回的值不同：%1</source>
        <translation>read back differs: %1</translation>
    </message>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
    <message>
        <source>主机没有应答</source>
        <translation>the host did not answer</translation>
    </message>
    <message>
        <source>%1失败：%2</source>
        <translation>%1 failed: %2</translation>
    </message>
</context>
<context>
    <name>quendra::RecordTableDialog</name>
    <message>
        <source>写入</source>
        <translation>Writing</translation>
    </message>
    <message>
        <source>表格编辑 - %1</source>
        <translation>Table - %1</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>允许编辑所有参数</source>
        <translation>Allow editing all parameters</translation>
    </message>
    <message>
        <source>Ctrl+C 复制，Ctrl+V 粘贴，Ctrl+D 向下填充，Ctrl+Z 撤销</source>
        <translation>Ctrl+C copy, Ctrl+V paste, Ctrl+D fill down, Ctrl+Z undo</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>已粘贴，%1个单元格有改变</source>
        <translation>Pasted, %1 cells changed</translation>
    </message>
    <message>
        <source>；%1个按数据属性不可编辑的单元格未改变</source>
        <translation>; %1 cells the data type locks kept their values</translation>
    </message>
    <message>
        <source>表格中没有修改，无需写入</source>
        <translation>Nothing was changed in the table: nothing to write</translation>
    </message>
</context>
<context>
    <name>quendra::RecordTableModel</name>
    <message>
        <source>编辑 %1 %2</source>
        <translation>Edit %1 %2</translation>
    </message>
    <message>
        <source>粘贴</source>
        <translation>Paste</translation>
    </message>
    <message>
        <source>向下填充</source>
        <translation>Fill down</translation>
    </message>
    <message>
        <source>粘贴的内容有%1行%2列，从所选单元格起表格只有%3行%4列，没有粘贴</source>
        <translation>The pasted block has %1 rows and %2 columns; from the selected cell the table has only %3 rows and %4 columns. Nothing was pasted</translation>
    </message>
    <message>
        <source>%1：按数据属性不可编辑</source>
        <translation>%1: locked by the data type</translation>
    </message>
    <message>
        <source>%1：“%2”不是列表中的一项</source>
        <translation>%1: “%2” is not an item of the list</translation>
    </message>
    <message>
        <source>超出范围（0～%1）</source>
        <translation>is out of range (0~%1)</translation>
    </message>
    <message>
        <source>超出范围</source>
        <translation>is out of range</translation>
    </message>
    <message>
        <source>超过%1个字节</source>
        <translation>is longer than %1 bytes</translation>
    </message>
    <message>
        <source>含有设备不能显示的字符</source>
        <translation>contains characters the device cannot show</translation>
    </message>
    <message>
        <source>不是8位十六进制数</source>
        <translation>is not 8 hexadecimal digits</translation>
    </message>
    <message>
        <source>不是IP地址</source>
        <translation>is not an IP address</translation>
    </message>
    <message>
        <source>不是数字</source>
        <translation>is not a number</translation>
    </message>
    <message>
        <source>%1：“%2”%3</source>
        <translation>%1: “%2” %3</translation>
    </message>
</context>
<context>
    <name>quendra::RelayPage</name>
    <message>
        <source>继电器</source>
        <translation>Relay </translation>
    </message>
    <message>
        <source>继电器编号：</source>
        <translation>Relay:</translation>
    </message>
    <message>
        <source>分钟</source>
        <translation>min</translation>
    </message>
    <message>
        <source>秒</source>
        <translation>s</translation>
    </message>
    <message>
        <source>读取参数</source>
        <translation>Read parameters</translation>
    </message>
    <message>
        <source>下载参数</source>
        <translation>Write parameters</translation>
    </message>
    <message>
        <source>警告</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>请先读取继电器参数，再配置!</source>
        <translation>Read the relays first, then write them!</translation>
    </message>
</context>
<context>
    <name>quendra::TrafficTableModel</name>
    <message>
        <source>发送</source>
        <translation>Sent</translation>
    </message>
    <message>
        <source>接收</source>
        <translation>Received</translation>
    </message>
    <message>
        <source>时间</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>方向</source>
        <translation>Direction</translation>
    </message>
    <message>
        <source>本机地址</source>
        <translation>Local address</translation>
    </message>
    <message>
        <source>对方</source>
        <translation>Peer</translation>
    </message>
    <message>
        <source>含义</source>
        <translation>Meaning</translation>
    </message>
</context>
<context>
    <name>quendra::TrafficWindow</name>
    <message>
        <source>通信记录</source>
        <translation>Traffic</translation>
    </message>
    <message>
        <source>本机地址</source>
        <translation>Local address</translation>
    </message>
    <message>
        <source>格式错误丢弃</source>
        <translation>Malformed, dropped</translation>
    </message>
    <message>
        <source>导出pcapng...</source>
        <translation>Export pcapng...</translation>
    </message>
    <message>
        <source>导出文本...</source>
        <translation>Export text...</translation>
    </message>
    <message>
        <source>数据</source>
        <translation>Bytes</translation>
    </message>
    <message>
        <source>计数</source>
        <translation>Counters</translation>
    </message>
    <message>
        <source>数据报</source>
        <translation>Datagrams</translation>
    </message>
    <message>
        <source>导出pcapng</source>
        <translation>Export pcapng</translation>
    </message>
    <message>
        <source>pcapng (*.pcapng)</source>
        <translation>pcapng (*.pcapng)</translation>
    </message>
    <message>
        <source>导出文本</source>
        <translation>Export text</translation>
    </message>
    <message>
        <source>文本 (*.txt)</source>
        <translation>Text (*.txt)</translation>
    </message>
    <message>
        <source>警告</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>无法写入文件 %1</source>
        <translation>Cannot write the file %1</translation>
    </message>
    <message>
        <source>重发</source>
        <translation>Resent</translation>
    </message>
</context>
<context>
    <name>quendra::WaitDialog</name>
    <message>
        <source>Static</source>
        <translation>Static</translation>
    </message>
</context>
</TS>
