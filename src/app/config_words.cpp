#include "app/config_words.h"

#include <QCoreApplication>
#include <QStringList>

#include "config/field_labels.h"
#include "records/field_text.h"

namespace quendra {
namespace {

// The context of these words in the translation (lupdate reads it from here).
struct ConfigWords {
  Q_DECLARE_TR_FUNCTIONS(ConfigWords)
};

}  // namespace

QString fileErrorText(const ConfigFileError& e) {
  using P = ConfigFileError::Problem;
  QString what;
  switch (e.problem) {
    case P::CannotOpen: what = ConfigWords::tr("无法读取此文件"); break;
    case P::TooLarge: what = ConfigWords::tr("文件太大（%1字节），不是主机配置文件").arg(e.actual); break;
    case P::NotJson: what = ConfigWords::tr("不是JSON格式（第%1字节处有误）").arg(e.actual); break;
    case P::WrongFormat: what = ConfigWords::tr("不是主机配置文件"); break;
    case P::UnsupportedVersion: what = ConfigWords::tr("文件格式版本%1不被支持").arg(e.actual); break;
    case P::UnknownKey: what = ConfigWords::tr("未知的名称"); break;
    case P::WrongType: what = ConfigWords::tr("值的类型不对"); break;
    case P::OutOfRange: what = ConfigWords::tr("数值超出范围"); break;
    case P::TooLong: what = ConfigWords::tr("文字超过%1个字节").arg(e.expected); break;
    case P::NotGbk: what = ConfigWords::tr("含有设备不能显示的字符"); break;
    case P::BadHex: what = ConfigWords::tr("不是十六进制数"); break;
    case P::BadAddress: what = ConfigWords::tr("地址格式不正确"); break;
    case P::WrongLength: what = ConfigWords::tr("长度为%1，应为%2").arg(e.actual).arg(e.expected); break;
    case P::EmptyRecord: what = ConfigWords::tr("记录中既没有fields也没有image"); break;
    case P::Repeated: what = ConfigWords::tr("重复"); break;
  }
  QString text = ConfigWords::tr("配置文件有误：%1").arg(e.file);
  if (!e.path.isEmpty()) text += '\n' + ConfigWords::tr("位置：%1").arg(e.path);
  return text + '\n' + what;
}

QString recordNames(const RecordMasks& masks) {
  QStringList names;
  for (ParamGroup g : kAllGroups)
    for (int k = 0; k < recordCountOf(g); ++k)
      if ((masks[static_cast<int>(g)] >> k) & 1u) names << recordLabel(g, k);
  return names.join(ConfigWords::tr("、"));
}

QString hostName(const HostIdentity& host) {
  return QStringLiteral("%1 %2 %3").arg(host.name, QString::fromStdString(formatMacDashed(host.mac)),
                                        QString::fromStdString(formatDottedAddress(host.ip)));
}

QString resultText(const ConfigJobResult& r) {
  switch (r.verdict()) {
    case JobVerdict::Refused: return QCoreApplication::translate("quendra::CloneDialog", "固件版本不支持，未写入");
    case JobVerdict::NoAnswer: return QCoreApplication::translate("quendra::CloneDialog", "没有应答，未写入");
    case JobVerdict::Cancelled: return QCoreApplication::translate("quendra::CloneDialog", "已取消");
    case JobVerdict::Partly: return QCoreApplication::translate("quendra::CloneDialog", "失败：%1").arg(recordNames(r.failed));
    case JobVerdict::ReadBackDiffers: return QCoreApplication::translate("quendra::CloneDialog", "读回不同：%1").arg(recordNames(r.mismatched));
    case JobVerdict::Done: break;
  }
  const int written = recordCount(r.verified);
  return written ? QCoreApplication::translate("quendra::CloneDialog", "已校验（写入%1条记录）").arg(written) : QCoreApplication::translate("quendra::CloneDialog", "已校验（无需写入）");
}

}  // namespace quendra
