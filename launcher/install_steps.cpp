#include "launcher/install_steps.h"

#include "launcher/run.h"

namespace vt {

std::string stepFor(std::string_view step, std::string_view subject) {
  const size_t colon = step.find(':');
  if (colon == std::string_view::npos) return std::string(step) + ":" + std::string(subject);
  return std::string(step.substr(0, colon + 1)) + std::string(subject) + std::string(step.substr(colon));
}

void reachedStep(VantorimRun& run, std::string_view step) {
  const auto& hook = run.state.stepReached;
  if (hook) hook(step);
}

} // namespace vt
