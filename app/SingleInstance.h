// One copy of the program per user: a lock file in the user's runtime directory, held
// for the program's life, and a local socket beside it through which a later copy asks
// the running one to bring its window to the front. A lock left by a copy that no
// longer runs is taken over, and so is its socket.
#pragma once

#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QObject>
#include <QString>

class SingleInstance : public QObject {
  Q_OBJECT

 public:
  // directory: where the lock and the socket live.
  explicit SingleInstance(const QString& directory, QObject* parent = nullptr);

  // The user's runtime directory.
  static QString DefaultDirectory();

  // Takes the lock and listens for later copies. False when another copy holds it.
  bool Acquire();

  // For a copy that did not get the lock: whether the running copy answers.
  bool ReachRunningCopy();
  // Then asks it to raise its window.
  void AskToRaise();

 signals:
  // A later copy asked this one to bring its window to the front.
  void RaiseRequested();

 private:
  void TakeConnection();

  QString socketPath_;
  QLockFile lock_;
  QLocalServer server_;
  QLocalSocket client_;
};
