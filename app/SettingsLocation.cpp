#include "app/SettingsLocation.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

bool IsInstalledCopy(const QString& executableDir, const QString& desktopFileName) {
  return QFileInfo::exists(
      QDir(executableDir)
          .filePath(QStringLiteral("../share/applications/") + desktopFileName + QStringLiteral(".desktop")));
}

}  // namespace

std::filesystem::path DefaultSettingsPath(const QString& executableDir, const QString& configDir,
                                          const QString& desktopFileName) {
  const QFileInfo beside(executableDir);
  QString dir = executableDir;
  if (!beside.isDir() || !beside.isWritable() || IsInstalledCopy(executableDir, desktopFileName)) {
    QDir().mkpath(configDir);
    dir = configDir;
  }
  const QString path = QDir(dir).filePath(QString::fromLatin1(kDefaultSettingsName));
  return std::filesystem::path(QFile::encodeName(path).toStdString());
}
