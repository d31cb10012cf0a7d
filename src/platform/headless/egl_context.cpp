#include "platform/headless/egl_context.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GL/gl.h>

#include <cstring>
#include <new>

namespace {

// Framebuffer-object entry points (not part of the GL 1.x headers).
constexpr GLenum kFramebuffer = 0x8D40;
constexpr GLenum kRenderbuffer = 0x8D41;
constexpr GLenum kColorAttachment0 = 0x8CE0;
constexpr GLenum kDepthAttachment = 0x8D00;
constexpr GLenum kFramebufferComplete = 0x8CD5;
constexpr GLenum kDepthComponent24 = 0x81A6;
using PFnGen = void (*)(GLsizei, GLuint*);
using PFnDelete = void (*)(GLsizei, const GLuint*);
using PFnBind = void (*)(GLenum, GLuint);
using PFnStorage = void (*)(GLenum, GLenum, GLsizei, GLsizei);
using PFnAttach = void (*)(GLenum, GLenum, GLenum, GLuint);
using PFnStatus = GLenum (*)(GLenum);

template <class F> F Proc(const char* name) {
  return reinterpret_cast<F>(eglGetProcAddress(name));
}

bool HasExtension(const char* list, const char* name) {
  if (!list) return false;
  const std::size_t n = std::strlen(name);
  for (const char* p = list; (p = std::strstr(p, name)) != nullptr; p += n)
    if ((p == list || p[-1] == ' ') && (p[n] == ' ' || p[n] == '\0')) return true;
  return false;
}

// The display is opened once and kept for the life of the process: EGL shares
// it between all contexts, and terminating it would unload the driver, which
// the next context would have to load again.
EGLDisplay OpenDisplayOnce(std::string& error) {
  const char* client = eglQueryString(EGL_NO_DISPLAY, EGL_EXTENSIONS);
  EGLDisplay dpy = EGL_NO_DISPLAY;
  if (HasExtension(client, "EGL_MESA_platform_surfaceless")) {
    if (auto get = Proc<PFNEGLGETPLATFORMDISPLAYEXTPROC>("eglGetPlatformDisplayEXT"))
      dpy = get(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
  }
  EGLint major = 0, minor = 0;
  if (dpy != EGL_NO_DISPLAY && eglInitialize(dpy, &major, &minor)) return dpy;
  dpy = eglGetDisplay(EGL_DEFAULT_DISPLAY);
  if (dpy != EGL_NO_DISPLAY && eglInitialize(dpy, &major, &minor)) return dpy;
  error = "no EGL display available";
  return EGL_NO_DISPLAY;
}

EGLDisplay OpenDisplay(std::string& error) {
  static std::string open_error;
  static const EGLDisplay display = OpenDisplayOnce(open_error);
  if (display == EGL_NO_DISPLAY) error = open_error;
  return display;
}

} // namespace

TEglContext::~TEglContext() {
  Release();
}

bool TEglContext::Create(int w, int h, std::string& error) {
  out_of_memory_ = false;
  try {
    return CreateContext(w, h, error);
  } catch (const std::bad_alloc&) {
    // The driver's C++ parts (the software renderer's compiler) allocate
    // with new; what they left is released as far as it can be.
    Release();
    out_of_memory_ = true;
    error = "not enough memory for an OpenGL view of " + std::to_string(w) + "x" +
            std::to_string(h) + " pixels";
    return false;
  }
}

bool TEglContext::CreateContext(int w, int h, std::string& error) {
  Release();
  if (w <= 0 || h <= 0) {
    error = "invalid surface size";
    return false;
  }
  EGLDisplay dpy = OpenDisplay(error);
  if (dpy == EGL_NO_DISPLAY) return false;
  display_ = dpy;
  width_ = w;
  height_ = h;

  if (!eglBindAPI(EGL_OPENGL_API)) {
    error = "EGL cannot bind desktop OpenGL";
    Release();
    return false;
  }
  const EGLint pbuffer_attribs[] = {EGL_SURFACE_TYPE,
                                    EGL_PBUFFER_BIT,
                                    EGL_RENDERABLE_TYPE,
                                    EGL_OPENGL_BIT,
                                    EGL_RED_SIZE,
                                    8,
                                    EGL_GREEN_SIZE,
                                    8,
                                    EGL_BLUE_SIZE,
                                    8,
                                    EGL_ALPHA_SIZE,
                                    8,
                                    EGL_DEPTH_SIZE,
                                    16,
                                    EGL_NONE};
  const EGLint any_attribs[] = {EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT, EGL_NONE};
  EGLConfig config = nullptr;
  EGLint count = 0;
  const bool pbuffer_config =
      eglChooseConfig(dpy, pbuffer_attribs, &config, 1, &count) && count > 0;
  if (!pbuffer_config && !(eglChooseConfig(dpy, any_attribs, &config, 1, &count) && count > 0)) {
    error = "no EGL configuration for desktop OpenGL";
    Release();
    return false;
  }
  config_ = config;

  // No profile attributes: a legacy context, i.e. the compatibility profile.
  context_ = eglCreateContext(dpy, config, EGL_NO_CONTEXT, nullptr);
  if (!context_) {
    error = "eglCreateContext failed";
    Release();
    return false;
  }
  if (pbuffer_config) {
    const EGLint surface_attribs[] = {EGL_WIDTH, w, EGL_HEIGHT, h, EGL_NONE};
    surface_ = eglCreatePbufferSurface(dpy, config, surface_attribs);
  }
  if (!MakeCurrent()) {
    error = "eglMakeCurrent failed";
    Release();
    return false;
  }
  if (!surface_ && !CreateFramebuffer(error)) {
    Release();
    return false;
  }
  glViewport(0, 0, w, h);
  return true;
}

bool TEglContext::CreateFramebuffer(std::string& error) {
  auto gen_fb = Proc<PFnGen>("glGenFramebuffers");
  auto gen_rb = Proc<PFnGen>("glGenRenderbuffers");
  auto bind_fb = Proc<PFnBind>("glBindFramebuffer");
  auto bind_rb = Proc<PFnBind>("glBindRenderbuffer");
  auto storage = Proc<PFnStorage>("glRenderbufferStorage");
  auto attach = Proc<PFnAttach>("glFramebufferRenderbuffer");
  auto status = Proc<PFnStatus>("glCheckFramebufferStatus");
  if (!gen_fb || !gen_rb || !bind_fb || !bind_rb || !storage || !attach || !status) {
    error = "no pbuffer and no framebuffer objects";
    return false;
  }
  gen_fb(1, &fbo_);
  bind_fb(kFramebuffer, fbo_);
  gen_rb(1, &colour_rb_);
  bind_rb(kRenderbuffer, colour_rb_);
  storage(kRenderbuffer, GL_RGBA8, width_, height_);
  attach(kFramebuffer, kColorAttachment0, kRenderbuffer, colour_rb_);
  gen_rb(1, &depth_rb_);
  bind_rb(kRenderbuffer, depth_rb_);
  storage(kRenderbuffer, kDepthComponent24, width_, height_);
  attach(kFramebuffer, kDepthAttachment, kRenderbuffer, depth_rb_);
  if (status(kFramebuffer) != kFramebufferComplete) {
    error = "incomplete framebuffer object";
    return false;
  }
  glDrawBuffer(kColorAttachment0);
  glReadBuffer(kColorAttachment0);
  return true;
}

bool TEglContext::MakeCurrent() {
  if (!context_) return false;
  auto surface = static_cast<EGLSurface>(surface_ ? surface_ : EGL_NO_SURFACE);
  return eglMakeCurrent(display_, surface, surface, context_) == EGL_TRUE;
}

void TEglContext::DoneCurrent() {
  if (display_) eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
}

void TEglContext::Release() {
  if (!display_) return;
  if (context_ && fbo_ && MakeCurrent()) {
    auto del_fb = Proc<PFnDelete>("glDeleteFramebuffers");
    auto del_rb = Proc<PFnDelete>("glDeleteRenderbuffers");
    if (del_fb) del_fb(1, &fbo_);
    if (del_rb) {
      del_rb(1, &colour_rb_);
      del_rb(1, &depth_rb_);
    }
  }
  eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
  if (surface_) eglDestroySurface(display_, surface_);
  if (context_) eglDestroyContext(display_, context_);
  display_ = config_ = context_ = surface_ = nullptr;
  fbo_ = colour_rb_ = depth_rb_ = 0;
  width_ = height_ = 0;
}

void TEglContext::Finish() const {
  if (context_) glFinish();
}

std::vector<std::uint8_t> TEglContext::ReadPixels() const {
  std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width_) * height_ * 4);
  if (pixels.empty()) return pixels;
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glFinish();
  glReadPixels(0, 0, width_, height_, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
  return pixels;
}

std::vector<std::uint8_t> TEglContext::ReadPixelsTopDown() const {
  std::vector<std::uint8_t> up = ReadPixels();
  std::vector<std::uint8_t> down(up.size());
  const std::size_t row = static_cast<std::size_t>(width_) * 4;
  for (int y = 0; y < height_; ++y)
    std::memcpy(&down[static_cast<std::size_t>(y) * row],
                &up[static_cast<std::size_t>(height_ - 1 - y) * row], row);
  return down;
}
