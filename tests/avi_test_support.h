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
