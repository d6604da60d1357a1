#pragma once
// The service control modules (dmServMonitor, dmServOrbenta, dmServIFood)
// and the food-ordering log module (dmAppFoodLog). The program creates them
// in the system's order between the dialog factory and the main window; the
// clean-up of local installations is the only part of the run that will use
// them. They hold nothing yet.

namespace vt {

class TdmServMonitor {
public:
  TdmServMonitor() = default;
  TdmServMonitor(const TdmServMonitor&) = delete;
  TdmServMonitor& operator=(const TdmServMonitor&) = delete;
};

class TdmAppFoodLog {
public:
  TdmAppFoodLog() = default;
  TdmAppFoodLog(const TdmAppFoodLog&) = delete;
  TdmAppFoodLog& operator=(const TdmAppFoodLog&) = delete;
};

class TdmServOrbenta {
public:
  TdmServOrbenta() = default;
  TdmServOrbenta(const TdmServOrbenta&) = delete;
  TdmServOrbenta& operator=(const TdmServOrbenta&) = delete;
};

class TdmServIFood {
public:
  TdmServIFood() = default;
  TdmServIFood(const TdmServIFood&) = delete;
  TdmServIFood& operator=(const TdmServIFood&) = delete;
};

} // namespace vt
