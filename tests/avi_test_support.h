// Helpers for the AVI writer tests: test frames, the writer's test-only
// limits, and a real decoder (ffprobe/ffmpeg) reading our files back.
#pragma once

#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "recording/avi_generator.h"
#include "scratch.h"
#include "unavailable.h"

struct TAviGeneratorTestAccess {
  static void SetRiffLimit(CAVIGenerator& g, uint64_t bytes) { g.RiffLimit = bytes; }
  static void SetDiskLimit(CAVIGenerator& g, uint64_t bytes) { g.DiskLimit = bytes; }
  static void SetCheckpoints(CAVIGenerator& g, bool on) { g.Checkpoints = on; }
};

namespace avitest {

using TFrame = std::vector<uint8_t>;

using ::TempFile;

// A frame of per-pixel noise in the writer's layout (bottom row first,
// blue-green-red), so that any misplaced byte shows.
inline TFrame NoiseFrame(int w, int h, int k) {
  TFrame f(size_t(3) * w * h);
  uint32_t s = 2654435761u * uint32_t(k + 1);
  for (auto& b : f) {
    s = s * 1664525u + 1013904223u;
    b = uint8_t(s >> 24);
  }
  return f;
}

// The decoder gives rows top first.
inline TFrame TopDown(const TFrame& bottomUp, int w, int h) {
  TFrame f(bottomUp.size());
  const size_t row = size_t(3) * w;
  for (int y = 0; y < h; ++y)
    std::copy_n(&bottomUp[size_t(h - 1 - y) * row], row, &f[size_t(y) * row]);
  return f;
}

inline bool HaveDecoder() {
  return std::system("ffprobe -version >/dev/null 2>&1") == 0 &&
         std::system("ffmpeg -version >/dev/null 2>&1") == 0;
}

inline std::string Run(const std::string& command) {
  std::string out;
  if (FILE* p = ::popen(command.c_str(), "r")) {
    char buf[1 << 16];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0)
      out.append(buf, n);
    ::pclose(p);
  }
  return out;
}

inline std::string Quote(const std::filesystem::path& p) {
  return "'" + p.string() + "'";
}

struct TProbe {
  std::string Codec;
  int Width = 0, Height = 0;
  std::string FrameRate;
  long FramesRead = -1;
};

inline TProbe Probe(const std::filesystem::path& file, const std::string& demuxerOptions = "") {
  const std::string json =
      Run("ffprobe -v error " + demuxerOptions +
          " -select_streams v:0 -count_frames -show_entries "
          "stream=codec_name,width,height,r_frame_rate,nb_read_frames -of json " +
          Quote(file) + " 2>/dev/null");
  TProbe r;
  const auto j = nlohmann::json::parse(json, nullptr, false);
  if (j.is_discarded() || !j.contains("streams") || j["streams"].empty()) return r;
  const auto& s = j["streams"][0];
  r.Codec = s.value("codec_name", "");
  r.Width = s.value("width", 0);
  r.Height = s.value("height", 0);
  r.FrameRate = s.value("r_frame_rate", "");
  // A stream with no frame at all reports its count as "N/A".
  const std::string count = s.value("nb_read_frames", "");
  r.FramesRead = !count.empty() && std::isdigit(uint8_t(count[0])) ? std::stol(count) : 0;
  return r;
}

// Every frame the decoder reads, top row first, blue-green-red. `input` may
// hold options placed before -i (a seek, demuxer options).
inline std::vector<TFrame> Decode(const std::filesystem::path& file, int w, int h,
                                  const std::string& input = "") {
  const std::string raw = Run("ffmpeg -v error " + input + " -i " + Quote(file) +
                              " -f rawvideo -pix_fmt bgr24 - 2>/dev/null");
  std::vector<TFrame> frames;
  const size_t size = size_t(3) * w * h;
  for (size_t at = 0; at + size <= raw.size(); at += size)
    frames.emplace_back(raw.begin() + long(at), raw.begin() + long(at + size));
  return frames;
}

inline double MeanAbsDiff(const TFrame& a, const TFrame& b) {
  double sum = 0;
  for (size_t i = 0; i < a.size(); ++i)
    sum += std::abs(int(a[i]) - int(b[i]));
  return sum / double(a.size());
}

struct TRiffChunk {
  std::string Form; // 'AVI ' or 'AVIX'
  uint64_t Bytes;   // including its 8-byte header
};

// The top-level RIFF chunks of a file, read with no help from the writer.
inline std::vector<TRiffChunk> RiffChunks(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::vector<TRiffChunk> chunks;
  char head[12];
  while (in.read(head, 12) && std::string(head, 4) == "RIFF") {
    const uint32_t size = uint8_t(head[4]) | uint8_t(head[5]) << 8 | uint8_t(head[6]) << 16 |
                          uint32_t(uint8_t(head[7])) << 24;
    chunks.push_back({std::string(head + 8, 4), uint64_t(size) + 8});
    in.seekg(std::streamoff(size) - 4 + (size & 1), std::ios::cur);
  }
  return chunks;
}

} // namespace avitest

namespace avitest {

// What the headers and indexes of a file say, read with no help from the
// writer, as a player that trusts them would: the frame counts, and where
// each frame is according to the OpenDML super index and its standard indexes.
struct TAviLayout {
  std::string Error; // empty when every count and index holds together
  uint32_t AvihFrames = 0, StrhLength = 0, DmlhFrames = 0, Flags = 0;
  std::vector<std::string> Frames; // the bytes of each indexed frame, in order
};

// `killed`: the writer may have been stopped inside a checkpoint, after it
// counted new frames in its last standard index and before its headers (the
// super index among them) caught up; the headers then say what the file holds.
inline TAviLayout ReadAviLayout(const std::filesystem::path& file, bool killed = false) {
  const std::string f = ReadFile(file);
  TAviLayout r;
  auto u16 = [&](uint64_t at) { return uint32_t(uint8_t(f[at]) | uint8_t(f[at + 1]) << 8); };
  auto u32 = [&](uint64_t at) { return u16(at) | u16(at + 2) << 16; };
  auto tag = [&](uint64_t at) { return f.substr(at, 4); };
  if (f.size() < 12 || tag(0) != "RIFF" || tag(8) != "AVI ") return r.Error = "no RIFF AVI", r;
  // Declared extents of the RIFF chunks: every frame must lie inside one.
  std::vector<std::pair<uint64_t, uint64_t>> riffs;
  for (uint64_t at = 0; at + 12 <= f.size() && tag(at) == "RIFF";) {
    const uint64_t end = at + 8 + u32(at + 4);
    if (end > f.size()) return r.Error = "RIFF chunk beyond the end of the file", r;
    riffs.push_back({at, end});
    at = end + (end & 1);
  }
  uint64_t indx = 0;
  for (uint64_t at = 12; at + 8 <= riffs[0].second;) {
    const std::string id = tag(at);
    const uint32_t size = u32(at + 4);
    if (id == "LIST") {
      if (tag(at + 8) == "movi") break;
      at += 12; // into the list
      continue;
    }
    if (id == "avih") r.Flags = u32(at + 8 + 12), r.AvihFrames = u32(at + 8 + 16);
    if (id == "strh") r.StrhLength = u32(at + 8 + 32);
    if (id == "dmlh") r.DmlhFrames = u32(at + 8);
    if (id == "indx") indx = at + 8;
    at += 8 + size + (size & 1);
  }
  if (indx == 0) return r.Error = "no super index", r;
  const uint32_t chunkId = u32(indx + 8);
  const uint32_t indexes = u32(indx + 4);
  for (uint32_t i = 0; i < indexes; ++i) {
    const uint64_t e = indx + 24 + 16 * uint64_t(i);
    const uint64_t ix = u32(e) | uint64_t(u32(e + 4)) << 32;
    if (ix + 32 > f.size() || tag(ix) != "ix00") return r.Error = "bad standard index", r;
    const uint32_t counted = u32(ix + 12), used = u32(e + 12);
    if (counted != used && !(killed && i + 1 == indexes && counted > used))
      return r.Error = "super index and standard index disagree", r;
    if (32 + 8 * uint64_t(counted) > 8 + uint64_t(u32(ix + 4)))
      return r.Error = "standard index overflows its chunk", r;
    const uint64_t base = u32(ix + 20) | uint64_t(u32(ix + 24)) << 32;
    for (uint32_t k = 0; k < used; ++k) {
      const uint64_t data = base + u32(ix + 32 + 8 * k);
      const uint32_t size = u32(ix + 36 + 8 * k);
      bool inside = false;
      for (const auto& [begin, end] : riffs)
        inside = inside || (data - 8 >= begin && data + size <= end);
      if (!inside || u32(data - 8) != chunkId || u32(data - 4) != size)
        return r.Error = "index entry " + std::to_string(r.Frames.size()) + " points nowhere", r;
      r.Frames.push_back(f.substr(data, size));
    }
  }
  return r;
}

// ffprobe's frame count and duration as the headers give them (no decoding).
inline std::pair<long, double> HeaderCountAndDuration(const std::filesystem::path& file) {
  const auto j = nlohmann::json::parse(
      Run("ffprobe -v error -select_streams v:0 -show_entries stream=nb_frames,duration -of "
          "json " +
          Quote(file) + " 2>/dev/null"),
      nullptr, false);
  if (j.is_discarded() || !j.contains("streams") || j["streams"].empty()) return {-1, -1};
  const auto& s = j["streams"][0];
  const std::string n = s.value("nb_frames", ""), d = s.value("duration", "");
  return {n.empty() || !std::isdigit(uint8_t(n[0])) ? -1 : std::stol(n),
          d.empty() || !std::isdigit(uint8_t(d[0])) ? -1 : std::stod(d)};
}

} // namespace avitest
