// libFuzzer target: scene files. The reader checks the text against a window
// without changing it; a scene it accepts is applied to a fresh window, which
// then runs a few ticks, as opening it from the menu would.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/headless/headless_toolkit.h"
#include "sim/scene.h"
#include "sim/state_json.h"
#include "window/gl_form.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static THeadlessToolkit tk;
  static TGL_Form* reference = new TGL_Form(tk); // kept: the reader must not change it
  static const std::string before = StateJson(*reference);
  if (size > kMaxSceneBytes) return 0;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  TScene scene;
  std::string error;
  if (!ParseScene(text, *reference, scene, error)) {
    if (error.empty() || !scene.Values.empty()) std::abort();
    return 0;
  }
  {
    THeadlessToolkit run_tk;
    TGL_Form form(run_tk);
    TScene own;
    if (!ParseScene(text, form, own, error)) std::abort(); // same device set, same verdict
    form.ApplyScene(own);
    for (int k = 0; k < 5; ++k)
      form.Timer1Timer();
    // What was opened saves and opens again.
    TScene again;
    if (!ParseScene(StateJson(form), form, again, error)) std::abort();
    form.FormClose();
  }
  if (StateJson(*reference) != before) std::abort();
  return 0;
}
