// One classical fourth-order Runge-Kutta step for the balancing robots, with the
// stage buffers kept in the robot so that they show in its state.
#pragma once

#include <cstddef>

// derivatives(out, in) writes d(in)/dt into out.
template <std::size_t N, class TDerivatives>
void Rk4Step(double (&State)[N], double (&Stage)[N], double (&K1)[N], double (&K2)[N],
             double (&K3)[N], double (&K4)[N], double h, TDerivatives derivatives) {
  derivatives(K1, State);
  for (std::size_t i = 0; i < N; ++i)
    Stage[i] = State[i] + K1[i] * h / 2;
  derivatives(K2, Stage);
  for (std::size_t i = 0; i < N; ++i)
    Stage[i] = State[i] + K2[i] * h / 2;
  derivatives(K3, Stage);
  for (std::size_t i = 0; i < N; ++i)
    Stage[i] = State[i] + K3[i] * h;
  derivatives(K4, Stage);
  for (std::size_t i = 0; i < N; ++i)
    State[i] += ((K2[i] + K3[i]) * 2 + K1[i] + K4[i]) * h / 6;
}
