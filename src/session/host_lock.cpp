#include "session/host_lock.h"

#include <QCoreApplication>
#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>
#include <cerrno>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "records/field_text.h"

namespace quendra {
namespace {

// The shared folder: made by whoever comes first, writable by every user
// (sticky, as /tmp: nobody removes another's lock file).
QString sharedFolder() {
  for (const char* parent : {"/run/lock", "/var/lock"}) {
    if (::access(parent, W_OK | X_OK) != 0) continue;
    const QByteArray folder = QByteArray(parent) + "/quendra-config";
    if (::mkdir(folder.constData(), 01777) == 0) ::chmod(folder.constData(), 01777);  // past the umask
    if (::access(folder.constData(), W_OK | X_OK) == 0) return QString::fromLocal8Bit(folder);
  }
  return {};
}

// The lock file open for reading and writing (every user may lock it), or -1.
int openLockFile(const QByteArray& path) {
  int fd = ::open(path.constData(), O_RDWR | O_CLOEXEC);
  if (fd < 0 && errno == ENOENT) {
    fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd >= 0) ::fchmod(fd, 0666);
  }
  if (fd < 0) fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);  // another user's: locking needs no write
  return fd;
}

LockHolder holderIn(int fd) {
  QByteArray bytes(4096, '\0');
  const ssize_t n = ::pread(fd, bytes.data(), static_cast<size_t>(bytes.size()), 0);
  const QJsonObject o = QJsonDocument::fromJson(bytes.left(n > 0 ? n : 0)).object();
  return LockHolder{o.value(QLatin1String("program")).toString(), o.value(QLatin1String("user")).toString(),
                    o.value(QLatin1String("pid")).toInteger(),
                    QDateTime::fromString(o.value(QLatin1String("since")).toString(), Qt::ISODateWithMs)};
}

void writeHolder(int fd, const QString& program) {
  const QByteArray json =
      QJsonDocument(QJsonObject{{QLatin1String("program"), program},
                                {QLatin1String("user"), operatingSystemUser()},
                                {QLatin1String("pid"), static_cast<qint64>(::getpid())},
                                {QLatin1String("since"), QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs)}})
          .toJson(QJsonDocument::Compact);
  if (::ftruncate(fd, 0) == 0 && ::pwrite(fd, json.constData(), static_cast<size_t>(json.size()), 0) < 0) return;
}

}  // namespace

QString operatingSystemUser() {
  if (const passwd* pw = ::getpwuid(::geteuid())) return QString::fromLocal8Bit(pw->pw_name);
  return QString::number(::geteuid());
}

QStringList HostLockPlace::defaultFolders() {
  // One folder instead, for a site that keeps its locks elsewhere (and tests, which keep theirs apart).
  if (const QString only = qEnvironmentVariable("QUENDRA_LOCK_DIR"); !only.isEmpty()) return {only};
  QStringList folders;
  // The user's runtime folder; without one (cron, su), one of the user's own under the temporary folder.
  const QString runtime = qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")
                              ? QDir::tempPath() + QStringLiteral("/runtime-") + operatingSystemUser()
                              : QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  folders << runtime + QStringLiteral("/quendra-config");
  if (const QString shared = sharedFolder(); !shared.isEmpty()) folders << shared;
  return folders;
}

HostLock::Taken HostLock::tryTake(const Mac& host, const HostLockPlace& place) {
  std::unique_ptr<HostLock> lock(new HostLock);
  const QString name = QString::fromStdString(formatMacDigits(host)) + QStringLiteral(".lock");
  const QString program = place.program.isEmpty() ? QCoreApplication::applicationName() : place.program;
  for (const QString& folder : place.folders) {
    QDir().mkpath(folder);
    const int fd = openLockFile(QFile::encodeName(QDir(folder).filePath(name)));
    if (fd < 0) continue;  // a folder this user cannot use locks nothing
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
      LockHolder holder = holderIn(fd);
      ::close(fd);
      return holder;  // the locks taken so far go with `lock`
    }
    writeHolder(fd, program);
    lock->files_.push_back(fd);
  }
  return lock;
}

HostLock::~HostLock() {
  for (int fd : files_) ::close(fd);  // closing the file releases its lock
}

}  // namespace quendra
