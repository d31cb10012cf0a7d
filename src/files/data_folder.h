// Where the program finds its data files (texture pictures, help page): a
// folder at a fixed place relative to the program's own folder, share/kinemo
// beside bin/ once installed. The build tree copies the files to the same
// place beside its src/, so one rule serves both, and an installed tree can be
// moved anywhere without ever reading the build or source tree.
#pragma once

#include <string>

// The running program's file: /proc/self/exe, else argv0 made absolute when it
// names a path; empty when neither tells.
std::string ExecutablePath(const char* argv0);

// The data folder of the program at `executable` (empty when that is empty).
std::string DataFolderOf(const std::string& executable);
