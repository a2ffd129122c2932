#include "app/SingleInstance.h"

#include <QDir>
#include <QStandardPaths>

namespace {

constexpr const char* kLockName = "zemtra.lock";
constexpr const char* kSocketName = "zemtra.socket";
constexpr char kRaiseRequest[] = "raise\n";
constexpr int kReachTimeoutMs = 1000;

}  // namespace

SingleInstance::SingleInstance(const QString& directory, QObject* parent)
    : QObject(parent),
      socketPath_(QDir(directory).filePath(QString::fromLatin1(kSocketName))),
      lock_(QDir(directory).filePath(QString::fromLatin1(kLockName))) {
  // Only a lock whose process has ended is stale, however old it is.
  lock_.setStaleLockTime(0);
  connect(&server_, &QLocalServer::newConnection, this, &SingleInstance::TakeConnection);
}

QString SingleInstance::DefaultDirectory() { return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation); }

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
