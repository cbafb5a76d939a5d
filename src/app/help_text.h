#pragma once
// The operating hints shown in the information area when the window opens.
#include <QCoreApplication>

namespace quendra {

inline QString helpText() {
  return QCoreApplication::translate(
      "HelpText",
      "  本软件适用于：Quendra产品的参数配置。\r\n"
      "单击\"搜索\"按钮搜索设备，设备出现在设备列表后，双击设备更新信息到右边信息框中修改参数后，"
      "点击\"配置参数\"按钮，设备将保存参数并自动重启\r\n"
      "注意事项:\r\n"
      "1、确保软件与设备在同一局域网内\r\n"
      "2、请确定当前PC只使用一个网卡\r\n"
      "3、请按照 搜索->双击选中并读取->配置参数 的步骤来操作\r\n");
}

}  // namespace quendra
