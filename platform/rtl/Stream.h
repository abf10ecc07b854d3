#pragma once
// Byte streams: the abstract stream, an in-memory stream and a read-only file stream.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

enum class TSeekOrigin { Beginning, Current, End };

class TStream {
 public:
  virtual ~TStream() = default;

  // Reads up to count bytes; answers how many were read (a short read is not an error).
  virtual int64_t Read(void* buffer, int64_t count) = 0;
  virtual int64_t Write(const void* buffer, int64_t count) = 0;
  virtual int64_t Seek(int64_t offset, TSeekOrigin origin) = 0;

  int64_t Position() { return Seek(0, TSeekOrigin::Current); }
  void SetPosition(int64_t pos) { Seek(pos, TSeekOrigin::Beginning); }
  virtual int64_t Size();
  virtual void SetSize(int64_t size);

  // Reads exactly count bytes or raises EReadError "Erreur de lecture du flux".
  void ReadBuffer(void* buffer, int64_t count);
  // Writes exactly count bytes or raises EWriteError.
  void WriteBuffer(const void* buffer, int64_t count);
  // Copies count bytes from source (all of it from its position when count is 0).
  int64_t CopyFrom(TStream& source, int64_t count);
};

class TMemoryStream : public TStream {
 public:
  TMemoryStream() = default;
  explicit TMemoryStream(std::vector<uint8_t> bytes) : data_(std::move(bytes)) {}

  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  int64_t Size() override { return static_cast<int64_t>(data_.size()); }
  void SetSize(int64_t size) override;

  const uint8_t* Memory() const { return data_.data(); }
  uint8_t* Memory() { return data_.data(); }
  const std::vector<uint8_t>& Bytes() const { return data_; }
  void Clear() { data_.clear(); pos_ = 0; }
  // Replaces the content with the rest of source from its position.
  void LoadFromStream(TStream& source);

 private:
  std::vector<uint8_t> data_;
  int64_t pos_ = 0;
};

// A file opened for reading only, shared with other readers; writers are not locked out on
// Linux (there is no mandatory share mode), which changes nothing for a viewer.
class TFileStream : public TStream {
 public:
  // Raises EFOpenError "Impossible d'ouvrir le fichier %s" with the name as given.
  explicit TFileStream(const std::string& fileName);
  ~TFileStream() override;
  TFileStream(const TFileStream&) = delete;
  TFileStream& operator=(const TFileStream&) = delete;

  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  const std::string& FileName() const { return fileName_; }

 private:
  std::string fileName_;
  int fd_ = -1;
};

// Reads the whole rest of a stream into memory.
std::vector<uint8_t> ReadRest(TStream& stream);
