// A field's value in a configuration file, in a cell of text and on screen: each kind's spelling both ways, the values
// just inside and just outside what a field takes, and why one is refused.
#include <QJsonValue>
#include <QTest>
#include <limits>

#include "config/field_json.h"

using namespace quendra;
using Problem = ConfigFileError::Problem;
using Read = std::variant<FieldValue, Problem>;

namespace {

const RecordField& u16 = *findField(ParamGroup::Base, "loginInterval");
const RecordField& u8 = *findField(ParamGroup::Gprs, "smsInterval");
const RecordField& real = *findField(ParamGroup::Channel, "upperLimit1");
const RecordField& name = *findField(ParamGroup::Channel, "name1");  // 20 bytes
const RecordField& hex32 = *findField(ParamGroup::Base, "terminalAddress");
const RecordField& ipv4 = *findField(ParamGroup::Network, "gateway");
const std::string kWenDu = "\xCE\xC2\xB6\xC8";  // 温度 in GBK
const char kTenCharacters[] = "\xD2\xBB\xB6\xFE\xC8\xFD\xCB\xC4\xCE\xE5\xC1\xF9\xC6\xDF\xB0\xCB\xBE\xC5\xCA\xAE";  // 一 .. 十
constexpr float kFloatMax = std::numeric_limits<float>::max();

}  // namespace

class FieldJsonTest : public QObject {
  Q_OBJECT
 private slots:
  void valuesFromAFile() {
    const std::tuple<const char*, const RecordField&, QJsonValue, Read> rows[] = {
        {"largest 16-bit", u16, 65535, FieldValue{65535u}},
        {"one beyond", u16, 65536, Problem::OutOfRange},
        {"negative", u16, -1, Problem::OutOfRange},
        {"fraction", u16, 1.5, Problem::WrongType},
        {"number as text", u16, "60", Problem::WrongType},
        {"one beyond a byte", u8, 256, Problem::OutOfRange},
        {"float", real, 0.1, FieldValue{double(0.1f)}},
        {"largest float, negative", real, -double(kFloatMax), FieldValue{-double(kFloatMax)}},
        {"half a unit above the largest float", real, 3.4028235677973366e38, Problem::OutOfRange},  // rounds up
        {"float as text", real, "1", Problem::WrongType},
        {"Chinese as GBK", name, "温度", FieldValue{kWenDu}},
        {"20 bytes", name, "一二三四五六七八九十", FieldValue{std::string(kTenCharacters)}},
        {"21 bytes", name, "一二三四五六七八九十a", Problem::TooLong},
        {"a zero byte", name, QString::fromUtf8("ab\0cd", 5), Problem::NotGbk},
        {"not in GBK", name, "\U0001F600", Problem::NotGbk},
        {"text as number", name, 5, Problem::WrongType},
        {"terminal address", hex32, "1A2b3C4d", FieldValue{0x1A2B3C4Du}},
        {"seven digits", hex32, "1234567", Problem::BadHex},
        {"address", ipv4, "192.168.0.9", FieldValue{0xC0A80009u}},
        {"octet 256", ipv4, "192.168.0.256", Problem::BadAddress},
        {"address as number", ipv4, 5, Problem::WrongType},
    };
    for (const auto& [what, field, json, expected] : rows) QVERIFY2(fieldFromJson(field, json) == expected, what);
  }

  // A cell of text takes what a file takes, numbers written as decimal text with blanks around them.
  void valuesFromACellOfText() {
    const std::tuple<const char*, const RecordField&, QString, Read> rows[] = {
        {"blanks around", u16, " 60\t", FieldValue{60u}},
        {"one beyond", u16, "65536", Problem::OutOfRange},
        {"fraction", u16, "1.5", Problem::WrongType},
        {"empty", u16, "", Problem::WrongType},
        {"decimal comma", real, "1,5", Problem::WrongType},
        {"decimal point", real, " -25.5 ", FieldValue{-25.5}},
        {"beyond a float", real, "1e39", Problem::OutOfRange},
        {"infinity", real, "inf", Problem::WrongType},
        {"Chinese as GBK", name, "温度", FieldValue{kWenDu}},
        {"terminal address", hex32, " 1A2b3C4d ", FieldValue{0x1A2B3C4Du}},
        {"address", ipv4, " 192.168.0.9 ", FieldValue{0xC0A80009u}},
        {"bad address", ipv4, "192.168.0", Problem::BadAddress},
    };
    for (const auto& [what, field, text, expected] : rows) QVERIFY2(fieldFromText(field, text) == expected, what);
  }

  // What a file and the screen show, and that the file's value reads back as the same value.
  void valuesWrittenAndShown() {
    const std::tuple<const RecordField&, FieldValue, QJsonValue, QString> rows[] = {
        {u16, FieldValue{65535u}, 65535, "65535"},
        {real, FieldValue{double(0.1f)}, 0.1, "0.1"},  // the shortest decimal that is the same float
        {real, FieldValue{double(kFloatMax)}, 3.4028235e38, "3.4028235e+38"},
        {name, FieldValue{kWenDu}, "温度", "温度"},
        {hex32, FieldValue{0x0A2B3C4Du}, "0a2b3c4d", "0a2b3c4d"},
        {ipv4, FieldValue{0xC0A80009u}, "192.168.0.9", "192.168.0.9"},
    };
    for (const auto& [field, value, json, text] : rows) {
      QCOMPARE(fieldToJson(field, value), json);
      QCOMPARE(fieldText(field, value), text);
      QVERIFY2(fieldFromJson(field, json) == Read{value}, qPrintable(text));
    }
    // A float that is no number goes into no file (the image carries it alone); on screen it is named.
    QVERIFY(fieldToJson(real, FieldValue{double(std::numeric_limits<float>::infinity())}).isUndefined());
    QCOMPARE(fieldText(real, FieldValue{double(std::numeric_limits<float>::infinity())}), QStringLiteral("inf"));
  }
};

QTEST_GUILESS_MAIN(FieldJsonTest)
#include "field_json_test.moc"
