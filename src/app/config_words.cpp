#include "app/config_words.h"

#include <QCoreApplication>
#include <QLocale>
#include <QStringList>

#include "fields/field_labels.h"
#include "records/field_text.h"

namespace quendra {
namespace {

// The context of these words in the translation (lupdate reads it from here).
struct ConfigWords {
  Q_DECLARE_TR_FUNCTIONS(ConfigWords)
};

// Why a value was refused, as a file's error says it.
QString valueProblemText(ConfigFileError::Problem problem, qint64 expected, qint64 actual) {
  using P = ConfigFileError::Problem;
  QString what;
  switch (problem) {
    case P::CannotOpen: what = ConfigWords::tr("无法读取此文件"); break;
    case P::TooLarge: what = ConfigWords::tr("文件太大（%1字节），不是主机配置文件").arg(actual); break;
    case P::NotJson: what = ConfigWords::tr("不是JSON格式（第%1字节处有误）").arg(actual); break;
    case P::WrongFormat: what = ConfigWords::tr("不是主机配置文件"); break;
    case P::UnsupportedVersion: what = ConfigWords::tr("文件格式版本%1不被支持").arg(actual); break;
    case P::UnknownKey: what = ConfigWords::tr("未知的名称"); break;
    case P::WrongType: what = ConfigWords::tr("值的类型不对"); break;
    case P::OutOfRange: what = ConfigWords::tr("数值超出范围"); break;
    case P::TooLong: what = ConfigWords::tr("文字超过%1个字节").arg(expected); break;
    case P::NotGbk: what = ConfigWords::tr("含有设备不能显示的字符"); break;
    case P::BadHex: what = ConfigWords::tr("不是十六进制数"); break;
    case P::BadAddress: what = ConfigWords::tr("地址格式不正确"); break;
    case P::WrongLength: what = ConfigWords::tr("长度为%1，应为%2").arg(actual).arg(expected); break;
    case P::EmptyRecord: what = ConfigWords::tr("记录中既没有fields也没有image"); break;
    case P::Repeated: what = ConfigWords::tr("重复"); break;
  }
  return what;
}

// "C" for column 3, "AA" for column 27, as spreadsheets name them.
QString columnLetters(int column) {
  QString letters;
  for (; column > 0; column = (column - 1) / 26) letters.prepend(QChar(u'A' + (column - 1) % 26));
  return letters;
}

QString fieldPathProblemText(FieldPathProblem problem) {
  switch (problem) {
    case FieldPathProblem::Malformed: return ConfigWords::tr("不是mac、ip、name，也不是字段路径（如network.hostAddress）");
    case FieldPathProblem::UnknownGroup: return ConfigWords::tr("没有这个参数组");
    case FieldPathProblem::MissingIndex: return ConfigWords::tr("缺少记录序号（如channels[0].name1）");
    case FieldPathProblem::UnexpectedIndex: return ConfigWords::tr("此参数组只有一条记录，不带序号");
    case FieldPathProblem::IndexOutOfRange: return ConfigWords::tr("记录序号超出范围");
    case FieldPathProblem::UnknownField: return ConfigWords::tr("此参数组没有这个字段");
  }
  return {};
}

}  // namespace

QString fileErrorText(const ConfigFileError& e) {
  const QString what = valueProblemText(e.problem, e.expected, e.actual);
  QString text = ConfigWords::tr("配置文件有误：%1").arg(e.file);
  if (!e.path.isEmpty()) text += '\n' + ConfigWords::tr("位置：%1").arg(e.path);
  return text + '\n' + what;
}

QString rosterErrorText(const RosterError& e) {
  using P = RosterError::Problem;
  QString what;
  switch (e.problem) {
    case P::CannotOpen: what = ConfigWords::tr("无法读取此文件"); break;
    case P::TooLarge: what = ConfigWords::tr("文件太大，不是主机表格"); break;
    case P::NotText: what = ConfigWords::tr("第%1行既不是UTF-8也不是GBK文字").arg(e.line); break;
    case P::UnterminatedQuote: what = ConfigWords::tr("第%1行开始的引号没有结束").arg(e.line); break;
    case P::MissingMacColumn: what = ConfigWords::tr("第1行没有mac列"); break;
    case P::UnknownColumn:
      what = ConfigWords::tr("未知的列名“%1”：%2")
                 .arg(e.header, fieldPathProblemText(e.pathProblem.value_or(FieldPathProblem::Malformed)));
      break;
    case P::DuplicateColumn: what = ConfigWords::tr("列名“%1”重复").arg(e.header); break;
    case P::CellWithoutColumn: what = ConfigWords::tr("单元格没有列名"); break;
    case P::BadMac: what = ConfigWords::tr("不是MAC地址"); break;
    case P::BadValue: {
      qint64 limit = 0;  // a text's limit, in bytes
      const auto parsed = parseFieldPath(e.header.trimmed());
      if (const auto* path = std::get_if<FieldPath>(&parsed)) limit = path->field->maxBytes;
      what = valueProblemText(e.valueProblem.value_or(ConfigFileError::Problem::WrongType), limit, 0);
      break;
    }
    case P::DuplicateMac: what = ConfigWords::tr("这台主机在第%1行已经有了").arg(e.otherRow); break;
    case P::SharedHostAddress: what = ConfigWords::tr("与第%1行的主机IP相同").arg(e.otherRow); break;
    case P::SharedTerminalAddress: what = ConfigWords::tr("与第%1行的主机终端地址相同").arg(e.otherRow); break;
  }
  QString text = ConfigWords::tr("表格文件有误：%1").arg(e.file);
  if (e.row > 0 && e.column > 0)
    text += '\n' + ConfigWords::tr("位置：第%1行，%2列（%3）").arg(e.row).arg(columnLetters(e.column), e.header);
  else if (e.row > 0)
    text += '\n' + ConfigWords::tr("位置：第%1行").arg(e.row);
  return text + '\n' + what;
}

QString recordNames(const RecordMasks& masks) {
  QStringList names;
  for (ParamGroup g : kAllGroups)
    for (int k = 0; k < recordCountOf(g); ++k)
      if ((masks[static_cast<int>(g)] >> k) & 1u) names << recordLabel(g, k);
  return names.join(ConfigWords::tr("、"));
}

QString hostGoneText(bool write, const RecordMasks& done, const RecordMasks& notDone) {
  const auto names = [](const RecordMasks& m) { return anyRecord(m) ? recordNames(m) : ConfigWords::tr("无"); };
  return (write ? ConfigWords::tr("主机不再应答：已写入%1；未写入%2") : ConfigWords::tr("主机不再应答：已读取%1；未读取%2"))
      .arg(names(done), names(notDone));
}

QString hostGoneText(const ConfigJobResult& r) {
  if (anyRecord(r.differing)) return hostGoneText(true, r.written, r.notWritten());
  return ConfigWords::tr("主机不再应答：未读取%1").arg(recordNames(r.failed));
}

QString hostName(const HostIdentity& host) {
  return QStringLiteral("%1 %2 %3").arg(host.name, QString::fromStdString(formatMacDashed(host.mac)),
                                        QString::fromStdString(formatDottedAddress(host.ip)));
}

QString hostBusyText(const LockHolder& h) {
  return QCoreApplication::translate("quendra::CloneDialog", "另一程序正在写入此主机（%1，用户%2，进程%3，%4起），未写入")
      .arg(h.program, h.user)
      .arg(h.pid)
      .arg(QLocale().toString(h.since.toLocalTime(), QLocale::ShortFormat));
}

const HostLockPlace& windowLockPlace() {
  static HostLockPlace place;
  place.folders = HostLockPlace::defaultFolders();  // as the environment says now
  return place;
}

QString resultText(const ConfigJobResult& r) {
  switch (r.verdict()) {
    case JobVerdict::Refused: return QCoreApplication::translate("quendra::CloneDialog", "固件版本不支持，未写入");
    case JobVerdict::NoAnswer: return QCoreApplication::translate("quendra::CloneDialog", "没有应答，未写入");
    case JobVerdict::HostGone: return hostGoneText(r);
    case JobVerdict::Cancelled: return QCoreApplication::translate("quendra::CloneDialog", "已取消");
    case JobVerdict::HostBusy: return hostBusyText(*r.heldBy);
    case JobVerdict::HistoryNotKept: return QCoreApplication::translate("quendra::CloneDialog", "历史记录未能保存，未写入");
    case JobVerdict::Partly: return QCoreApplication::translate("quendra::CloneDialog", "失败：%1").arg(recordNames(r.failed));
    case JobVerdict::ReadBackDiffers: return QCoreApplication::translate("quendra::CloneDialog", "读回不同：%1").arg(recordNames(r.mismatched));
    case JobVerdict::Done: break;
  }
  const int written = recordCount(r.verified);
  return written ? QCoreApplication::translate("quendra::CloneDialog", "已校验（写入%1条记录）").arg(written) : QCoreApplication::translate("quendra::CloneDialog", "已校验（无需写入）");
}

}  // namespace quendra
