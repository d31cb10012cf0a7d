// Writes the help page at build time: the template (our own text) with the
// devices' part generated from their descriptions: in French, or in English
// with the translations of the catalogue given.
//   kinemo_make_help TEMPLATE OUTPUT [CATALOGUE.ts]
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <system_error>

#include "io/safe_output.h"
#include "sim/simulation.h"
#include "texts/help_devices.h"

int main(int argc, char** argv) {
  if (argc != 3 && argc != 4) {
    std::cerr << "usage: kinemo_make_help TEMPLATE OUTPUT [CATALOGUE.ts]\n";
    return 2;
  }
  auto read = [](const char* path, std::string& text) {
    std::ifstream in(path, std::ios::binary);
    text.assign(std::istreambuf_iterator<char>(in), {});
    if (!in) std::cerr << "kinemo_make_help: cannot read " << path << "\n";
    return static_cast<bool>(in);
  };
  std::string page_template, catalogue_text;
  if (!read(argv[1], page_template) || (argc == 4 && !read(argv[3], catalogue_text))) return 1;
  TCatalogue english;
  if (argc == 4 && !ReadCatalogue(catalogue_text, "Devices", english)) {
    std::cerr << "kinemo_make_help: " << argv[3] << " has no Devices context\n";
    return 1;
  }
  const TSimulation sim; // the program's own devices
  std::string page;
  if (!FillHelpTemplate(page_template, DeviceHelpHtml(sim, argc == 4 ? &english : nullptr), page)) {
    std::cerr << "kinemo_make_help: " << argv[1] << " has no " << kHelpDevicesMarker << "\n";
    return 1;
  }
  if (const int error = WriteFileSafely(argv[2], page); error != 0) {
    std::cerr << "kinemo_make_help: cannot write " << argv[2] << ": "
              << std::generic_category().message(error) << "\n";
    return 1;
  }
  return 0;
}
