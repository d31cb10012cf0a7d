#include "recording/avi_file.h"

#include <algorithm>
#include <limits>

namespace {

constexpr uint32_t kAvifHasIndex = 0x10;
constexpr uint32_t kAviifKeyFrame = 0x10;
constexpr uint8_t kAviIndexOfIndexes = 0x00;
constexpr uint8_t kAviIndexOfChunks = 0x01;
constexpr uint32_t kDmlhSize = 248;
constexpr uint32_t kSuperIndexBytes = 24 + 16 * kAviSuperIndexEntries;

// Little-endian serialisation whatever the host.
class TBytes {
public:
  void U8(uint8_t v) { B.push_back(v); }
  void U16(uint16_t v) {
    U8(uint8_t(v));
    U8(uint8_t(v >> 8));
  }
  void U32(uint32_t v) {
    U16(uint16_t(v));
    U16(uint16_t(v >> 16));
  }
  void U64(uint64_t v) {
    U32(uint32_t(v));
    U32(uint32_t(v >> 32));
  }
  void Tag(const char (&s)[5]) { U32(FourCC(s)); }
  void Zeros(size_t n) { B.insert(B.end(), n, 0); }
  size_t Size() const { return B.size(); }
  std::vector<uint8_t>& Data() { return B; }

private:
  std::vector<uint8_t> B;
};

std::vector<uint8_t> Le32(uint32_t v) {
  TBytes b;
  b.U32(v);
  return b.Data();
}

uint64_t StdIndexBytes(uint64_t frames) {
  return 8 + 24 + 8 * frames;
}
uint64_t Idx1Bytes(uint64_t frames) {
  return 8 + 16 * frames;
}

uint32_t Saturate32(uint64_t v) {
  return uint32_t(std::min<uint64_t>(v, std::numeric_limits<uint32_t>::max()));
}

} // namespace

TAviFile::TAviFile(uint64_t riffLimit, uint64_t sizeLimit, bool checkpoints)
    : RiffLimit(riffLimit), Checkpoints(checkpoints) {
  Sink.SizeLimit = sizeLimit;
}

TAviFile::~TAviFile() {
  Finish();
}

int TAviFile::Open(const std::string& path) {
  return Sink.Open(path);
}

std::vector<uint8_t> TAviFile::Header() const {
  const TBitmapInfoHeader& bm = Format.Bitmap;
  const uint32_t rate = Format.FrameRate;
  TBytes h;
  h.Tag("RIFF");
  h.U32(FirstRiffSize);
  h.Tag("AVI ");

  const uint32_t strlSize = 4 + (8 + 56) + (8 + kBitmapInfoHeaderSize) + (8 + kSuperIndexBytes);
  const uint32_t odmlSize = 4 + 8 + kDmlhSize;
  h.Tag("LIST");
  h.U32(4 + (8 + 56) + (8 + strlSize) + (8 + odmlSize));
  h.Tag("hdrl");

  h.Tag("avih");
  h.U32(56);
  h.U32(rate != 0 ? 1000000 / rate : 0);
  h.U32(Saturate32(uint64_t(LargestChunk) * rate));
  h.U32(0);
  h.U32(HasIdx1 ? kAvifHasIndex : 0);
  h.U32(FirstRiffFrames); // old players see the first RIFF chunk only
  h.U32(0);
  h.U32(1);
  h.U32(Format.SuggestedBufferSize);
  h.U32(uint32_t(bm.biWidth));
  h.U32(uint32_t(bm.biHeight));
  h.Zeros(16);

  h.Tag("LIST");
  h.U32(strlSize);
  h.Tag("strl");
  h.Tag("strh");
  h.U32(56);
  h.Tag("vids");
  h.U32(Format.Handler);
  h.U32(0); // flags
  h.U16(0); // priority
  h.U16(0); // language
  h.U32(0); // initial frames
  h.U32(1); // scale
  h.U32(rate);
  h.U32(0); // start
  h.U32(TotalFrames);
  h.U32(Format.SuggestedBufferSize);
  h.U32(0); // quality
  h.U32(0); // sample size
  h.U16(0);
  h.U16(0);
  h.U16(uint16_t(bm.biWidth));
  h.U16(uint16_t(bm.biHeight));

  h.Tag("strf");
  h.U32(kBitmapInfoHeaderSize);
  h.U32(bm.biSize);
  h.U32(uint32_t(bm.biWidth));
  h.U32(uint32_t(bm.biHeight));
  h.U16(bm.biPlanes);
  h.U16(bm.biBitCount);
  h.U32(bm.biCompression);
  h.U32(bm.biSizeImage);
  h.U32(uint32_t(bm.biXPelsPerMeter));
  h.U32(uint32_t(bm.biYPelsPerMeter));
  h.U32(bm.biClrUsed);
  h.U32(bm.biClrImportant);

  h.Tag("indx");
  h.U32(kSuperIndexBytes);
  h.U16(4); // longs per entry
  h.U8(0);
  h.U8(kAviIndexOfIndexes);
  h.U32(uint32_t(SuperIndex.size()));
  h.U32(Format.ChunkId);
  h.Zeros(12);
  for (const TSuperEntry& e : SuperIndex) {
    h.U64(e.Offset);
    h.U32(e.Size);
    h.U32(e.Duration);
  }
  h.Zeros(16 * (kAviSuperIndexEntries - SuperIndex.size()));

  h.Tag("LIST");
  h.U32(odmlSize);
  h.Tag("odml");
  h.Tag("dmlh");
  h.U32(kDmlhSize);
  h.U32(TotalFrames);
  h.Zeros(kDmlhSize - 4);

  h.Tag("LIST");
  h.U32(FirstMoviSize);
  h.Tag("movi");
  return std::move(h.Data());
}

int32_t TAviFile::Start(const TAviStreamFormat& format) {
  Format = format;
  // Sizes that make the file a valid empty video from the start.
  const size_t headerBytes = Header().size();
  FirstRiffSize = uint32_t(headerBytes - 8);
  FirstMoviSize = 4;
  const std::vector<uint8_t> header = Header();
  if (!Sink.Append({header})) return Failure = kAviErrFileWrite;
  RiffStart = 0;
  MoviStart = header.size() - 12;
  Started = true;
  RiffOpen = true;
  return 0;
}

// Free entries in the last standard index of the current RIFF chunk.
uint32_t TAviFile::IndexRoom() const {
  if (SuperIndex.size() <= RiffIndexes) return 0;
  const TSuperEntry& e = SuperIndex.back();
  return uint32_t((e.Size - StdIndexBytes(0)) / 8) - e.Duration;
}

uint64_t TAviFile::ProjectedRiffSize(uint64_t chunkBytes) const {
  const uint64_t frames = Entries.size() + 1;
  const uint64_t unindexed = frames - Indexed;
  const uint64_t room = IndexRoom();
  const uint64_t index = unindexed > room ? StdIndexBytes(unindexed - room) : 0;
  return Sink.End() - RiffStart + chunkBytes + index + (InFirstRiff() ? Idx1Bytes(frames) : 0);
}

// Puts the frames not yet indexed into the current RIFF chunk's standard
// indexes: first into the room left in the last one, then into a new one at
// the end of 'movi'. Unless `last`, the new one has room for the frames of
// the next seconds (twice the previous one's, within the RIFF chunk's limit),
// and none is made when it would take the super index's last entry, which
// the RIFF chunk's end needs.
int32_t TAviFile::IndexFrames(bool last) {
  while (Indexed < Entries.size()) {
    const uint64_t pending = Entries.size() - Indexed;
    if (const uint32_t room = IndexRoom(); room > 0) {
      TSuperEntry& e = SuperIndex.back();
      const uint32_t n = uint32_t(std::min<uint64_t>(room, pending));
      TBytes entries;
      for (size_t i = Indexed; i < Indexed + n; ++i) {
        entries.U32(uint32_t(Entries[i].Offset + 8 - RiffStart));
        entries.U32(Entries[i].Size);
      }
      // The entries before the count that makes them valid.
      if (!Sink.Patch(e.Offset + StdIndexBytes(e.Duration), entries.Data()) ||
          !Sink.Patch(e.Offset + 12, Le32(e.Duration + n)))
        return kAviErrFileWrite;
      e.Duration += n;
      Indexed += n;
      continue;
    }
    if (SuperIndex.size() + (last ? 0 : 1) >= kAviSuperIndexEntries) return last ? kAviErrError : 0;
    uint64_t capacity = pending;
    if (!last) {
      const uint64_t grow = SuperIndex.size() > RiffIndexes
                                ? 2 * ((SuperIndex.back().Size - StdIndexBytes(0)) / 8)
                                : 4 * uint64_t(Format.FrameRate);
      const uint64_t used = Sink.End() - RiffStart + StdIndexBytes(0) +
                            (InFirstRiff() ? Idx1Bytes(Entries.size()) : 0);
      const uint64_t fit = RiffLimit > used ? (RiffLimit - used) / 8 : 0;
      capacity = std::max(pending, std::min({grow, fit, uint64_t(1) << 24}));
    }
    const uint64_t offset = Sink.End();
    for (;;) {
      TBytes ix;
      ix.Tag("ix00");
      ix.U32(uint32_t(StdIndexBytes(capacity) - 8));
      ix.U16(2);
      ix.U8(0);
      ix.U8(kAviIndexOfChunks);
      ix.U32(uint32_t(pending));
      ix.U32(Format.ChunkId);
      ix.U64(RiffStart);
      ix.U32(0);
      for (size_t i = Indexed; i < Entries.size(); ++i) {
        ix.U32(uint32_t(Entries[i].Offset + 8 - RiffStart)); // the data; bit 31 clear: key frame
        ix.U32(Entries[i].Size);
      }
      ix.Zeros(8 * (capacity - pending));
      if (Sink.Append({ix.Data()})) break;
      if (capacity == pending) return kAviErrFileWrite;
      capacity = pending; // without the room for later frames it may fit
    }
    SuperIndex.push_back({offset, uint32_t(StdIndexBytes(capacity)), uint32_t(pending)});
    Indexed = Entries.size();
  }
  return 0;
}

// The sizes of the current RIFF chunk and its 'movi' list as they now stand.
void TAviFile::RecordRiffSizes(uint64_t moviEnd) {
  const uint32_t moviSize = uint32_t(moviEnd - (MoviStart + 8));
  const uint32_t riffSize = uint32_t(Sink.End() - (RiffStart + 8));
  if (InFirstRiff()) {
    FirstRiffFrames = uint32_t(Entries.size());
    FirstMoviSize = moviSize;
    FirstRiffSize = riffSize;
  } else if (!Sink.Patch(MoviStart + 4, Le32(moviSize)) ||
             !Sink.Patch(RiffStart + 4, Le32(riffSize))) {
    Failure = kAviErrFileWrite;
  }
}

int32_t TAviFile::Checkpoint() {
  if (!Checkpoints || Sink.Direct()) return 0;
  if (const int32_t r = IndexFrames(false); r != 0) return r;
  // No room left in the super index: the frames wait for the end.
  if (Indexed < Entries.size()) return 0;
  // No flush to the disk here: waiting for it each second costs more than
  // the frame writes themselves. A killed process loses nothing the kernel
  // has; after a power cut the headers may come from an earlier checkpoint.
  RecordRiffSizes(Sink.End());
  if (Failure != 0) return Failure;
  if (!Sink.Patch(0, Header())) return kAviErrFileWrite;
  if (!PublishTried) {
    PublishTried = true;
    // Under its name from now on, unless an earlier file holds it.
    Sink.Publish();
  }
  return 0;
}

int32_t TAviFile::WriteFrame(std::span<const uint8_t> data) {
  if (!Started || Finished) return kAviErrError;
  if (Failure != 0) return Failure;
  const uint64_t chunkBytes = 8 + data.size() + (data.size() & 1);
  if (chunkBytes > std::numeric_limits<uint32_t>::max()) return kAviErrBadFormat;
  if (!Entries.empty() && ProjectedRiffSize(chunkBytes) > RiffLimit) {
    if (SuperIndex.size() + 1 >= kAviSuperIndexEntries) return Failure = kAviErrError;
    if (const int32_t r = CloseRiff(); r != 0) return Failure = r;
    if (const int32_t r = OpenAvix(); r != 0) return Failure = r;
    if (const int32_t r = Checkpoint(); r != 0) return Failure = r;
  }
  TBytes head;
  head.U32(Format.ChunkId);
  head.U32(uint32_t(data.size()));
  const uint8_t pad[1] = {0};
  const uint64_t offset = Sink.End();
  if (!Sink.Append({head.Data(), data, std::span(pad, data.size() & 1)}))
    return Failure = kAviErrFileWrite;
  Entries.push_back({offset, uint32_t(data.size())});
  ++TotalFrames;
  LargestChunk = std::max(LargestChunk, uint32_t(data.size()));
  if (Format.FrameRate != 0 && TotalFrames % Format.FrameRate == 0)
    if (const int32_t r = Checkpoint(); r != 0) return Failure = r;
  return 0;
}

int32_t TAviFile::OpenAvix() {
  // Sized as an empty chunk, which it is until its first checkpoint.
  TBytes h;
  h.Tag("RIFF");
  h.U32(16);
  h.Tag("AVIX");
  h.Tag("LIST");
  h.U32(4);
  h.Tag("movi");
  const uint64_t start = Sink.End();
  if (!Sink.Append({h.Data()})) return kAviErrFileWrite;
  RiffStart = start;
  MoviStart = start + 12;
  RiffOpen = true;
  Entries.clear();
  Indexed = 0;
  RiffIndexes = SuperIndex.size();
  return 0;
}

// Ends the current RIFF chunk with its indexes. When the disk has no room for
// them, frames not yet indexed are given up from the end until the indexes
// fit, so that the file stays complete up to the last frame it keeps.
int32_t TAviFile::CloseRiff() {
  if (!RiffOpen) return 0;
  RiffOpen = false;
  int32_t result = 0;
  // Frames not yet indexed follow every index chunk: they can be cut off.
  while (IndexFrames(true) != 0 && Indexed < Entries.size()) {
    result = kAviErrFileWrite;
    Sink.Truncate(Entries.back().Offset);
    Entries.pop_back();
    --TotalFrames;
  }
  if (Entries.empty() && !InFirstRiff()) {
    Sink.Truncate(RiffStart);
    return result;
  }
  const uint64_t moviEnd = Sink.End();
  if (InFirstRiff() && !Entries.empty()) {
    TBytes idx1;
    idx1.Tag("idx1");
    idx1.U32(uint32_t(16 * Entries.size()));
    for (const TEntry& e : Entries) {
      idx1.U32(Format.ChunkId);
      idx1.U32(kAviifKeyFrame);
      idx1.U32(uint32_t(e.Offset - (MoviStart + 8)));
      idx1.U32(e.Size);
    }
    // Without it the OpenDML indexes still hold every frame.
    HasIdx1 = Sink.Append({idx1.Data()});
    if (!HasIdx1) result = kAviErrFileWrite;
  }
  RecordRiffSizes(moviEnd);
  if (Failure != 0 && result == 0) result = Failure;
  return result;
}
int32_t TAviFile::Finish(TSafeOutput::TExisting failed) {
  if (Finished) return 0;
  Finished = true;
  int32_t result = Failure;
  if (!Started) {
    Sink.Discard();
    return result;
  }
  if (const int32_t r = CloseRiff(); r != 0 && result == 0) result = r;
  if (!Sink.Patch(0, Header()) && result == 0) result = kAviErrFileWrite;
  const int err = Sink.Commit(result == 0 ? TSafeOutput::TExisting::Replace : failed);
  // A failed file kept out of an earlier file's way is no new failure.
  if (err != 0 && result == 0) result = kAviErrFileWrite;
  return result;
}
