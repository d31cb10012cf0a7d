// Writes the help page at build time: the template (our own text) with the
// devices' part generated from their descriptions.
//   kinemo_make_help TEMPLATE OUTPUT
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <system_error>

#include "io/safe_output.h"
#include "sim/simulation.h"
#include "texts/help_devices.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: kinemo_make_help TEMPLATE OUTPUT\n";
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  const std::string page_template{std::istreambuf_iterator<char>(in), {}};
  if (!in) {
    std::cerr << "kinemo_make_help: cannot read " << argv[1] << "\n";
    return 1;
  }
  const TSimulation sim; // the program's own devices
  std::string page;
  if (!FillHelpTemplate(page_template, DeviceHelpHtml(sim), page)) {
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
