#pragma once
// The host configuration file: every parameter group of one host as JSON
// (UTF-8, keys in a stable order, indented), so files diff well in version
// control. Each record holds its named fields and its byte image in hex:
//
//   { "format": "quendra-host-config", "formatVersion": 1,
//     "savedBy": "quendra-config 2.3.0", "savedAt": "2026-12-07T09:30:00Z",
//     "host": { "mac": "02-4B-7D-00-00-01", "name": "...", "ip": "192.168.1.10", "firmware": 710 },
//     "network": { "fields": { "hostAddress": "192.168.1.10", ... }, "image": "80..." },
//     "base": {...}, "gprs": {...}, "led": {...},
//     "channels": [ {...} x 32 ], "modbus": [ {...} x 32 ], "relays": [ {...} x 8 ] }
//
// A group may be absent, and a record of an array null: neither is compared
// nor written. A record starts from its image (without one, from the host's
// current record) and takes the named fields, so bytes no field names go back
// exactly as read; a field whose value is what the image already holds leaves
// the image's bytes alone. A file is untrusted input: it is checked whole
// before anything is used, and every refusal names the JSON path.
#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <optional>
#include <utility>
#include <variant>
#include <vector>

#include "link/outer_frame.h"
#include "records/config_diff.h"

namespace quendra {

struct HostIdentity {
  Mac mac{};
  QString name;
  std::uint32_t ip = 0;  // first octet most significant
  std::uint16_t firmware = 0;
};

struct ConfigFileHeader {
  QString savedBy;
  QDateTime savedAt;
  std::optional<HostIdentity> host;
  QString user;  // the operating-system user who saved it (history entries)
};

// One record as the file holds it: its image, and the named fields that
// change something (a field equal to what its image holds is dropped on reading).
struct RecordEntry {
  std::optional<Bytes> image;
  std::vector<std::pair<const RecordField*, FieldValue>> fields;
};

struct ConfigFile {
  ConfigFileHeader header;
  // Per group: one entry per record, nullopt for a record the file does not
  // hold; empty for a group the file does not hold.
  std::array<std::vector<std::optional<RecordEntry>>, kParamGroupCount> records;

  RecordMasks present() const;
  // The host the file was read from; nullopt when it names none.
  std::optional<Mac> sourceHost() const { return header.host ? std::optional<Mac>(header.host->mac) : std::nullopt; }
};

struct ConfigFileError {
  enum class Problem {
    CannotOpen,          // the file cannot be read
    TooLarge,            // more than kMaxConfigFileBytes (actual: its size)
    NotJson,             // (actual: the byte offset of the fault)
    WrongFormat,         // "format" is not "quendra-host-config"
    UnsupportedVersion,  // a "formatVersion" this tool does not know (actual)
    UnknownKey,
    WrongType,           // e.g. a text where a number belongs
    OutOfRange,          // a number the field cannot hold
    TooLong,             // a text longer than its area (expected: the limit in bytes)
    NotGbk,              // a text with characters a host cannot show
    BadHex,              // an image or a terminal address that is not hexadecimal
    BadAddress,          // not four decimal parts 0..255 (an address, a MAC)
    WrongLength,         // an image or array of the wrong length (expected, actual)
    EmptyRecord,         // a record with neither fields nor image
    Repeated,            // a record or column given twice (record tables)
  };
  QString file;
  QString path;  // the JSON path, e.g. channels[3].fields.upperLimit1
  Problem problem = Problem::CannotOpen;
  qint64 expected = 0;
  qint64 actual = 0;
};

constexpr qint64 kMaxConfigFileBytes = 4 * 1024 * 1024;
constexpr int kConfigFormatVersion = 1;

using ConfigFileResult = std::variant<ConfigFile, ConfigFileError>;
ConfigFileResult readConfigFile(const QString& path);
ConfigFileResult parseConfigFile(const QByteArray& json, const QString& fileName);

// What the file asks of a host whose records are `current`: the records the
// file holds, each from its image or from `current`, with the file's fields;
// the other records as `current` has them. Every record the file holds is known.
HostConfig applyConfigFile(const ConfigFile& file, const HostConfig& current);

// The file of the records of `config` among `which`.
QByteArray configFileJson(const HostConfig& config, const RecordMasks& which, const ConfigFileHeader& header);
// Written atomically (the old file stays whole until the new one is complete).
bool writeConfigFile(const QString& path, const QByteArray& json, QString* error = nullptr);

// The name of each group in the file ("network", "base", ..., "channels").
const char* configGroupKey(ParamGroup group);

}  // namespace quendra
