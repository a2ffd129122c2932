// One copy of the program per user: a lock file in a private directory of the user,
// held for the program's life, and a local socket beside it through which a later
// copy asks the running one to bring its window to the front. A lock left by a copy
// that no longer runs is taken over, and so is its socket.
//
// The directory must be one only this user can change, or another user could hold
// the lock or answer on the socket: an absolute path to a directory (not a link to
// one) owned by the user and writable by nobody else.
#pragma once

#include <sys/types.h>

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

  // The user's runtime directory when it is private; else the user's cache directory
  // for the program (made private when this user made it); empty when neither is.
  static QString DefaultDirectory();
  // Whether path is a directory only owner can change (see above).
  static bool IsPrivateDirectory(const QString& path, uid_t owner);
  // Gives the lock and the socket up early, for an end without unwinding.
  void Release();

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
