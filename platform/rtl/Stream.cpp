#include "platform/rtl/Stream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Messages.h"

int64_t TStream::Size() {
  const int64_t pos = Seek(0, TSeekOrigin::Current);
  const int64_t end = Seek(0, TSeekOrigin::End);
  Seek(pos, TSeekOrigin::Beginning);
  return end;
}

void TStream::SetSize(int64_t) { throw EStreamError(msg::SWriteError); }

void TStream::ReadBuffer(void* buffer, int64_t count) {
  if (count < 0 || (count != 0 && Read(buffer, count) != count)) throw EReadError();
}

void TStream::WriteBuffer(const void* buffer, int64_t count) {
  if (count < 0 || (count != 0 && Write(buffer, count) != count)) throw EWriteError(msg::SWriteError);
}

int64_t TStream::CopyFrom(TStream& source, int64_t count) {
  if (count == 0) {
    source.SetPosition(0);
    count = source.Size();
  }
  std::vector<uint8_t> buf(static_cast<size_t>(std::min<int64_t>(count, 1 << 16)));
  int64_t left = count;
  while (left > 0) {
    const int64_t n = std::min<int64_t>(left, static_cast<int64_t>(buf.size()));
    source.ReadBuffer(buf.data(), n);
    WriteBuffer(buf.data(), n);
    left -= n;
  }
  return count;
}

int64_t TMemoryStream::Read(void* buffer, int64_t count) {
  if (count <= 0 || pos_ >= Size()) return 0;
  const int64_t n = std::min(count, Size() - pos_);
  std::memcpy(buffer, data_.data() + pos_, static_cast<size_t>(n));
  pos_ += n;
  return n;
}

int64_t TMemoryStream::Write(const void* buffer, int64_t count) {
  if (count <= 0) return 0;
  if (pos_ + count > Size()) data_.resize(static_cast<size_t>(pos_ + count));
  std::memcpy(data_.data() + pos_, buffer, static_cast<size_t>(count));
  pos_ += count;
  return count;
}

int64_t TMemoryStream::Seek(int64_t offset, TSeekOrigin origin) {
  switch (origin) {
    case TSeekOrigin::Beginning: pos_ = offset; break;
    case TSeekOrigin::Current: pos_ += offset; break;
    case TSeekOrigin::End: pos_ = Size() + offset; break;
  }
  if (pos_ < 0) pos_ = 0;
  return pos_;
}

void TMemoryStream::SetSize(int64_t size) {
  data_.resize(static_cast<size_t>(std::max<int64_t>(size, 0)));
  if (pos_ > size) pos_ = size;
}

void TMemoryStream::LoadFromStream(TStream& source) {
  data_ = ReadRest(source);
  pos_ = 0;
}

TFileStream::TFileStream(const std::string& fileName) : fileName_(fileName) {
  fd_ = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd_ >= 0) {
    struct stat st {};
    // A folder opens on Linux but is no file to read.
    if (::fstat(fd_, &st) != 0 || S_ISDIR(st.st_mode)) {
      ::close(fd_);
      fd_ = -1;
    }
  }
  if (fd_ < 0) throw EFOpenError::ForFile(fileName);
}

TFileStream::~TFileStream() {
  if (fd_ >= 0) ::close(fd_);
}

int64_t TFileStream::Read(void* buffer, int64_t count) {
  int64_t done = 0;
  auto* out = static_cast<uint8_t*>(buffer);
  while (done < count) {
    const ssize_t n = ::read(fd_, out + done, static_cast<size_t>(count - done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += n;
  }
  return done;
}

int64_t TFileStream::Write(const void*, int64_t) { throw EWriteError(msg::SWriteError); }

int64_t TFileStream::Seek(int64_t offset, TSeekOrigin origin) {
  const int whence = origin == TSeekOrigin::Beginning ? SEEK_SET : origin == TSeekOrigin::Current ? SEEK_CUR : SEEK_END;
  const off_t r = ::lseek(fd_, static_cast<off_t>(offset), whence);
  return r < 0 ? 0 : static_cast<int64_t>(r);
}

std::vector<uint8_t> ReadRest(TStream& stream) {
  const int64_t pos = stream.Position();
  const int64_t size = stream.Size();
  std::vector<uint8_t> bytes;
  if (size > pos) {
    bytes.resize(static_cast<size_t>(size - pos));
    bytes.resize(static_cast<size_t>(stream.Read(bytes.data(), size - pos)));
  }
  return bytes;
}
