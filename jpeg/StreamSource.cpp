#include "jpeg/StreamSource.h"

#include <jerror.h>

#include "jpeg/JpegErrors.h"

namespace {

StreamSource& SourceOf(j_decompress_ptr cinfo) { return *reinterpret_cast<StreamSource*>(cinfo->src); }

void InitSource(j_decompress_ptr cinfo) { SourceOf(cinfo).StartOfFile = TRUE; }

boolean FillInputBuffer(j_decompress_ptr cinfo) {
  StreamSource& src = SourceOf(cinfo);
  int64_t count = 0;
  bool failed = false;
  try {
    count = src.Stream->Read(src.Buffer, sizeof src.Buffer);
  } catch (...) {
    KeepCurrentException(reinterpret_cast<j_common_ptr>(cinfo));
    failed = true;
  }
  if (failed) RaiseJpegError(reinterpret_cast<j_common_ptr>(cinfo));
  if (count <= 0) {
    if (src.StartOfFile) ERREXIT(cinfo, JERR_INPUT_EMPTY);
    WARNMS(cinfo, JWRN_JPEG_EOF);
    // A file cut short ends as if it were complete.
    src.Buffer[0] = 0xFF;
    src.Buffer[1] = JPEG_EOI;
    count = 2;
  }
  src.Manager.next_input_byte = src.Buffer;
  src.Manager.bytes_in_buffer = static_cast<size_t>(count);
  src.StartOfFile = FALSE;
  return TRUE;
}

void SkipInputData(j_decompress_ptr cinfo, long count) {
  if (count <= 0) return;
  StreamSource& src = SourceOf(cinfo);
  while (count > static_cast<long>(src.Manager.bytes_in_buffer)) {
    count -= static_cast<long>(src.Manager.bytes_in_buffer);
    FillInputBuffer(cinfo);
  }
  src.Manager.next_input_byte += count;
  src.Manager.bytes_in_buffer -= static_cast<size_t>(count);
}

void TermSource(j_decompress_ptr) {}

}  // namespace

void AttachStreamSource(j_decompress_ptr Decompressor, TStream& Stream) {
  if (!Decompressor->src) {
    void* memory = (*Decompressor->mem->alloc_small)(reinterpret_cast<j_common_ptr>(Decompressor), JPOOL_PERMANENT,
                                                     sizeof(StreamSource));
    Decompressor->src = static_cast<jpeg_source_mgr*>(memory);
  }
  StreamSource& src = SourceOf(Decompressor);
  src.Manager.init_source = InitSource;
  src.Manager.fill_input_buffer = FillInputBuffer;
  src.Manager.skip_input_data = SkipInputData;
  src.Manager.resync_to_restart = jpeg_resync_to_restart;
  src.Manager.term_source = TermSource;
  src.Stream = &Stream;
  src.Manager.bytes_in_buffer = 0;
  src.Manager.next_input_byte = nullptr;
}
