// The software OpenGL driver keeps a few small allocations per compiled display
// list past the context's end; they are the driver's, not ours, so the leak
// checker of sanitizer builds reports only the program's own allocations.
// Built into the program and the test programs of a sanitizer build.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:swrast_dri.so\nleak:libgallium\n";
}
