// The two-wheel robot as its user sees it.
#include "models/device_description.h"
#include "models/device_keys.h"
#include "models/robots/robot2.h"

const TDeviceDescription& TRobot2::Describe() {
  static const TDeviceDescription kDescription{
      .Name = "Robot 2 roues",
      .Text = "Robot à deux roues, base du robot 4 roues et du robot K. Il dérive à vitesse "
              "constante le long de l'axe y, quel que soit son cap. Ses dimensions sont celles de "
              "toutes les roues, essieux et caisses dessinés.",
      .Commands = {{{vk::Letter('B')}, "vitesse 0,1 m/s ou arrêt"}},
      .Quantities = {{"PosX", "Position x", "m"},
                     {"PosY", "Position y", "m"},
                     {"VitY", "Vitesse y", "m/s"}},
  };
  return kDescription;
}

bool TRobot2::KeyDown(std::uint16_t key, bool, TDeviceKeyHost&) {
  if (key == vk::Letter('B')) VitY = 0.1 - VitY;
  return true;
}
