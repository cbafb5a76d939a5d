#pragma once
// The window's words for configuration files and the records of a host.
#include <QString>

#include "config/config_file.h"
#include "session/config_job.h"
#include "config/fleet_roster.h"

namespace quendra {

// Why a configuration file was refused, naming the file and the place in it.
QString fileErrorText(const ConfigFileError& error);
// Why a table of hosts (CSV) was refused, naming the file, row and column.
QString rosterErrorText(const RosterError& error);
// "通道5、继电器3" for the records among `masks`.
QString recordNames(const RecordMasks& masks);
// A host as a line of the information area names it: "模拟主机1 02-4B-7D-00-00-01 192.168.1.10".
QString hostName(const HostIdentity& host);

// A host that stopped answering midway, and what was done before:
// "主机不再应答：已写入通道1、通道2；未写入通道3" (reads: 已读取…；未读取…).
QString hostGoneText(bool write, const RecordMasks& done, const RecordMasks& notDone);
// The same for a job: what it wrote and did not write, or what it did not read.
QString hostGoneText(const ConfigJobResult& result);

// A host's job as a result cell says it: "已校验（写入3条记录）", "失败：通道5", ...
QString resultText(const ConfigJobResult& result);
// Another writer held the host all the while: who, and since when.
QString hostBusyText(const LockHolder& holder);
// Where the window's writes take their host locks (the user's, the machine's).
const HostLockPlace& windowLockPlace();

}  // namespace quendra
