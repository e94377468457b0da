#pragma once
// The protocol log "Debug_HTTPS.txt": TLS and protocol errors and information of every
// HTTPS client of the program, one UTF-8 line each, stamped "hh:mm:ss:zzz ". The file is
// overwritten at the first line of a run and appended to afterwards.

#include <QString>

class TProtocolLogger {
public:
  // Directs the log to aFileName (the first client of the run decides).
  static void Open(const QString &aFileName);
  static QString FileName();
  static void Log(const QString &aLine);
};
