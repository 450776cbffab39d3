#pragma once
// The built-in tour the simulator runs when given no scenario file.

namespace sim {
// The text of scenarios/tour.scenario, compiled into the simulator.
const char* tourScenario();
}  // namespace sim
