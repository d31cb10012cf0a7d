// An off-screen OpenGL context without any window system: EGL on Mesa's
// surfaceless platform (or the default display), compatibility profile so that
// immediate mode and display lists work, drawing into a pbuffer or, where the
// display offers none, a framebuffer object of the requested size.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class TEglContext {
public:
  TEglContext() = default;
  ~TEglContext();
  TEglContext(const TEglContext&) = delete;
  TEglContext& operator=(const TEglContext&) = delete;

  // Creates the context and a w x h RGBA8 colour buffer with a depth buffer of
  // at least 16 bits, and makes it current. On failure nothing is left behind
  // and `error` says why.
  bool Create(int w, int h, std::string& error);
  // Whether the last Create failed for want of memory.
  bool OutOfMemory() const { return out_of_memory_; }
  bool MakeCurrent();
  // No context current on this thread any more (another thread may take it).
  void DoneCurrent();
  void Release();

  bool Valid() const { return context_ != nullptr; }
  // Waits until everything drawn so far is in the colour buffer.
  void Finish() const;
  int Width() const { return width_; }
  int Height() const { return height_; }

  // The colour buffer as RGBA bytes, bottom row first (OpenGL's order).
  std::vector<std::uint8_t> ReadPixels() const;
  // The same, top row first (the order of image files).
  std::vector<std::uint8_t> ReadPixelsTopDown() const;

private:
  bool CreateContext(int w, int h, std::string& error);
  bool CreateFramebuffer(std::string& error);

  void* display_ = nullptr;
  void* config_ = nullptr;
  void* context_ = nullptr;
  void* surface_ = nullptr;
  unsigned fbo_ = 0, colour_rb_ = 0, depth_rb_ = 0;
  int width_ = 0, height_ = 0;
  bool out_of_memory_ = false;
};
