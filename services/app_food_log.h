#pragma once
// TdmAppFoodLog (instance dmAppFoodLog): the daily log of the two
// food-ordering integrations, iFood and Orbenta, under C:\Quorvelin\logs\.
#include <string_view>

namespace vt::platform {
class Clock;
}

namespace vt {

class TdmAppFoodLog {
public:
  explicit TdmAppFoodLog(platform::Clock& clock) : clock_(clock) {}
  TdmAppFoodLog(const TdmAppFoodLog&) = delete;
  TdmAppFoodLog& operator=(const TdmAppFoodLog&) = delete;

  // Appends one line with fixed-width columns to the day's file of the
  // integration (0 iFood: logs\ifood\LogIFood_<ddmmyyyy>.txt; 1 Orbenta:
  // logs\orbenta\LogOrbenta_<ddmmyyyy>.txt): date " - " time to 26
  // characters, "Vantorim" to 20, AIdPedido to 17, then ADescricao. Any other
  // integration writes nothing. Every error is dropped: the line is lost.
  void logAppFood(int AAppFood, std::string_view AIdPedido, std::string_view ADescricao);

private:
  platform::Clock& clock_;
};

} // namespace vt
