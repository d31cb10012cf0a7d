// The AVI container with one video stream, written as OpenDML (AVI 2.0): the
// first RIFF 'AVI ' chunk holds the headers, a super index and the legacy
// idx1 index; once a RIFF chunk nears its size limit the frames continue in
// 'AVIX' RIFF chunks, each with its own standard indexes ('ix00').
//
// The file survives a kill: every second of video (a checkpoint) the new
// frames go into standard indexes inside 'movi' (room for the next seconds is
// reserved, so an index grows in place), and then
// the headers are rewritten in place with the sizes, counts and super index
// that cover them. Whatever ends the process, the file is a complete video
// up to its last checkpoint; frames after it are trailing bytes.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "recording/avi_format.h"
#include "recording/file_sink.h"

// Old players read only the first RIFF chunk and expect it below 1 GiB.
constexpr uint64_t kAviRiffLimit = uint64_t(1) << 30;
// Room reserved in the header for one index entry per RIFF chunk.
constexpr uint32_t kAviSuperIndexEntries = 256;

struct TAviStreamFormat {
  TBitmapInfoHeader Bitmap; // as stored: biCompression names the codec
  uint32_t FrameRate = 0;
  uint32_t Handler = 0;
  uint32_t ChunkId = 0;
  uint32_t SuggestedBufferSize = 0;
};

class TAviFile {
public:
  // `checkpoints` false: headers and indexes are written at the end only.
  TAviFile(uint64_t riffLimit, uint64_t sizeLimit, bool checkpoints = true);
  ~TAviFile(); // completes the file if the owner did not
  TAviFile(const TAviFile&) = delete;
  TAviFile& operator=(const TAviFile&) = delete;

  // 0, or the errno of the failed open. The file takes the name only when
  // Finish completes it; until then a file under that name stays as it was.
  int Open(const std::string& path);
  // Writes the headers; frames follow. 0 or an AVI result code.
  int32_t Start(const TAviStreamFormat& format);
  // Appends one key frame. After a failure the file takes no more frames and
  // every later call returns the same code.
  int32_t WriteFrame(std::span<const uint8_t> data);
  // Writes the indexes and final headers, closes the file and gives it its
  // name; 0 when every frame accepted is in the completed file. A file that
  // failed (a frame or its completion) replaces an existing one only when
  // `failed` is Replace; a file never started is dropped. Later calls do
  // nothing.
  int32_t Finish(TSafeOutput::TExisting failed = TSafeOutput::TExisting::Replace);
  // The bytes written so far.
  uint64_t Bytes() const { return Sink.End(); }

private:
  struct TEntry {
    uint64_t Offset; // of the chunk header
    uint32_t Size;   // of the data
  };
  // A standard index chunk: Size bytes in all, Duration of its entries used.
  struct TSuperEntry {
    uint64_t Offset;
    uint32_t Size;
    uint32_t Duration;
  };

  bool InFirstRiff() const { return RiffStart == 0; }
  uint64_t ProjectedRiffSize(uint64_t chunkBytes) const;
  uint32_t IndexRoom() const;
  int32_t IndexFrames(bool last);
  void RecordRiffSizes(uint64_t moviEnd);
  int32_t Checkpoint();
  int32_t CloseRiff();
  int32_t OpenAvix();
  std::vector<uint8_t> Header() const;

  TFileSink Sink;
  uint64_t RiffLimit;
  bool Checkpoints;
  bool PublishTried = false;
  TAviStreamFormat Format;
  bool Started = false;
  bool Finished = false;
  bool RiffOpen = false;
  int32_t Failure = 0;
  uint64_t RiffStart = 0;
  uint64_t MoviStart = 0;
  std::vector<TEntry> Entries; // frames of the current RIFF chunk
  size_t Indexed = 0;          // of Entries, those in a standard index
  std::vector<TSuperEntry> SuperIndex;
  size_t RiffIndexes = 0; // of SuperIndex, the first of the current RIFF chunk
  uint32_t TotalFrames = 0;
  uint32_t FirstRiffFrames = 0;
  uint32_t FirstRiffSize = 0;
  uint32_t FirstMoviSize = 0;
  bool HasIdx1 = false;
  uint32_t LargestChunk = 0;
};
