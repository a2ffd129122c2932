#include "app/SettingsLocation.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

std::filesystem::path DefaultSettingsPath(const QString& executableDir, const QString& configDir) {
  const QFileInfo beside(executableDir);
  QString dir = executableDir;
  if (!beside.isDir() || !beside.isWritable()) {
    QDir().mkpath(configDir);
    dir = configDir;
  }
  const QString path = QDir(dir).filePath(QString::fromLatin1(kDefaultSettingsName));
  return std::filesystem::path(QFile::encodeName(path).toStdString());
}
