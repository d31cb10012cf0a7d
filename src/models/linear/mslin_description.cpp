// The synchronous carriage as its user sees it: keys, values, parameters.
#include "models/constants.h"
#include "models/device_description.h"
#include "models/device_keys.h"
#include "models/linear/mslin.h"

const TDeviceDescription& TMSlin::Describe() {
  static const TDeviceDescription kDescription{
      .Name = "Moteur linéaire synchrone",
      .Text =
          "Chariot d'un moteur linéaire synchrone triphasé au-dessus du rail à aimants. Trois "
          "capteurs de Hall lisent la polarité des aimants et donnent le secteur de commutation "
          "(1 à 6) et l'état des six interrupteurs de l'onduleur ; la force de propulsion est "
          "proportionnelle au courant de commande. Le chariot porte un pendule inversé qu'un "
          "régulateur PID maintient à sa consigne en pilotant ce courant, et se déplace le long "
          "de x entre deux butées.",
      .Commands =
          {{{vk::Letter('G')}, "pendule et régulateur marche / arrêt"},
           {{vk::Letter('E')},
            "dynamique marche / arrêt (vitesse remise à 0 ; à l'arrêt, glissement vers −x)"},
           {{vk::Letter('C')},
            "ouvre / ferme le journal capture.dat (écrit quand le moteur à réluctance est "
            "sélectionné)"},
           {{vk::Numpad(8), vk::Numpad(2)},
            "courant +/− 0,1 A, borné à ± le courant maximal",
            "ControllerOn",
            false},
           {{vk::Numpad(5)}, "courant nul", "ControllerOn", false},
           {{vk::Numpad(8), vk::Numpad(2)},
            "consigne du pendule +/− 6°, bornée à ± la consigne maximale",
            "ControllerOn",
            true},
           {{vk::Numpad(5)}, "consigne nulle", "ControllerOn", true},
           {{vk::Numpad(6), vk::Numpad(4)},
            "poussée sur le pendule vers +x / −x",
            "ControllerOn",
            true}},
      .Quantities = {{"PosX", "Position x", "m"},
                     {"VitX", "Vitesse x", "m/s"},
                     {"CurrentCmd", "Courant de commande", "A"},
                     {"Fx", "Force de propulsion", "N"},
                     {"Secteur", "Secteur de commutation"},
                     {"Dx", "Position sur la période des aimants", "m"},
                     {"HallA", "Capteur de Hall A"},
                     {"HallB", "Capteur de Hall B"},
                     {"HallC", "Capteur de Hall C"},
                     {"PendTheta", "Angle du pendule", "rad", kDeg, "°"},
                     {"PendOmega", "Vitesse angulaire du pendule", "rad/s", kDeg, "°/s"},
                     {"ThetaRef", "Consigne du pendule", "rad", kDeg, "°"},
                     {"ControllerOn", "Pendule et régulateur"},
                     {"DynamicsOn", "Dynamique"}},
      .Parameters = {{"Mass", "Masse du chariot", "kg", 1053 * 0.008 * 0.03, 0.01, 5, 0.01},
                     {"FluxDensity", "Induction des aimants", "T", 1.0, 0.1, 2, 0.05},
                     {"CurrentMax", "Courant maximal", "A", 2.0, 0.1, 10, 0.1},
                     {"PendLength", "Longueur du pendule", "m", 0.1, 0.02, 0.5, 0.01},
                     {"PendMass", "Masse du pendule", "kg", 0.2, 0.01, 2, 0.01},
                     {"PendDamping", "Amortissement du pivot", "N·m·s", 0.1, 0, 2, 0.01},
                     {"Kp", "Gain proportionnel Kp", "A/rad", 5.0, 0, 100, 0.5},
                     {"Ki", "Gain intégral Ki", "A/rad", 0.3, 0, 10, 0.05,
                      "A/rad par exécution du régulateur"},
                     {"Kd", "Gain dérivé Kd", "A/rad", 0, 0, 100, 0.1,
                      "A/(rad par exécution du régulateur)"},
                     {"ThetaRefMax", "Consigne maximale", "rad", kPi / 3, 0, 1.5, 0.05},
                     {"CtrlPeriod", "Période du régulateur", "pas", 3, 1, 100, 1}},
      .Inputs = {{"CurrentCmd", "Courant de commande", "A", "CurrentMax"},
                 {"ThetaRef", "Consigne du pendule", "rad", "ThetaRefMax"}},
  };
  return kDescription;
}

bool TMSlin::KeyDown(std::uint16_t key, bool, TDeviceKeyHost& host) {
  if (key == vk::Letter('G')) ControllerOn = !ControllerOn;
  if (key == vk::Letter('E')) {
    DynamicsOn = !DynamicsOn;
    VitX = 0;
  }
  if (key == vk::Letter('C') && !host.ToggleLog()) return false;
  if (!ControllerOn) {
    if (key == vk::Numpad(8)) RaiseWithin(CurrentCmd, 0.1, CurrentMax);
    if (key == vk::Numpad(2)) LowerWithin(CurrentCmd, 0.1, CurrentMax);
    if (key == vk::Numpad(5)) CurrentCmd = 0;
  } else {
    if (key == vk::Numpad(8)) RaiseWithin(ThetaRef, kSetPointStep, ThetaRefMax);
    if (key == vk::Numpad(2)) LowerWithin(ThetaRef, kSetPointStep, ThetaRefMax);
    if (key == vk::Numpad(5)) ThetaRef = 0;
    if (key == vk::Numpad(6)) PendOmega = 100;
    if (key == vk::Numpad(4)) PendOmega = -100;
  }
  return true;
}
