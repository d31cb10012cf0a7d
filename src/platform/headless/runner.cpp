#include "platform/headless/runner.h"

#include <cstdio>
#include <fstream>
#include <sstream>

#include "app/gl_form.h"
#include "app/state_json.h"
#include "platform/headless/actions.h"
#include "platform/headless/headless_toolkit.h"

namespace {

struct TOptions {
  std::vector<TAction> Actions;
  std::string StateFile;
};

bool ParseArgs(const std::vector<std::string>& args, TOptions& opt, std::string& error) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    auto value = [&](std::string& into) {
      if (i + 1 >= args.size()) {
        error = arg + " needs a value";
        return false;
      }
      into = args[++i];
      return true;
    };
    if (arg == "--headless") continue;
    if (arg == "--do") {
      std::string list;
      if (!value(list)) return false;
      std::istringstream in(list);
      std::string word;
      while (in >> word) {
        const TAction a = ParseAction(word);
        if (!ValidateAction(a, error)) return false;
        opt.Actions.push_back(a);
      }
    } else if (arg == "--state") {
      if (!value(opt.StateFile)) return false;
    } else {
      error = "unknown argument: " + arg;
      return false;
    }
  }
  return true;
}

bool WriteFile(const std::string& path, const std::string& content, std::string& error) {
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  if (f) f << content;
  if (f) f.flush();
  if (!f) {
    error = "cannot write " + path;
    return false;
  }
  return true;
}

} // namespace

int RunHeadless(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  TOptions opt;
  std::string error;
  if (!ParseArgs(args, opt, error)) {
    err << "kinemo: " << error << "\n";
    return 2;
  }

  THeadlessToolkit tk;
  tk.Echo = &out;
  TGL_Form form(tk);

  for (const TAction& a : opt.Actions) {
    ApplyAction(form, tk, a);
    char line[160];
    std::snprintf(line, sizeof line, "%-16s t=%.6g s  timer %s  selected %d\n", a.Text.c_str(),
                  form.SimTime, form.Timer1.Enabled ? "running" : "paused", form.RobSel);
    out << line;
  }

  for (const TRobot* r : *form.Robots) {
    char line[160];
    std::snprintf(line, sizeof line, "  %d %-12s x=%+.4f y=%+.4f theta=%+.4f\n", r->Index,
                  r->ClassName(), r->PosX, r->PosY, r->Theta);
    out << line;
  }

  if (!opt.StateFile.empty() && !WriteFile(opt.StateFile, StateJson(form), error)) {
    err << "kinemo: " << error << "\n";
    return 1;
  }
  return 0;
}
