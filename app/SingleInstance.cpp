#include "app/SingleInstance.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QStandardPaths>

namespace {

constexpr const char* kLockName = "zemtra.lock";
constexpr const char* kSocketName = "zemtra.socket";
constexpr char kRaiseRequest[] = "raise\n";
constexpr int kReachTimeoutMs = 1000;
constexpr mode_t kPrivateMode = S_IRWXU;  // 0700

}  // namespace

SingleInstance::SingleInstance(const QString& directory, QObject* parent)
    : QObject(parent),
      socketPath_(QDir(directory).filePath(QString::fromLatin1(kSocketName))),
      lock_(QDir(directory).filePath(QString::fromLatin1(kLockName))) {
  // Only a lock whose process has ended is stale, however old it is.
  lock_.setStaleLockTime(0);
  connect(&server_, &QLocalServer::newConnection, this, &SingleInstance::TakeConnection);
}

QString SingleInstance::DefaultDirectory() {
  const uid_t user = ::geteuid();
  const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  if (IsPrivateDirectory(runtime, user)) return runtime;
  // Without a usable runtime directory (no XDG_RUNTIME_DIR, and Qt's fallback in /tmp
  // taken by someone else) the user's own cache directory serves.
  const QString cache = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
  if (cache.isEmpty() || !QDir::isAbsolutePath(cache) || !QDir().mkpath(cache)) return {};
  struct stat made {};
  if (::lstat(QFile::encodeName(cache).constData(), &made) == 0 && made.st_uid == user) {
    ::chmod(QFile::encodeName(cache).constData(), kPrivateMode);
  }
  return IsPrivateDirectory(cache, user) ? cache : QString();
}

bool SingleInstance::IsPrivateDirectory(const QString& path, uid_t owner) {
  if (path.isEmpty() || !QDir::isAbsolutePath(path)) return false;
  struct stat info {};
  if (::lstat(QFile::encodeName(path).constData(), &info) != 0) return false;
  return S_ISDIR(info.st_mode) && info.st_uid == owner && (info.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

void SingleInstance::Release() {
  server_.close();  // removes the socket file
  lock_.unlock();
}

bool SingleInstance::Acquire() {
  if (!lock_.tryLock()) return false;
  // Holding the lock, any socket left here belongs to a copy that has ended.
  QLocalServer::removeServer(socketPath_);
  server_.setSocketOptions(QLocalServer::UserAccessOption);
  server_.listen(socketPath_);  // without it later copies just end; this copy runs on
  return true;
}

bool SingleInstance::ReachRunningCopy() {
  client_.connectToServer(socketPath_);
  return client_.waitForConnected(kReachTimeoutMs);
}

void SingleInstance::AskToRaise() {
  client_.write(kRaiseRequest);
  client_.waitForBytesWritten(kReachTimeoutMs);
  client_.disconnectFromServer();
}

void SingleInstance::TakeConnection() {
  while (QLocalSocket* socket = server_.nextPendingConnection()) {
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
      while (socket->canReadLine()) {
        if (socket->readLine() == kRaiseRequest) emit RaiseRequested();
      }
    });
  }
}
