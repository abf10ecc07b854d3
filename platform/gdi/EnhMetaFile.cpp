#include "platform/gdi/EnhMetaFile.h"

#include <QImage>
#include <QPainter>
#include <QRegion>
#include <algorithm>
#include <cstring>

#include "platform/gdi/EmfPlayer.h"
#include "platform/gdi/EmfRecordReader.h"
#include "platform/rtl/ByteReader.h"

namespace gdi {

namespace {

constexpr uint32_t kHeaderType = 1;
constexpr uint32_t kSignature = 0x464D4520;
constexpr uint32_t kMinHeaderSize = 88;
constexpr uint32_t kEofType = 14;

TRect ReadRect(ByteReader& r) {
  TRect t;
  t.Left = r.I32();
  t.Top = r.I32();
  t.Right = r.I32();
  t.Bottom = r.I32();
  return t;
}

bool ReadHeader(std::span<const uint8_t> bytes, EnhMetaHeader& h) {
  try {
    ByteReader r(bytes);
    h.type = r.U32();
    h.size = r.U32();
    h.bounds = ReadRect(r);
    h.frame = ReadRect(r);
    h.signature = r.U32();
    h.version = r.U32();
    h.bytes = r.U32();
    h.records = r.U32();
    h.handles = r.U16();
    r.Skip(2 + 4 + 4);  // reserved, description length and offset
    h.nPalEntries = r.U32();
    h.deviceCx = r.I32();
    h.deviceCy = r.I32();
    h.millimetersCx = r.I32();
    h.millimetersCy = r.I32();
  } catch (const EReadError&) {
    return false;
  }
  return h.type == kHeaderType && h.size >= kMinHeaderSize && h.size <= bytes.size() && h.signature == kSignature &&
         h.bytes >= h.size && h.bytes <= bytes.size();
}

// The end record: the first record of its type, found by walking the records.
std::span<const uint8_t> EofRecord(std::span<const uint8_t> data) {
  emf::EmfRecordReader records(data);
  emf::EmfRecord record;
  while (records.Next(record))
    if (record.type == kEofType) return record.bytes;
  return {};
}

}  // namespace

HENHMETAFILE SetEnhMetaFileBits(std::span<const uint8_t> bytes) {
  EnhMetaHeader header;
  if (!ReadHeader(bytes, header)) return nullptr;
  std::vector<uint8_t> kept(bytes.begin(), bytes.begin() + header.bytes);
  return std::make_shared<const EnhMetaFile>(std::move(kept), header);
}

bool GetEnhMetaFileHeader(const HENHMETAFILE& emf, EnhMetaHeader& header) {
  if (!emf) return false;
  header = emf->Header();
  return true;
}

std::vector<PaletteEntry> GetEnhMetaFilePaletteEntries(const HENHMETAFILE& emf) {
  std::vector<PaletteEntry> entries;
  if (!emf) return entries;
  const auto rec = EofRecord(emf->Bytes());
  if (rec.empty()) return entries;
  try {
    ByteReader r(rec);
    r.Seek(8);
    const uint32_t count = r.U32();
    const uint32_t offset = r.U32();
    r.Seek(offset);
    if (count > r.Remaining() / 4) return entries;
    entries.resize(count);
    for (auto& e : entries) {
      e.red = r.U8();
      e.green = r.U8();
      e.blue = r.U8();
      e.flags = r.U8();
    }
  } catch (const EReadError&) {
    entries.clear();
  }
  return entries;
}

namespace {

void PlayOnto(QImage& target, TCanvas& canvas, const HENHMETAFILE& emf, const TRect& rect) {
  const TRect clip = canvas.ClipToSurface(
      TRect{canvas.ClipRect.Left - canvas.Origin.X, canvas.ClipRect.Top - canvas.Origin.Y,
            canvas.ClipRect.Right - canvas.Origin.X, canvas.ClipRect.Bottom - canvas.Origin.Y});
  if (clip.Width() <= 0 || clip.Height() <= 0) return;
  QPainter painter(&target);
  const TRect shifted{rect.Left + canvas.Origin.X, rect.Top + canvas.Origin.Y, rect.Right + canvas.Origin.X,
                      rect.Bottom + canvas.Origin.Y};
  const QTransform toOutput = emf::EmfPlayer::FrameToRect(emf->Header(), shifted);
  emf::EmfPlayer player(painter, emf->Header(), toOutput,
                        QRegion(QRect(clip.Left, clip.Top, clip.Width(), clip.Height())));
  player.Play(emf->Bytes());
}

}  // namespace

void PlayEnhMetaFile(TCanvas& canvas, const HENHMETAFILE& emf, const TRect& rect) {
  if (!emf) return;
  Dib& surface = canvas.Surface();
  if (surface.BitCount() != 32 || surface.Width() <= 0 || surface.Height() <= 0) return;
  if (surface.TopDown()) {
    // The surface's own memory, drawn on in place.
    QImage target(surface.Bits(), surface.Width(), surface.Height(), static_cast<qsizetype>(surface.Stride()),
                  QImage::Format_RGB32);
    PlayOnto(target, canvas, emf, rect);
    return;
  }
  // Rows stored from the bottom: drawn on a top-down copy, then written back.
  QImage target(surface.Width(), surface.Height(), QImage::Format_RGB32);
  const size_t rowBytes = static_cast<size_t>(surface.Width()) * 4;
  for (int32_t y = 0; y < surface.Height(); ++y) std::memcpy(target.scanLine(y), surface.PictureRow(y), rowBytes);
  PlayOnto(target, canvas, emf, rect);
  for (int32_t y = 0; y < surface.Height(); ++y) std::memcpy(surface.PictureRow(y), target.constScanLine(y), rowBytes);
}

}  // namespace gdi
