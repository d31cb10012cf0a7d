// The switched-reluctance carriage as its user sees it: keys, values, parameters.
#include "models/constants.h"
#include "models/device_description.h"
#include "models/device_keys.h"
#include "models/linear/mrvlin.h"
#include "models/status_part.h"

const TDeviceDescription& TMRVlin::Describe() {
  static const TDeviceDescription kDescription{
      .Name = "Moteur linéaire à réluctance variable",
      .Text =
          "Chariot d'un moteur linéaire triphasé à réluctance variable qui court sur le rail "
          "denté. Une seule phase est alimentée à la fois : son pôle est attiré vers la dent la "
          "plus proche, et la phase change à la fréquence d'alimentation (second curseur de la "
          "barre d'outils), si bien que le chariot avance d'une largeur de dent par changement. "
          "Les forces suivent l'un des trois modèles choisis dans Options MRV / rail. Flèches : "
          "vitesse (vert), force de propulsion (rouge), force normale (bleu), résultante "
          "(magenta).",
      .Commands =
          {{{vk::Letter('G')}, "alimentation des phases marche / arrêt"},
           {{vk::Letter('E')},
            "dynamique marche / arrêt (vitesse x remise à 0 ; à l'arrêt, glissement lent vers −x)"},
           {{vk::Letter('C')}, "ouvre / ferme le journal capture.dat"}},
      .Quantities = {{"PosX", "Position x", "m"},
                     {"PosY", "Position y", "m"},
                     {"Vit", "Vitesse", "m/s"},
                     {"Theta", "Cap", "rad", kDeg, "°"},
                     {"Phase", "Phase alimentée"},
                     {"Dx", "Écart pôle – dent", "m"},
                     {"OverlapX", "Recouvrement pôle – dent", "m"},
                     {"Fx", "Force de propulsion Fx", "N"},
                     {"Fy", "Force de guidage Fy", "N"},
                     {"Fz", "Force normale Fz", "N"},
                     {"ForceCoef", "Coefficient de force K", "N"},
                     {"ForceModel", "Modèle des forces (1 à 3)"},
                     {"SupplyOn", "Alimentation des phases"},
                     {"DynamicsOn", "Dynamique"}},
      .Parameters = {{"Mass", "Masse du chariot", "kg", 1209 * 0.008 * 0.03, 0.01, 5, 0.01},
                     {"AirGap0", "Entrefer", "m", 0.001, 0.0002, 0.005, 0.0001},
                     {"Current", "Courant des enroulements", "A", 2.0, 0, 10, 0.1}},
  };
  return kDescription;
}

bool TMRVlin::KeyDown(std::uint16_t key, bool, TDeviceKeyHost& host) {
  if (key == vk::Letter('G')) SupplyOn = !SupplyOn;
  if (key == vk::Letter('E')) {
    DynamicsOn = !DynamicsOn;
    VitX = 0;
  }
  return !(key == vk::Letter('C') && !host.ToggleLog());
}

void TMRVlin::StatusPart(const TStatusContext& context, TStatusPart& part) const {
  part.Add(", fs:", context.Fs);
  part.AddWhole(", DemoPhase:", context.DemoPhase);
  part.AddWhole(", DemoStep:", context.DemoStep);
}
