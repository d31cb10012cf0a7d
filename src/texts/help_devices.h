// The devices' part of the help page, written from their descriptions so that
// the page cannot drift from the program: for each device class of the set,
// its numbers, purpose, keys, live values and parameters. The rest of the page
// (camera keys, mouse, menus) is our own text in a template, where the line
// kHelpDevicesMarker stands for this part.
#pragma once

#include <string>

#include "texts/ts_catalogue.h"

class TSimulation;

inline constexpr const char* kHelpDevicesMarker = "<!-- APPAREILS -->";

// The HTML of the devices of `sim`'s set, grouped by class in set order: in
// French, or in English with the descriptions' texts from `english`.
std::string DeviceHelpHtml(const TSimulation& sim, const TCatalogue* english = nullptr);
// The template with its marker replaced by `devices`; false if it has no marker.
bool FillHelpTemplate(const std::string& page_template, const std::string& devices,
                      std::string& page);
