#include "models/robots/balancing_robot.h"

#include <cmath>

#include "models/constants.h"

double TBalancingRobot::WheelAngleAt(double travel, double r) {
  return travel / r - 2 * kPi * std::trunc(travel / (2 * kPi * r));
}
