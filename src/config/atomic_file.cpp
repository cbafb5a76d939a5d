#include "config/atomic_file.h"

#include <QSaveFile>

namespace quendra {

bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString* error) {
  QSaveFile f(path);
  if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || !f.commit()) {
    if (error) *error = f.errorString();
    return false;
  }
  return true;
}

}  // namespace quendra
