#pragma once
// The service control modules (dmServMonitor, dmServOrbenta, dmServIFood)
// and the food-ordering log module (dmAppFoodLog). The program creates them
// in the system's order between the dialog factory and the main window; the
// clean-up of local installations is the only part of the run that uses them
// (existence, state and stop).
#include "services/app_food_log.h"
#include "services/serv_ifood.h"
#include "services/serv_monitor.h"
#include "services/serv_orbenta.h"
#include "services/service_threads.h"
