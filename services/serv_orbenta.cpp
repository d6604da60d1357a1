#include "services/serv_orbenta.h"

#include "services/app_food_log.h"
#include "services/food_service_common.h"
#include "services/service_threads.h"

namespace vt {

bool TdmServOrbenta::servicoExiste(std::string_view AServico) { return services::serviceKeyOpens(AServico); }

void TdmServOrbenta::logOperation(Operation operation, const std::string* error) {
  dmAppFoodLog_.logAppFood(1, "", services::foodLogDescription(static_cast<int>(operation), error));
}

std::unique_ptr<ServiceThread> TdmServOrbenta::makeWorker() {
  auto thread = std::make_unique<ThreadServicoOrbenta>(*this);
  fThreadOrbenta = thread.get();
  return thread;
}

} // namespace vt
