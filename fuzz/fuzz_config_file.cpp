// Arbitrary bytes as a host configuration file: the reader must refuse or accept without reading outside what it was
// given, and what it accepts must apply to a configuration and be written again as a file it accepts.
#include <cstddef>
#include <cstdint>
#include <variant>

#include "config/config_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quendra;
  const ConfigFileResult r =
      parseConfigFile(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)), QStringLiteral("f"));
  const auto* file = std::get_if<ConfigFile>(&r);
  if (!file) return 0;
  const HostConfig config = applyConfigFile(*file, HostConfig{});
  const ConfigFileResult again = parseConfigFile(configFileJson(config, file->present(), file->header), QStringLiteral("g"));
  if (!std::holds_alternative<ConfigFile>(again)) __builtin_trap();
  const HostConfig back = applyConfigFile(std::get<ConfigFile>(again), HostConfig{});
  if (differingRecords(config, back, file->present()) != RecordMasks{}) __builtin_trap();
  return 0;
}
