#pragma once
// The "通道参数" tab: one of the 32 channel records at a time, chosen with the
// channel selector. The read button fetches all 32 records and the write
// button sends all 32 back, both as batches of the sequencer; every read reply
// is stored into its record and shown.
//
// Accessible names (labels that repeat carry their group):
//   "通道号：", "通道数据来源：", "数据属性：", "报警延时(S)：",
//   "模拟量1(温度)上限：", "模拟量1(温度)下限：", "模拟量1(温度)控制回差：",
//   "模拟量2(湿度)上限：", "模拟量2(湿度)下限：", "模拟量2(湿度)控制回差：",
//   "上限1 关联继电器：", "下限1 关联继电器：", "上限2 关联继电器：", "下限2 关联继电器：",
//   "模拟量1 A:", "模拟量1 B:", "模拟量2 A:", "模拟量2 B:",
//   "模拟量1 发生允许短信报警", "模拟量1 复归允许短信报警",
//   "模拟量2 发生允许短信报警", "模拟量2 复归允许短信报警",
//   "模拟量1名称：", "模拟量2名称：",
//   "模拟量1单位：", "模拟量2单位：" (kept while their labels read "报警内容：" / "复归内容："),
//   "允许编辑所有参数"; buttons "读取通道参数", "设置通道参数".
#include <QWidget>
#include <optional>

#include "link/bytes.h"
#include "records/channel_field_rules.h"
#include "records/channel_params.h"
#include "pages/page_context.h"
#include "pages/record_page.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;

namespace quendra {

class RecordSelector;

class ChannelPage : public QWidget, public RecordPage {
  Q_OBJECT
 public:
  void showRecords() override;
  bool storeFields() override;
  explicit ChannelPage(const PageContext& context, QWidget* parent = nullptr);
  // The encoded record `index` as a write request would carry it.
  Bytes recordPayload(int index) const { return encodeRecord(context_.session->config(), ParamGroup::Channel, index); }

  const ChannelParams& record(int index) const { return context_.session->config().channels.at(index); }
  // A stored read reply: selects row k and shows the record ("%f" floats).
  void showChannelReply(int index);
  // Takes every field on screen back into record k; false, changing nothing,
  // after a refused text's box.
  bool storeShown(int index);

 private:
  void buildForm();
  void readPressed();
  void writePressed();
  void channelPicked(std::optional<int> previous, int row);
  void allowAllClicked(bool checked);
  void applyFieldRules();
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  void showRecord(int index, bool afterReply);
  QWidget* fieldWidget(ChannelField field) const;

  PageContext context_;

  RecordSelector* selector_ = nullptr;  // knows the channel whose values are on screen
  QComboBox* dataSource_ = nullptr;
  QComboBox* dataProperty_ = nullptr;
  QLineEdit* alarmDelay_ = nullptr;
  QCheckBox* allowAll_ = nullptr;
  QLabel* unit1Label_ = nullptr;
  QLabel* unit2Label_ = nullptr;
  QTimer* ruleTimer_ = nullptr;

  // Fields of quantity 1 and 2, indexed 0 and 1.
  struct Quantity {
    QLineEdit* upper = nullptr;
    QLineEdit* lower = nullptr;
    QLineEdit* hysteresis = nullptr;
    QComboBox* relayUpper = nullptr;
    QComboBox* relayLower = nullptr;
    QLineEdit* coefA = nullptr;
    QLineEdit* coefB = nullptr;
    QCheckBox* smsOnAlarm = nullptr;
    QCheckBox* smsOnRestore = nullptr;
    QLineEdit* name = nullptr;
    QLineEdit* unit = nullptr;
  };
  Quantity q_[2];
};

}  // namespace quendra
