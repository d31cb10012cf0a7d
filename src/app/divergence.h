// Runaway integration. Parameters that the instruments accept one by one can
// together make a device's integration unstable at the chosen step (a short,
// heavily damped rod): its state then grows by orders of magnitude each tick
// and within a few ticks is no longer a number, which every later tick, the
// saved scenes and the drawing would carry on. The tick asks this after its
// sub-steps and puts such a device back in its initial state.
#pragma once

class TRobot;

// True when the device's state is no longer finite, or when one of its
// angles lies outside the interval its single wrap per step keeps it in,
// which only a turn of more than a whole revolution in one sub-step can do.
bool Diverged(const TRobot& robot);

// Puts a device that ran away back in its initial state (its Reset), with
// nothing of the runaway left in the values it keeps between steps.
void ResetRunaway(TRobot& robot);
