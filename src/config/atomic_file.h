#pragma once
// Files the tool writes (configurations, tables, reports, captures) are
// replaced whole or not at all: the old file stays until the new one is complete.
#include <QByteArray>
#include <QString>

namespace quendra {

// False, with the reason in `error`, when the file could not be written.
bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString* error = nullptr);

}  // namespace quendra
