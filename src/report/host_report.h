#pragma once
// The commissioning report of one host: who the host is, when and by which
// tool it was read, every group as a table with the pages' labels and the
// values as the pages show them (lists as their texts), the channels (the
// enabled ones, or all) as three tables, their own fields and relays,
// quantity 1 and quantity 2, and a block to sign. Built as one self-contained
// HTML document; printed to an A4 PDF through Qt's own PDF writer with the
// Chinese font embedded, every page under a line naming the host and over its
// page number. Texts follow the interface language.
#include <QDateTime>
#include <optional>

#include "config/config_file.h"

namespace quendra {

struct HostReport {
  HostConfig config;
  RecordMasks read{};  // the records that hold the host's values
  std::optional<HostIdentity> host;
  QDateTime readAt;
  QString readBy;            // the tool and its version: "quendra-cli 2.3.0"
  bool allChannels = false;  // else the channels "通道启用数量" enables
};

QString reportHtml(const HostReport& report);

enum class ReportFormat { Pdf, Html };
// By the file name's ending (.pdf, .html, .htm); nullopt for any other.
std::optional<ReportFormat> reportFormatOf(const QString& path);
// Writes the report in the format its name asks for; false with the reason.
// A PDF needs a QGuiApplication (fonts).
bool writeReport(const QString& path, const HostReport& report, QString* error = nullptr);

}  // namespace quendra
