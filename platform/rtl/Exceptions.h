#pragma once
// The exception classes of the runtime library.  Every failure of the program is one of
// these; the message is the French text the user sees.

#include <exception>
#include <string>

class Exception : public std::exception {
 public:
  explicit Exception(std::string message) : message_(std::move(message)) {}
  const std::string& Message() const noexcept { return message_; }
  const char* what() const noexcept override { return message_.c_str(); }

 private:
  std::string message_;
};

// Silent exception: the application drops it without a message.
class EAbort : public Exception {
 public:
  EAbort() : Exception("Opération annulée") {}
  explicit EAbort(std::string message) : Exception(std::move(message)) {}
};

class EStreamError : public Exception {
 public:
  using Exception::Exception;
};
class EReadError : public EStreamError {
 public:
  EReadError();
  using EStreamError::EStreamError;
};
class EWriteError : public EStreamError {
 public:
  using EStreamError::EStreamError;
};
class EFileStreamError : public EStreamError {
 public:
  using EStreamError::EStreamError;
};
class EFOpenError : public EFileStreamError {
 public:
  // "Impossible d'ouvrir le fichier %s" with the file name.
  static EFOpenError ForFile(const std::string& fileName);
  using EFileStreamError::EFileStreamError;
};
class EFCreateError : public EFileStreamError {
 public:
  using EFileStreamError::EFileStreamError;
};

class EConvertError : public Exception {
 public:
  using Exception::Exception;
};

class EOSError : public Exception {
 public:
  EOSError(std::string message, int errorCode) : Exception(std::move(message)), errorCode_(errorCode) {}
  int ErrorCode() const noexcept { return errorCode_; }

 private:
  int errorCode_;
};

class EOutOfMemory : public Exception {
 public:
  using Exception::Exception;
};

class EOutOfResources : public EOutOfMemory {
 public:
  EOutOfResources();  // "Ressources système insuffisantes"
  using EOutOfMemory::EOutOfMemory;
};

class EInvalidGraphic : public Exception {
 public:
  using Exception::Exception;
};

class EInvalidGraphicOperation : public Exception {
 public:
  using Exception::Exception;
};

class EIniFileException : public Exception {
 public:
  using Exception::Exception;
};

class EInOutError : public Exception {
 public:
  EInOutError(std::string message, int errorCode) : Exception(std::move(message)), errorCode_(errorCode) {}
  int ErrorCode() const noexcept { return errorCode_; }

 private:
  int errorCode_;
};
